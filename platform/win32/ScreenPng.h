#pragma once
// What the screen shows, as the bytes of a PNG file.
#include <optional>
#include <string>

namespace velmora {

// The whole virtual screen (every monitor); nothing when it could not be captured or encoded. Where no screen
// shows the program's desktop (a window station of its own, a service's), the picture is made of that
// desktop's windows, each drawn by itself where the screen would show it.
std::optional<std::string> CaptureScreenAsPng();

}  // namespace velmora
