#include "platform/win32/CommonControls.h"

#include "platform/win32/SystemLibrary.h"

namespace velmora {

bool InitCommonControls(DWORD classes) {
    static const auto init =
        SystemFunction<decltype(InitCommonControlsEx)>(L"comctl32.dll", "InitCommonControlsEx");
    const INITCOMMONCONTROLSEX controls{sizeof controls, classes};
    return init != nullptr && init(&controls);
}

bool SetSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data) {
    static const auto set = SystemFunction<decltype(SetWindowSubclass)>(L"comctl32.dll", "SetWindowSubclass");
    return set != nullptr && set(window, procedure, id, data);
}

LRESULT DefSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Only a window that SetSubclass subclassed calls here, so the function was found.
    static const auto next = SystemFunction<decltype(DefSubclassProc)>(L"comctl32.dll", "DefSubclassProc");
    return next(window, message, wParam, lParam);
}

}  // namespace velmora
