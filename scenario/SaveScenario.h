#pragma once
#include <string>

#include "base/Language.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "scenario/ScenarioImage.h"

namespace velmora {

// Writes the image (already scrambled) to `path`. When the write fails the user is told and may choose
// another place, as often as it takes; `path` becomes the place finally written. False when the user gave
// up and nothing was saved.
bool SaveScenarioFile(const ScenarioImage& image, FileSystem& files, Dialogs& dialogs,
                      const Language& language, WindowId owner, std::string& path,
                      const std::string& scnFolder);

}  // namespace velmora
