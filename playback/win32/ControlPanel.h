#pragma once
// The control panel: a small top-most strip that shows what the player does and takes pause, resume, skip
// and stop. The player decides everything; this window owns its timers, draws its PanelModel and forwards
// ticks and clicks.
#include <functional>
#include <memory>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32.h"
#include "playback/PanelModel.h"
#include "playback/Player.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/LogonTasks.h"
#include "platform/DesktopInfo.h"
#include "platform/ProtectedFiles.h"
#include "platform/SystemRestart.h"

namespace velmora {

// Everything the panel and its player work with; it must outlive the panel.
struct PanelContext {
    WindowSystem& windows;
    Shell& shell;
    Dialogs& dialogs;
    Clock& clock;
    FileSystem& files;
    SystemInfo& system;
    SettingsStore& settings;
    const Language& language;
    const PathVariables& pathVars;
    ScenarioImage& scenario;
    StepState& step;
    SharedState& shared;
    Statistics& stats;
    // For the restart an installer may ask for.
    LogonTasks& logonTasks;
    SystemRestart& restart;
    ProtectedFiles& vault;
    DesktopInfo& desktop;  // whether presses go as the mouse or as window messages, step by step
};

struct PanelCallbacks {
    // Shows the main window again after a run that did not start from the command line, reloading its list
    // after a stop; returns the main window, which then owns the statistics window.
    std::function<HWND(bool reloadList)> showMainWindow;
    // The panel has closed; the run's exit code (0 all done, 1 some skipped or stopped, 2 some failed).
    std::function<void(int exitCode)> closed;
    // The run is over, its report holds its end and the statistics (if any) have been closed; the panel's
    // windows are still there. May end the process.
    std::function<void(int exitCode)> ended;
};

// Opens the panel and starts playing runList . False when the window cannot be created.
bool OpenPlayPanel(const PanelContext& context, PanelCallbacks callbacks);

// Opens the panel in record mode: starts the installer of the recording hand-over in `shared` and records the
// user's mouse gestures until the stop button saves the scenario into the scenario folder. False when the
// window cannot be created.
bool OpenRecordPanel(const PanelContext& context, PanelCallbacks callbacks);

// A direct run from the command line: plays runList in the panel, runs the message loop until the panel
// closes and returns the process exit code.
int PlayDirectRun(const PanelContext& context);

}  // namespace velmora
