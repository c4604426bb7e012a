#pragma once
// The player: installs the scenarios of runList one after the other by replaying their recorded mouse
// gestures. It is driven by two timers of the control panel — the next-package timer (100 ms) starts the
// next scenario, the step timer plays one step per tick — and tells the panel what to show through its
// PanelModel.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "base/Language.h"
#include "base/PathVariables.h"
#include "base/SharedState.h"
#include "platform/DesktopInfo.h"
#include "platform/FileSystem.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"
#include "platform/SystemInfo.h"
#include "platform/Types.h"
#include "platform/WindowSystem.h"
#include "playback/Delivery.h"
#include "playback/GestureReplay.h"
#include "playback/InstallerWatch.h"
#include "playback/PanelModel.h"
#include "reports/RunReport.h"
#include "playback/RunRestart.h"
#include "playback/Statistics.h"
#include "playback/WindowChain.h"
#include "scenario/ScenarioImage.h"

namespace velmora {

// What the player asks of the control panel window. The window owns the two timers; the player says when they
// run. Setting a timer that already runs restarts its period.
class PlayerHost {
  public:
    virtual ~PlayerHost() = default;
    // Runs the step timer with this period (ms), or stops it.
    virtual void SetStepTimer(bool enabled, int intervalMs) = 0;
    // Runs the next-package timer with this period (ms), or stops it.
    virtual void SetNextPackageTimer(bool enabled, int intervalMs) = 0;
    // Runs the timer of the step's quick tries (Player::WindowsChanged) with this period, or stops it.
    virtual void SetQuickTryTimer(bool enabled, int intervalMs) = 0;
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
    SystemInfo& system;  // the screen size, when mouseScale* were not computed yet
    SettingsStore& settings;
    const Language& language;
    const PathVariables& pathVars;
    ScenarioImage& scenario;
    StepState& step;  // windows, events, text
    // runList, currentScenario, installerCommandLine, lastWindow, mouseScale*, reportLog
    SharedState& shared;
    Statistics& stats;
    RunReport& report;
    PanelModel& panel;
    PlayerHost& host;
    DesktopInfo& desktop;  // asked before every step: a session locked in a run goes on by messages
    // The restart an installer may ask for; a player without one never restarts Windows.
    RunRestart* restart = nullptr;
};

class Player {
  public:
    static constexpr int kNextPackageIntervalMs = 100;
    // At the fastest speed: the next package starts, and an ended installer is seen, without a pause, and a
    // step is tried this often between its ticks, for the changes no window event tells.
    static constexpr int kFastNextPackageIntervalMs = 10;
    static constexpr int kQuickTryIntervalMs = 10;
    // The step timer's period before a window is found, and after kSlowDownAfterMisses missed ticks.
    static constexpr int kSearchIntervalMs = 500;
    static constexpr int kSlowDownAfterMisses = 10;

    explicit Player(const PlayerPorts& ports)
        : p_(ports),
          gesture_(ports.windows, ports.shared),
          installer_(ports.shell, ports.stats, ports.report) {}
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // Panel load in play mode calls these two, in this order. LoadPlaySpeed reads the speed (levels 0, 1, 2
    // give 100, 250, 500 ms per tick; any other stored value plays at the slowest) and the step time-out.
    void LoadPlaySpeed();
    void Play();

    // Timer ticks. Neither does anything while a step tick is still running (its message pump can dispatch
    // them); the next-package timer then keeps running and simply fires again. After a scenario's last step
    // the next-package timer also waits for its installer to end (InstallerWatch), and the panel says so.
    void OnNextPackageTimer();
    void OnStepTimer();
    // The installers' windows changed (one appeared, went, or changed its text or state), or the quick-try
    // timer fired. At the fastest speed the waiting step is tried at once; such a try counts nothing (no
    // time-out, no back-off of a covered window), which only the step timer's ticks do.
    void WindowsChanged();

