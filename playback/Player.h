#pragma once
// The player: installs the scenarios of runList one after the other by replaying their recorded mouse
// gestures. It is driven by two timers of the control panel — the next-package timer (100 ms) starts the
// next scenario, the step timer plays one step per tick — and tells the panel what to show through its
// PanelModel.
#include <cstdint>
#include <optional>
#include <string>

#include "base/Language.h"
#include "base/PathVariables.h"
#include "base/SharedState.h"
#include "platform/FileSystem.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"
#include "platform/SystemInfo.h"
#include "platform/Types.h"
#include "platform/WindowSystem.h"
#include "playback/PanelModel.h"
#include "playback/RunReport.h"
#include "playback/Statistics.h"
#include "scenario/ScenarioImage.h"

namespace velmora {

// What the player asks of the control panel window. The window owns the two timers; the player says when they
// run. Setting a timer that already runs restarts its period.
class PlayerHost {
  public:
    virtual ~PlayerHost() = default;
    // Runs the step timer with this period (ms), or stops it.
    virtual void SetStepTimer(bool enabled, int intervalMs) = 0;
    // Runs the next-package timer (period Player::kNextPackageIntervalMs), or stops it.
    virtual void SetNextPackageTimer(bool enabled) = 0;
    // Keeps the panel above all normal windows, or lets it drop behind them.
    virtual void SetTopMost(bool topMost) = 0;
    // True for the panel itself and any of its child windows.
    virtual bool IsOwnWindow(WindowId window) = 0;
    // The PanelModel changed; draw it again.
    virtual void PanelChanged() = 0;
    // The run is over: `stopped` is true after the stop button, false when the last scenario has been started
    // and ended. The window hides the panel, shows the main window unless directRun (reloading its list
    // only after a stop), shows the statistics window modally unless noStatistics, and closes the panel —
    // in the order its callers need (a stop shows statistics first, the end of a run shows the main window
    // first). The player makes this call last and touches nothing of itself afterwards, and never from inside
    // the message pump of a running tick, so the window may destroy the player here.
    virtual void RunEnded(bool stopped) = 0;
};

struct PlayerPorts {
    WindowSystem& windows;
    Shell& shell;
    FileSystem& files;
    SystemInfo& system;  // the screen size, when mouseScale* were never computed (a direct run)
    SettingsStore& settings;
    const Language& language;
    const PathVariables& pathVars;
    ScenarioImage& scenario;  // scenario
    StepState& step;          // windows, events, text
    SharedState&
        shared;  // runList, currentScenario, installerCommandLine, lastWindow, mouseScale*, directRun
    Statistics& stats;
    RunReport& report;
    PanelModel& panel;
    PlayerHost& host;
};

// 65535 divided by the screen size, rounded to the nearest integer (ties to even): the multipliers from
// screen pixels to absolute mouse coordinates. 0 for a dimension that is not positive.
void ComputeMouseScale(Size screen, SharedState& shared);

// Brings the window to the foreground and sets its text (WM_SETTEXT). The recorder uses it too.
void PutStepText(WindowSystem& windows, WindowId window, const std::string& text);

class Player {
  public:
    static constexpr int kNextPackageIntervalMs = 100;
    static constexpr int kSearchIntervalMs =
        500;  // step timer before a window is found, and after ten misses
    static constexpr int kSlowDownAfterMisses = 10;
    // How long the installer may go on after the last step before the next package starts anyway.
    static constexpr int kInstallerExitWaitMs = 60000;

    explicit Player(const PlayerPorts& ports) : p_(ports) {}
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // Panel load in play mode calls these two, in this order. LoadPlaySpeed reads "Install"/"Speed": 0, 1, 2
    // give 100, 250, 500 ms per tick; any other stored value is read as speed 2 (500 ms). It reads the step
    // time-out too.
    void LoadPlaySpeed();
    void Play();

    // Timer ticks. Neither does anything while a step tick is still running (its message pump can dispatch
    // them); the next-package timer then keeps running and simply fires again. After a scenario's last step
    // the next-package timer also waits, up to kInstallerExitWaitMs, for its installer to end: two installers
    // at once make Windows Installer refuse the second.
    void OnNextPackageTimer();
    void OnStepTimer();

    // Buttons of the panel in play mode. They may arrive in the middle of a tick (from its message pump).
    void Pause();
    void Resume();
    void Skip();  // abandons the current scenario; the run goes on
    void Stop();  // abandons the run

    // Steps of the algorithm, public so tests can check them one by one.
    // Loads, checks and launches the scenario; false (and the scenario recorded as failed) when any of that
    // fails. On success the first step is read.
    bool OpenScenario(const std::string& path);
    // Reads the next step and runs the step timer for it; without one the scenario ends as done.
    void AdvanceStep();
    // The window the current step is aimed at, or 0 when the chain cannot be followed (yet).
    WindowId FindTargetWindow();
    // The n-th window matching class and caption among the children of parent (0: the top-level windows);
    // 0 when there are fewer than n, or n <= 0. The search ends when the matches run out, so a huge n costs
    // no more than the windows there are.
    WindowId FindNthWindow(WindowId parent, const std::optional<std::string>& className,
                           const std::optional<std::string>& caption, std::int64_t n);
    // Replays the step's gesture on the window; true when the press was replayed (or the step has at most one
    // event and needs none), false when the press point is covered by another window.
    bool PlayEvents(WindowId window);

    // The playing state; public so that tests can read it.
    bool windowFound = false;
    int stepIntervalMs = 500;
    int speedIndex = 2;
    int retryCountdown = 0;
    int foregroundTries = 0;
    int notFoundTicks = 0;
    Point pressPoint;
    bool paused = false;
    int timeoutMs = 0;  // the step time-out; 0 waits for ever
    // How long the current step has waited for its window to be there and uncovered, pauses left out.
    int waitedMs = 0;
    int exitWaitMs = 0;           // how long the last installer has been waited for
    std::int64_t stepNumber = 0;  // the current step, from 1

    // The timers as the player last set them (the host is told every change).
    bool stepTimerEnabled = false;
    int stepTimerIntervalMs = kSearchIntervalMs;
    bool nextTimerEnabled = false;
    bool Finished() const { return finished_; }

  private:
    void SetStepTimer(bool enabled);
    void SetStepInterval(int intervalMs);
    void SetNextPackageTimer(bool enabled);
    void FailScenario(PackageEnd why);
    bool CountWait(PackageEnd why);
    void TimeOut(PackageEnd why);
    void EndPackage(PackageEnd why, std::int64_t step = 0);
    void FinishInstaller(InstallerEnd end, std::optional<int> exitCode = std::nullopt);
    InstallerEnd InstallerNow(std::optional<int>& exitCode);
    bool InstallerStillRunning();
    void ShowAction(PanelText key);
    void ShowCounter();
    void EndTick();
    void EndRun(bool stopped);
    bool Pump(std::uint64_t epoch);

    PlayerPorts p_;
    std::size_t next_ = 0;  // index in runList of the package to start next
    bool inTick_ = false;
    bool haveStep_ = false;           // a step was read and waits to be played
    std::uint64_t epoch_ = 0;         // changes whenever the current step is abandoned
    std::optional<bool> pendingEnd_;  // the run ended inside a tick: reported after the tick unwinds
    bool finished_ = false;
    ProcessId installer_ = 0;        // the current package's installer process, while it is held
    bool awaitingExit_ = false;      // the scenario ended; its installer is given time to end
    bool installerPending_ = false;  // a package was started and what became of its installer is not told
};

}  // namespace velmora
