#pragma once
// Everything the running program is made of, built once by wWinMain and handed to the windows it opens:
// the ports to the system and the state that start-up leaves behind.
#include "base/Language.h"
#include "base/PathVariables.h"
#include "base/SharedState.h"
#include "platform/Clock.h"
#include "platform/Codec.h"
#include "platform/DesktopInfo.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/InstanceLock.h"
#include "platform/LogonTasks.h"
#include "platform/ProfileFile.h"
#include "platform/ProtectedFiles.h"
#include "platform/Registry.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"
#include "platform/SystemInfo.h"
#include "platform/SystemRestart.h"
#include "platform/WindowSystem.h"

namespace velmora {

struct Program {
    InstanceLock& instanceLock;
    SystemInfo& system;
    FileSystem& files;
    ProfileFile& profile;
    SettingsStore& settings;
    Registry& registry;
    Dialogs& dialogs;
    Shell& shell;
    Clock& clock;
    Codec& codec;
    WindowSystem& windows;
    SharedState& state;
    PathVariables& pathVars;
    Language& language;
    LogonTasks& logonTasks;
    SystemRestart& restart;
    DesktopInfo& desktop;
    ProtectedFiles& vault;
};

}  // namespace velmora
