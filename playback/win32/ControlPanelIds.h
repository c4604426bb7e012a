#pragma once
// The control panel's window class and control ids; the end-to-end tests find and press its controls by them.
namespace velmora::panel_window {

inline constexpr wchar_t kClassName[] = L"VelmoraControlPanel";

enum ControlId : int {
    kLogo = 10,
    kCaption = 11,
    kAction = 12,
    kSeparator = 13,
    kCounter = 14,  // "2/5": the package being played and how many there are
    kPlay = 15,
    kPause = 16,
    kStop = 17,
    kNext = 18,
    kStatus = 19,  // the status line, in the options area below the visible strip
    // The options area, shown below the strip while a recording is paused.
    kPasteButton = 20,
    kBrowseButton = 21,
    kProgramsPanelButton = 22,
    kCancelTextButton = 23,  // resumes without the captured text
    kAutoReplaceBox = 24,
    kFilterBox = 25,
    kCapturedText = 26,
};

// Commands of the paste menus that the paste and browse buttons open.
enum PasteCommand : int {
    kPasteClipboard = 100,
    kPasteProgramFiles,
    kPasteUserName,
    kPasteTemp,
    kPasteFile,
    kPasteFolder,
};

// Timer ids (SetTimer on the panel window).
enum TimerId : unsigned {
    kBlinkTimer = 1,        // the caption blinks while recording
    kStepTimer = 2,         // the player's step timer
    kNextPackageTimer = 3,  // starts the next scenario
};

}  // namespace velmora::panel_window
