#pragma once
// The package path editor's class and control ids; the end-to-end tests find the window and its controls by
// them.
namespace velmora::path_editor {

inline constexpr wchar_t kClassName[] = L"VelmoraPathEditor";

enum ControlId : int {
    kFolderGroup = 200,
    kFolderBox = 201,
    kBrowse = 202,
    kNote = 203,
    kProgress = 204,  // shown only while the folder is read or the new paths are saved
    kFindGroup = 205,
    kFindLabel = 206,
    kFindBox = 207,
    kReplaceLabel = 208,
    kReplaceBox = 209,
    kReplace = 210,
    kSaveGroup = 211,
    kSaveHint = 212,
    kSave = 213,
    kStatsGroup = 214,
    kTotalCaption = 215,
    kTotal = 216,
    kChangedCaption = 217,
    kChanged = 218,
    kToSaveCaption = 219,
    kToSave = 220,
    kTable = 221,  // report list: name, stored path, new path; a check box per row, changed rows in bold
    kStatus = 222,
};

}  // namespace velmora::path_editor
