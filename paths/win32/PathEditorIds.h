#pragma once
// The package path editor's class and control ids; the end-to-end tests find the window and its controls by
// them.
namespace velmora::path_editor {

inline constexpr wchar_t kClassName[] = L"VelmoraPathEditor";

inline constexpr int kFolderGroup = 200;
inline constexpr int kFolderBox = 201;
inline constexpr int kBrowse = 202;
inline constexpr int kNote = 203;
inline constexpr int kProgress = 204;  // shown only while the folder is read or the new paths are saved
inline constexpr int kFindGroup = 205;
inline constexpr int kFindLabel = 206;
inline constexpr int kFindBox = 207;
inline constexpr int kReplaceLabel = 208;
inline constexpr int kReplaceBox = 209;
inline constexpr int kReplace = 210;
inline constexpr int kSaveGroup = 211;
inline constexpr int kSaveHint = 212;
inline constexpr int kSave = 213;
inline constexpr int kStatsGroup = 214;
inline constexpr int kTotalCaption = 215;
inline constexpr int kTotal = 216;
inline constexpr int kChangedCaption = 217;
inline constexpr int kChanged = 218;
inline constexpr int kToSaveCaption = 219;
inline constexpr int kToSave = 220;
// The report list: name, stored path, new path; a check box per row, changed rows in bold.
inline constexpr int kTable = 221;
inline constexpr int kStatus = 222;

}  // namespace velmora::path_editor
