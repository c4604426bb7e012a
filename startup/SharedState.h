#pragma once
// The program's shared state: the values that start-up, the main window, the properties dialog and the
// control panel hand to each other. One instance lives in the running program; tests make their own.
#include <string>
#include <vector>

#include "platform/Types.h"

namespace velmora {

struct SharedState {
    // Start-up results.
    bool g_DirectRun = false;
    bool g_NoStatistics = false;
    std::string g_CommandSwitches;
    std::string g_IniStatus;

    // Run hand-over: element 0 is always empty and is never run.
    std::vector<std::string> g_RunList{std::string{}};
    std::string g_CurrentScn;
    bool g_RecordMode = false;

    // Recording hand-over.
    std::string g_PackageName;
    std::string g_InstallerPath;
    std::string g_CommandLine;
    std::string g_Description;

    std::string g_ScnFolder;
    std::string g_LastFileTitle;

    WindowId g_LastWnd = 0;
    int g_MouseScaleX = 0;
    int g_MouseScaleY = 0;
};

}  // namespace velmora
