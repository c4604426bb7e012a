#pragma once
// The main window's class name and control ids; the end-to-end tests find the window and its texts by them.
namespace velmora {

inline constexpr wchar_t kMainWindowClass[] = L"VelmoraRunwrightMain";

enum MainControlId : int {
    kIdSwitchesLine = 1001,  // the command-line switches that were accepted
    kIdStatusLine = 1002,    // the status line
};

}  // namespace velmora
