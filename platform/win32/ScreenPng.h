#pragma once
// What the screen shows, as the bytes of a PNG file.
#include <optional>
#include <string>

namespace velmora {

// The whole virtual screen (every monitor); nothing when it could not be captured or encoded.
std::optional<std::string> CaptureScreenAsPng();

}  // namespace velmora
