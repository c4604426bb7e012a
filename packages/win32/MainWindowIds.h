#pragma once
// The main window's class name, control ids and menu command ids; the end-to-end tests find the window, its
// controls and its commands by them.
namespace velmora::main_window {

inline constexpr wchar_t kClassName[] = L"VelmoraRunwrightMain";
inline constexpr int kSwitchesLine = 1001;  // the command-line switches that were accepted
inline constexpr int kStatusLine = 1002;
inline constexpr int kFolderFrame = 1003;
inline constexpr int kFolderBox = 1004;
inline constexpr int kBrowseFolder = 1005;
inline constexpr int kPackageList = 1006;
inline constexpr int kMoveUp = 1007;
inline constexpr int kMoveDown = 1008;
inline constexpr int kCountLine = 1009;

// A menu command's id is kFirstCommandId plus its MainCommand value; the language menu's items follow from
// kFirstLanguageId in the order of the language files.
inline constexpr int kFirstCommandId = 40000;
inline constexpr int kFirstLanguageId = 41000;
inline constexpr int kLastLanguageId = 41999;

}  // namespace velmora::main_window
