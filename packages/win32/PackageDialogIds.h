#pragma once
// The package dialog's class and the ids of its controls; the end-to-end tests find and fill it by them.
#include "platform/win32/Win32.h"

namespace velmora::package_dialog {

inline constexpr wchar_t kClassName[] = L"VelmoraPackageDialog";
inline constexpr int kOk = IDOK;
inline constexpr int kCancel = IDCANCEL;
// The four boxes, numbered in the order of PackageField.
inline constexpr int kName = 100;
inline constexpr int kPath = 101;
inline constexpr int kCommandLine = 102;
inline constexpr int kDescription = 103;
inline constexpr int kBrowse = 104;
inline constexpr int kAutoReplace = 105;
inline constexpr int kCounter = 106;
inline constexpr int kNameLabel = 110;
inline constexpr int kPathLabel = 111;
inline constexpr int kCommandLineLabel = 112;
inline constexpr int kDescriptionLabel = 113;

}  // namespace velmora::package_dialog
