#pragma once
// The program's shared state: the values that start-up, the main window, the properties dialog and the
// control panel hand to each other. One instance lives in the running program; tests make their own.
#include <string>
#include <vector>

#include "platform/Types.h"

namespace velmora {

struct SharedState {
    // Start-up results.
    bool directRun = false;
    bool noStatistics = false;
    std::string reportLog;  // where "/LOG=" asked each run's report to be written; empty for none
    std::string acceptedSwitches;
    std::string discSettingsStatus;

    // Run hand-over: the scenarios to play, in order.
    std::vector<std::string> runList;
    std::string currentScenario;
    bool recordMode = false;

    // Recording hand-over.
    std::string packageName;
    std::string installerPath;
    std::string installerCommandLine;
    std::string description;

    std::string scenarioFolder;
    std::string lastFileTitle;

    WindowId lastWindow = 0;
    int mouseScaleX = 0;
    int mouseScaleY = 0;
};

}  // namespace velmora