    // Buttons of the panel in play mode. They may arrive in the middle of a tick (from its message pump).
    // While a scenario that has ended waits for its installer, skip and stop leave its result as it is and
    // leave the installer running.
    void Pause();
    void Resume();
    void Skip();  // abandons the current scenario; the run goes on
    void Stop();  // abandons the run

    // Between two packages the restart an installer asked for may be counted down (RunRestart): pause holds
    // the countdown, skip restarts at once, stop calls the restart off and ends the run. Once Windows is
    // asked, the buttons do nothing more.

    // True once Windows has been asked to restart for this run: the session may end.
    bool OwnRestartRequested() const { return p_.restart != nullptr && p_.restart->OwnRestartRequested(); }
    // The session did not end after all (a program refused): the run ends as it does without a restart.
    void RestartRefused();

  private:
    // Loads, checks and launches the scenario, which is recorded as failed when any of that fails; on success
    // the first step is read.
    void OpenScenario(const std::string& path);
    // Reads the next step and runs the step timer for it; without one the scenario ends as done.
    void AdvanceStep();
    // One try of the current step: a tick of the step timer, or a quick try that counts nothing.
    void TryStep(bool tick);
    void WindowMissing();
    void PlayStep(WindowId window, bool tick);
    void StepPlayed(WindowId window, Delivery delivery);
    void WindowNotReady();
    void StepCovered(WindowId window, bool tick);
    void InputRefused();
    bool WaitingForInstaller();
    bool WaitingForRestart();
    void RestartNow();
    void AbandonStep();
    void SetStepTimer(bool enabled);
    void SetStepInterval(int intervalMs);
    void SetNextPackageTimer(bool enabled);
    void FailScenario(PackageEnd why);
    bool CountWait(PackageEnd why);
    void TimeOut(PackageEnd why);
    void EndPackage(PackageEnd why, std::int64_t step = 0);
    void ShowAction(PanelText key);
    void ShowCounter();
    void EndTick();
    void EndRun(bool stopped);
    bool Pump(std::uint64_t epoch);

    PlayerPorts p_;
    GestureReplay gesture_;
    InstallerWatch installer_;
    std::size_t next_ = 0;  // index in runList of the package to start next
    bool inTick_ = false;
    bool haveStep_ = false;           // a step was read and waits to be played
    std::uint64_t epoch_ = 0;         // changes whenever the current step is abandoned
    std::optional<bool> pendingEnd_;  // the run ended inside a tick: reported after the tick unwinds
    bool finished_ = false;
    bool paused_ = false;
    std::int64_t stepNumber_ = 0;  // the current step, from 1

    int stepIntervalMs_ = kSearchIntervalMs;  // the speed's period, once a window has been found
    bool fastest_ = false;                    // the fastest speed: no pause that no installer needs
    int timeoutMs_ = 0;                       // the step time-out; 0 waits for ever
    // How long the current step has waited for its window to be there and uncovered, pauses left out.
    int waitedMs_ = 0;
    bool refusalReported_ = false;   // the report has said that the system refused the current step's press
    bool notReadyReported_ = false;  // and that its window was hidden or disabled
    InputChoice input_ = InputChoice::Auto;
    bool windowFound_ = false;
    int notFoundTicks_ = 0;
    // The current tick's chain: its links followed despite a different caption and whether it left the
    // installer's windows, for the report; the package's versions it learned, kept once the step is played.
    ChainMatch found_;
    VersionSubstitutions substitutions_;  // of the package being played
    int retryCountdown_ = 0;              // ticks left before a covered window is brought to the front again
    int foregroundTries_ = 0;

    // The step timer as the player last set it (the host is told every change).
    bool stepTimerEnabled_ = false;
    int stepTimerIntervalMs_ = kSearchIntervalMs;
    int nextPackageIntervalMs_ = kNextPackageIntervalMs;
};

}  // namespace velmora
