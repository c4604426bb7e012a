#pragma once
// The common controls, bound on first use instead of imported: loading comctl32 starts the display driver
// and the theme, which a direct run would otherwise pay before its first installer starts, where the two
// can share the machine once it has. The manifest's dependency still takes it from the side-by-side store.
#include "platform/win32/Win32.h"

#include <commctrl.h>

namespace velmora {

// InitCommonControlsEx for these classes; false when the controls cannot be loaded.
bool InitCommonControls(DWORD classes);
// SetWindowSubclass and DefSubclassProc.
bool SetSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data);
LRESULT DefSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace velmora
