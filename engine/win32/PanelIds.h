#pragma once
// The control panel's window class and control ids; the end-to-end tests find and press its controls by them.
namespace velmora::panel_window {

inline constexpr wchar_t kClassName[] = L"VelmoraControlPanel";

enum ControlId : int {
    kLogo = 10,     // imgLogo
    kCaption = 11,  // lblCaption
    kAct = 12,      // lblAct
    kLine = 13,     // Line7
    kCounter = 14,  // lblKolvoProg
    kPlay = 15,     // imgPlay
    kPause = 16,    // imgPause
    kStop = 17,     // imgStop
    kNext = 18,     // imgPlayNext
    kStatus = 19,   // lblStatus (options area, below the visible strip)
};

// Timer ids (SetTimer on the panel window).
enum TimerId : unsigned {
    kTimer1 = 1,   // caption blink while recording
    kTmrDo = 2,    // the player's step timer
    kTmrExit = 3,  // starts the next scenario
};

}  // namespace velmora::panel_window
