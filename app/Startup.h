#pragma once
// The start-up sequence that runs before any window: single instance, path variables, the disc settings
// file, the language and the command line.
#include <functional>
#include <string>
#include <vector>

#include "base/Language.h"
#include "base/PathVariables.h"
#include "base/SharedState.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/InstanceLock.h"
#include "platform/ProfileFile.h"
#include "platform/Registry.h"
#include "platform/SettingsStore.h"
#include "platform/SystemInfo.h"

namespace velmora {

// The name of the marker that only one running instance may hold.
inline constexpr const char* kInstanceName = "Velmora";

// What the shell does once start-up is over.
enum class StartupOutcome {
    SecondInstance,  // another instance runs; the message is shown, end the process at once
    ShowMainWindow,  // open the main window
    DirectRun,       // "/inst" named a scenario: open the control panel, never the main window
    Resume,          // "/resume": take the resume record and go on with its run, never the main window
};

struct StartupPorts {
    InstanceLock& instanceLock;
    SystemInfo& system;
    FileSystem& files;
    ProfileFile& profile;
    SettingsStore& settings;
    Registry& registry;
    Dialogs& dialogs;
};

// Takes the single-instance marker. When another instance holds it, says so in a message box and answers
// false. The marker stays held until the main window releases it.
bool EnsureSingleInstance(InstanceLock& lock, Dialogs& dialogs);

// True when the program runs from a CD-ROM or removable drive; a network path is neither.
bool IsRemovableStart(SystemInfo& system);

// The whole sequence, strictly in order: single instance, path variables, the disc settings file (only on
// removable media), the language name, the command line, and the language unless a direct run was started.
// folderScenarios lists a folder's scenarios for "/inst" (FolderScenarioPaths); without it a folder is no
// run.
StartupOutcome Main(StartupPorts& ports, SharedState& state, PathVariables& pathVars, Language& language,
                    const std::function<std::vector<std::string>(const std::string&)>& folderScenarios = {});

}  // namespace velmora
