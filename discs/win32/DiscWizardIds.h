#pragma once
// The disc wizard's class and control ids; the end-to-end tests find the window and drive it by them.
namespace velmora::disc_wizard {

inline constexpr wchar_t kClassName[] = L"VelmoraDiscWizard";
inline constexpr int kNext = 1;    // IDOK, so Enter presses it
inline constexpr int kCancel = 2;  // IDCANCEL, so Escape presses it
inline constexpr int kBack = 100;
// Page 0
inline constexpr int kDestinationBrowse = 110;
inline constexpr int kDestinationLine = 111;
// Page 1
inline constexpr int kSourceBrowse = 120;
inline constexpr int kSourceLine = 121;
inline constexpr int kCountLine = 122;
inline constexpr int kDiagnosisLine = 123;
inline constexpr int kSpeedList = 124;
// Page 2
inline constexpr int kSummarySource = 130;
inline constexpr int kSummaryDestination = 131;
inline constexpr int kSummaryProgram = 132;
// Page 3
inline constexpr int kLog = 140;
inline constexpr int kProgress = 141;
// Page 4
inline constexpr int kTip = 150;

}  // namespace velmora::disc_wizard
