#pragma once
// The Win32 side of a run on a desktop of its own (app/OwnDesktop.h).
#include <optional>

namespace velmora {

// Whether this process runs on a window station that a run made for itself. A caller who made a station of
// that name and started the program on it gains nothing: the run then plays by window messages where it
// stands, as any run on a station no screen shows does.
bool OnOwnDesktop();

// Makes a window station and a desktop that only SYSTEM and administrators may open, starts this program
// there again with the same command line and working folder, waits for it and answers its exit code. Nothing
// when the station or desktop cannot be made or the program not be started there, with the system's error
// number in `error`.
std::optional<int> RunAgainOnOwnDesktop(unsigned long& error);

}  // namespace velmora
