#pragma once
#include "base/Language.h"
#include "platform/win32/Win32.h"

namespace velmora {

// Shows the about window modally: the owner (if any) is disabled until it closes. A click on the window or
// any of its texts closes it, as do Escape and Enter; a click on an address opens it with the shell. The
// icons come from `resources`, the program's own module when null.
void ShowAbout(HWND owner, const Language& language, HINSTANCE resources = nullptr);

}  // namespace velmora
