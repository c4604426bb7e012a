#pragma once
// The disc settings file "velmora.ini" beside the program and its copy into the per-user store.
#include <string>

#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/ProfileFile.h"
#include "platform/SettingsStore.h"
#include "startup/PathVariables.h"

namespace velmora {

// The path of "velmora.ini" beside the program.
std::string IniFilePath(const std::string& programFolder);

struct IniReadResult {
    std::string iniStatus;  // the status text when the file is missing, else empty
    std::string language;   // the file's Language key (start-up replaces it with the per-user value)
};

// Copies the disc settings into the per-user store. Called only when the program runs from removable media.
IniReadResult ReadIniSettings(const std::string& programFolder, FileSystem& files, ProfileFile& profile,
                              SettingsStore& settings, const PathVariables& pathVars);

// Writes one key of section General; an empty key or value writes nothing. A failed write is reported.
void WriteIniSetting(const std::string& programFolder, const std::string& key, const std::string& value,
                     ProfileFile& profile, Dialogs& dialogs);

}  // namespace velmora
