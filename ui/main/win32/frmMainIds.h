#pragma once
// The main window's class name and control ids; the end-to-end tests find the window and its texts by them.
namespace velmora {

inline constexpr wchar_t kMainWindowClass[] = L"VelmoraRunwrightMain";

enum MainControlId : int {
    kIdLblCommand = 1001,  // the command-line switches that were accepted
    kIdLblStatus = 1002,   // the status line
};

}  // namespace velmora
