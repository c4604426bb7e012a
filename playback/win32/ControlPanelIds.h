#pragma once
// The control panel's window class and control ids; the end-to-end tests find and press its controls by them.
#include "platform/win32/Win32.h"

namespace velmora::panel_window {

inline constexpr wchar_t kClassName[] = L"VelmoraControlPanel";

inline constexpr int kLogo = 10;
inline constexpr int kCaption = 11;
inline constexpr int kAction = 12;
inline constexpr int kSeparator = 13;
inline constexpr int kCounter = 14;  // "2/5": the package being played and how many there are
inline constexpr int kPlay = 15;
inline constexpr int kPause = 16;
inline constexpr int kStop = 17;
inline constexpr int kNext = 18;
inline constexpr int kStatus = 19;  // the status line, in the options area below the visible strip
// The options area, shown below the strip while a recording is paused.
inline constexpr int kPasteButton = 20;
inline constexpr int kBrowseButton = 21;
inline constexpr int kProgramsPanelButton = 22;
inline constexpr int kCancelTextButton = 23;  // resumes without the captured text
inline constexpr int kAutoReplaceBox = 24;
inline constexpr int kFilterBox = 25;
inline constexpr int kCapturedText = 26;

// Commands of the paste menus that the paste and browse buttons open.
inline constexpr int kPasteClipboard = 100;
inline constexpr int kPasteProgramFiles = 101;
inline constexpr int kPasteUserName = 102;
inline constexpr int kPasteTemp = 103;
inline constexpr int kPasteFile = 104;
inline constexpr int kPasteFolder = 105;

// Timer ids (SetTimer on the panel window).
inline constexpr UINT_PTR kBlinkTimer = 1;        // the caption blinks while recording
inline constexpr UINT_PTR kStepTimer = 2;         // the player's step timer
inline constexpr UINT_PTR kNextPackageTimer = 3;  // starts the next scenario
inline constexpr UINT_PTR kQuickTryTimer = 4;     // the player's quick tries of a step between its ticks

}  // namespace velmora::panel_window
