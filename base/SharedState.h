#pragma once
// The program's shared state: the values that start-up, the main window, the properties dialog and the
// control panel hand to each other. One instance lives in the running program; tests make their own.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/Types.h"

namespace velmora {

// A package of a run that restarts Windows, as the run found it before the restart: the resumed run plays
// it only while both files are still these bytes. A fingerprint of "-" stands for a file that was not there.
struct PackagePin {
    std::string scenario;
    std::string scenarioSha256;
    std::string installer;  // expanded as the planning run expanded it, and started from there
    std::string installerSha256;
    bool operator==(const PackagePin&) const = default;
};

// What a run that restarted Windows in its middle hands on to itself at the next logon ("/resume").
struct ResumedRun {
    int restarts = 0;              // the restarts the run has made so far
    std::size_t packagesDone = 0;  // the packages played before them, which the numbering counts on from
    int exitCode = 0;              // theirs, the restart their installers asked for counted as made
    int speed = 2;                 // the speed and the step time-out the run started with
    int timeoutMinutes = 0;
    std::vector<PackagePin> pins;  // one for each entry of runList
};

struct SharedState {
    // Start-up results.
    bool directRun = false;
    bool noStatistics = false;
    std::string reportLog;  // where "/LOG=" asked each run's report to be written; empty for none
    std::string acceptedSwitches;
    std::string discSettingsStatus;
    bool resumeRun = false;             // "/resume": the run that restarted Windows goes on
    std::optional<ResumedRun> resumed;  // set once its resume record was taken

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
