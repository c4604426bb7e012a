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

// The name of the marker that only one running instance may hold. Not the plain "Velmora" of older builds,
// which any program of the user could make first.
inline constexpr const char* kInstanceName = "Velmora Runwright instance";

// What the shell does once start-up is over.
enum class StartupOutcome {
    SecondInstance,  // another instance runs; the message is shown, end the process at once
    // Another instance runs and this start is unattended ("/inst" with a scenario, "/resume"): nobody would
    // close a message, so its report says why instead and the process ends at once with
    // kInstanceHeldExitCode (app/UnattendedRun.h). The state holds what the report needs.
    InstanceHeld,
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

// True when the program runs from a CD-ROM or removable drive; a network path is neither.
bool IsRemovableStart(SystemInfo& system);

// The whole sequence, strictly in order: single instance, path variables, the disc settings file (only on
// removable media), the language name, the command line, and the language unless a direct run was started.
// The single-instance marker is taken first and stays held until the main window releases it (a direct run
// holds it to its end). When another instance holds it, the command line is still read, but into a state of
// its own and with nothing stored, only to tell a person (SecondInstance, after the message) from an
// unattended start (InstanceHeld, without one).
// folderScenarios lists a folder's scenarios for "/inst" (FolderScenarioPaths); without it a folder is no
// run.
StartupOutcome Main(StartupPorts& ports, SharedState& state, PathVariables& pathVars, Language& language,
                    const std::function<std::vector<std::string>(const std::string&)>& folderScenarios = {});

}  // namespace velmora
