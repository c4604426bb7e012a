#include "playback/Player.h"

#include <algorithm>
#include <array>

#include "base/ProjectAddresses.h"
#include "base/Settings.h"
#include "base/Utilities.h"
#include "playback/WindowChain.h"

namespace velmora {

namespace {

constexpr std::array<int, kSlowestSpeed + 1> kSpeedIntervals{100, 250, 500};
constexpr int kMsPerMinute = 60000;

}  // namespace

void Player::LoadPlaySpeed() {
    // Only the levels are ever stored; a hand-edited value plays at the slowest speed rather than leaving the
    // step timer without an interval.
    // A resumed run plays as it started, whatever the settings say now.
    const std::optional<ResumedRun>& resumed = p_.shared.resumed;
    const int level = resumed ? resumed->speed : GetSpeedLevel(p_.settings).value_or(kSlowestSpeed);
    const int speed = std::clamp(level, 0, kSlowestSpeed);
    stepIntervalMs_ = kSpeedIntervals[static_cast<std::size_t>(speed)];
    // At the fastest speed a step goes as soon as its window is ready, so the ticks only count the wait: they
    // run at the speed's period from the start and never slow down.
    fastest_ = speed == 0;
    if (fastest_)
        stepTimerIntervalMs_ = stepIntervalMs_;
    timeoutMs_ = (resumed ? resumed->timeoutMinutes : GetTimeoutMinutes(p_.settings)) * kMsPerMinute;
    input_ = GetInputChoice(p_.settings);
}

void Player::Play() {
    SharedState& s = p_.shared;
    p_.panel.PlayLayout(static_cast<int>(s.runList.size()));
    p_.panel.action = p_.panel.Text(PanelText::ReadingFile) + "\r\n" + s.currentScenario;
    p_.panel.caption = FileTitleNoExt(s.currentScenario);
    s.currentScenario.clear();
    next_ = 0;
    if (s.resumed) {
        p_.stats.earlierExitCode = s.resumed->exitCode;
        p_.report.Resume(s.reportLog);
    } else {
        p_.report.Begin(s.reportLog,
                        p_.pathVars.ExpandPathVars(GetSetting(p_.settings, kSettingReportFolder)),
                        ProgramVersionText());
    }
    SetNextPackageTimer(true);
    p_.host.PanelChanged();
}

void Player::OnNextPackageTimer() {
    if (inTick_ || finished_ || WaitingForInstaller() || WaitingForRestart())
        return;
    SetNextPackageTimer(false);
    SharedState& s = p_.shared;
    // The position is kept as an index rather than searched for by path, so a list naming one file twice
    // still comes to an end.
    if (next_ >= s.runList.size()) {
        EndRun(false);
        return;
    }
    if (p_.restart != nullptr && p_.restart->Prepare(next_)) {
        SetNextPackageTimer(true);
        WaitingForRestart();
        return;
    }
    p_.host.SetTopMost(true);
    s.currentScenario = s.runList[next_++];
    ShowCounter();
    p_.stats.StartPackage(FileTitleNoExt(s.currentScenario));
    installer_.PackageStarted();
    const std::size_t done = s.resumed ? s.resumed->packagesDone : 0;
    p_.report.PackageStarted(done + next_, done + s.runList.size(), s.currentScenario);
    p_.panel.action = p_.panel.Text(PanelText::ReadingFile) + "\r\n" + s.currentScenario;
    p_.panel.caption = paused_ ? p_.panel.Text(PanelText::Pause) : FileTitleNoExt(s.currentScenario);
    p_.host.PanelChanged();
    OpenScenario(s.currentScenario);
}

void Player::OpenScenario(const std::string& path) {
    ++epoch_;
    haveStep_ = false;
    ScenarioImage& scn = p_.scenario;
    const bool loaded = PathExists(p_.files, path) && scn.LoadImageFile(p_.files, path);
    if (p_.restart != nullptr && !p_.restart->ScenarioAsPinned(next_ - 1, loaded ? &scn.Bytes() : nullptr)) {
        FailScenario(PackageEnd::Changed);
        return;
    }
    if (!loaded) {
        FailScenario(PackageEnd::ScenarioUnreadable);
        return;
    }
    scn.UnscrambleImage();
    std::string stored;
    if (!scn.ReadHeader() || !scn.IsVersionSupported() || scn.Header().stepCount < 0 ||
        !scn.GetInstallerPath(stored)) {
        FailScenario(PackageEnd::ScenarioUnreadable);
        return;
    }
    std::string installer = p_.pathVars.ExpandPathVars(stored);
    std::unique_ptr<HeldFile> held;  // from its check until it has started: nothing else starts in its place
    const bool pinned = p_.restart == nullptr || p_.restart->InstallerAsPinned(next_ - 1, installer, held);
    p_.shared.installerCommandLine = scn.GetCommandLine();
    p_.report.InstallerStarting(installer, p_.shared.installerCommandLine);
    if (!pinned) {
        FailScenario(PackageEnd::Changed);
        return;
    }
    if (installer.empty() || !PathExists(p_.files, installer)) {
        FailScenario(PackageEnd::InstallerMissing);
        return;
    }
    const std::optional<ProcessId> started =
        p_.shell.Start(installer, p_.shared.installerCommandLine, p_.files.CurrentDirectory(), 0);
    if (!started) {
        FailScenario(PackageEnd::InstallerNotStarted);
        return;
    }
    installer_.Started(*started);
    // Computed by the first run of the session and kept for the later ones; only once the installer has
    // started, since asking the screen's size starts the display driver, which the installer need not wait
    // for.
    if (p_.shared.mouseScaleX <= 0 || p_.shared.mouseScaleY <= 0)
        ComputeMouseScale(p_.system.ScreenSize(), p_.shared);
    substitutions_.clear();  // another package's versions say nothing of this one's
    gesture_.SetRecordedDpi(scn.RecordedDpi());
    stepNumber_ = 0;
    scn.ResetReadCursor();
    AdvanceStep();
}

void Player::AdvanceStep() {
    ScenarioImage& scn = p_.scenario;
    // A text is put only into the window of its own step; clearing it first keeps a text of an abandoned
    // step from reaching a step that has none.
    p_.step.text.clear();
    if (scn.ReadNextStep(p_.step)) {
        haveStep_ = true;
        ++stepNumber_;
        waitedMs_ = 0;
        refusalReported_ = false;
        notReadyReported_ = false;
        if (!paused_)
            SetStepTimer(true);
        return;
    }
    haveStep_ = false;
    SetStepTimer(false);
    SetNextPackageTimer(true);
    // Steps left that could not be read mean a damaged file: it was not replayed to the end.
    EndPackage(scn.StepReadFailed() ? PackageEnd::Damaged : PackageEnd::Played);
    installer_.AwaitExit();
}

// The scenario has ended and its installer is given time to end before the next one starts.
bool Player::WaitingForInstaller() {
    if (!installer_.Awaiting() || !installer_.KeepWaiting(nextPackageIntervalMs_))
        return false;
    const std::string waiting = p_.panel.Text(PanelText::WaitingForInstaller);
    if (!paused_ && p_.panel.action != waiting)
        ShowAction(PanelText::WaitingForInstaller);
    return true;
}

// The countdown of a restart: its seconds on the panel, then the request to Windows.
bool Player::WaitingForRestart() {
    if (p_.restart == nullptr)
        return false;
    if (p_.restart->Requested())
        return true;  // nothing more is started: the session ends
    if (!p_.restart->CountingDown())
        return false;
    if (paused_)
        return true;
    const int seconds = p_.restart->CountDown(kNextPackageIntervalMs);
    if (seconds == 0) {
        RestartNow();
        return true;
    }
    const std::string text =
        FormatPercentS(p_.panel.Text(PanelText::RestartCountdown), std::to_string(seconds));
    if (p_.panel.action != text) {
        p_.panel.action = text;
        p_.host.PanelChanged();
    }
    return true;
}

void Player::RestartNow() {
    SetNextPackageTimer(false);
    ShowAction(PanelText::Restarting);
    // Refused: the run ends as it would have without the restart, which the report has said.
    if (!p_.restart->Request()) {
        if (inTick_)
            pendingEnd_ = false;
        else
            EndRun(false);
    }
}

void Player::RestartRefused() {
    if (finished_ || p_.restart == nullptr || !p_.restart->Requested())
        return;
    p_.restart->Refused();
    if (inTick_)
        pendingEnd_ = false;
    else
        EndRun(false);
}

void Player::Pause() {
    if (finished_ || paused_)
        return;
    paused_ = true;
    SetStepTimer(false);
    p_.panel.caption = p_.panel.Text(PanelText::Pause);
    p_.panel.captionVisible = true;
    p_.panel.action = p_.panel.Text(PanelText::DoYourOwnActions);
    p_.panel.ShowPaused();
    p_.host.PanelChanged();
}

void Player::Resume() {
    if (finished_ || !paused_)
        return;
    paused_ = false;
    // Only a step that is still waiting is resumed; a scenario that ended or failed meanwhile has none, and
    // replaying its last step again would click twice.
    if (haveStep_)
        SetStepTimer(true);
    p_.panel.caption = FileTitleNoExt(p_.shared.currentScenario);
    ShowCounter();
    p_.panel.ShowRunning();
    p_.host.PanelChanged();
}

// A skip or stop between two packages marks the one that ended last, as the list has always shown it (the
// report then has a second result line for it) — unless that one played to its end and only its installer
// is being waited for: its result stands, and the installer is left running.
void Player::Skip() {
    if (finished_ || (p_.restart != nullptr && p_.restart->Requested()))
        return;
    if (p_.restart != nullptr && p_.restart->CountingDown()) {
        paused_ = false;
        p_.panel.ShowRunning();
        RestartNow();
        return;
    }
    paused_ = false;
    p_.panel.ShowRunning();
    ShowAction(PanelText::StartingNext);
    AbandonStep();
    SetNextPackageTimer(true);
    if (!installer_.Awaiting())
        EndPackage(PackageEnd::Skipped);
    installer_.FinishNow();
}

void Player::Stop() {
    if (finished_ || (p_.restart != nullptr && p_.restart->Requested()))
        return;
    if (p_.restart != nullptr)
        p_.restart->Cancel();
    finished_ = true;
    AbandonStep();
    // The next-package timer stops too: a scenario start still pending must not happen behind the statistics
    // window.
    SetNextPackageTimer(false);
    if (!installer_.Awaiting())
        EndPackage(PackageEnd::Stopped);
    installer_.FinishNow();
    if (inTick_)
        pendingEnd_ = true;
    else
        EndRun(true);
}

void Player::AbandonStep() {
    ++epoch_;
    haveStep_ = false;
    SetStepTimer(false);
}

void Player::SetStepTimer(bool enabled) {
    stepTimerEnabled_ = enabled;
    p_.host.SetStepTimer(enabled, stepTimerIntervalMs_);
    if (fastest_)
        p_.host.SetQuickTryTimer(enabled, kQuickTryIntervalMs);
}

void Player::SetStepInterval(int intervalMs) {
    stepTimerIntervalMs_ = intervalMs;
    if (stepTimerEnabled_)
        p_.host.SetStepTimer(true, stepTimerIntervalMs_);
}

void Player::SetNextPackageTimer(bool enabled) {
    // A restart's countdown counts its seconds by ticks, which the system makes no shorter than about 16 ms:
    // it keeps the period it counts by.
    const bool countingDown = p_.restart != nullptr && p_.restart->CountingDown();
    nextPackageIntervalMs_ = fastest_ && !countingDown ? kFastNextPackageIntervalMs : kNextPackageIntervalMs;
    p_.host.SetNextPackageTimer(enabled, nextPackageIntervalMs_);
}

void Player::FailScenario(PackageEnd why) {
    haveStep_ = false;
    SetStepTimer(false);
    SetNextPackageTimer(true);
    EndPackage(why);
    installer_.Finish(InstallerEnd::NotStarted);
}

// The timer is stopped during a pause, so paused time never counts. A window that stays covered counts as
// well as one that never comes: an error box over the installer would otherwise hold the run for ever.
bool Player::CountWait(PackageEnd why) {
    if (!paused_)
        waitedMs_ += stepTimerIntervalMs_;
    if (timeoutMs_ <= 0 || waitedMs_ < timeoutMs_)
        return false;
    TimeOut(why);
    return true;
}

void Player::TimeOut(PackageEnd why) {
    AbandonStep();
    SetNextPackageTimer(true);
    EndPackage(why, stepNumber_);
    const std::string screenshot = p_.report.ScreenshotPath(next_, stepNumber_);
    if (!screenshot.empty() && p_.windows.SaveScreenshot(screenshot))
        p_.report.ScreenshotKept(screenshot);
    installer_.EndAfterTimeOut();
    ShowAction(PanelText::StartingNext);
}

void Player::EndPackage(PackageEnd why, std::int64_t step) {
    if (p_.stats.records.empty())
        return;
    // A step that timed out names the windows it waited for.
    p_.stats.EndPackage(why, step, step > 0 ? ChainText(p_.step.windows) : std::string{});
    p_.report.PackageEnded(p_.stats.records.back());
}

void Player::ShowAction(PanelText key) {
    p_.panel.action = p_.panel.Text(key);
    p_.host.PanelChanged();
}

void Player::ShowCounter() {
    // next_ is one past the package being played, which is its number as the user counts; a resumed run
    // counts on from the packages played before its restart.
    const std::size_t done = p_.shared.resumed ? p_.shared.resumed->packagesDone : 0;
    p_.panel.counter = std::to_string(done + std::max<std::size_t>(next_, 1)) + "/" +
                       std::to_string(done + p_.shared.runList.size());
}

bool Player::Pump(std::uint64_t epoch) {
    p_.windows.PumpMessages();
    return epoch == epoch_;
}

void Player::EndTick() {
    inTick_ = false;
    if (pendingEnd_) {
        const bool stopped = *pendingEnd_;
        pendingEnd_.reset();
        EndRun(stopped);
    }
}

void Player::EndRun(bool stopped) {
    finished_ = true;
    haveStep_ = false;
    SetStepTimer(false);
    SetNextPackageTimer(false);
    if (p_.restart != nullptr)
        p_.restart->RunEnded();
    // Before the statistics window: in a direct run the program ends with it.
    p_.report.End(p_.stats.ExitCode());
    p_.host.RunEnded(stopped);  // may destroy this player: nothing after it
}

}  // namespace velmora
