#pragma once
#include <optional>
#include <string>
#include <vector>

#include "packages/PackageDialogModel.h"
#include "platform/win32/Win32.h"

namespace velmora {

// Shows the package dialog modally over `owner` (disabled until it closes). listedNames are the main
// window's packages; in properties mode listedName is the package shown. Answers nothing when the user
// cancelled or closed it; otherwise, in new mode, the name to record (the recording hand-over of the shared
// state is filled), and in properties mode the name the package's file has now, or empty when nothing was
// written.
std::optional<std::string> ShowPackageDialog(HWND owner, const PackageDialogPorts& ports,
                                             PackageDialogMode mode, std::vector<std::string> listedNames,
                                             const std::string& listedName = {});

}  // namespace velmora
