#pragma once
// The main window's class name, control ids and menu command ids; the end-to-end tests find the window, its
// controls and its commands by them.
namespace velmora {

inline constexpr wchar_t kMainWindowClass[] = L"VelmoraRunwrightMain";

enum MainControlId : int {
    kIdSwitchesLine = 1001,  // the command-line switches that were accepted
    kIdStatusLine = 1002,
    kIdFolderFrame = 1003,
    kIdFolderBox = 1004,
    kIdBrowseFolder = 1005,
    kIdPackageList = 1006,
    kIdMoveUp = 1007,
    kIdMoveDown = 1008,
    kIdCountLine = 1009,
};

// A menu command's id is kFirstCommandId plus its MainCommand value; the language menu's items follow from
// kFirstLanguageId in the order of the language files.
inline constexpr int kFirstCommandId = 40000;
inline constexpr int kFirstLanguageId = 41000;
inline constexpr int kLastLanguageId = 41999;

}  // namespace velmora
