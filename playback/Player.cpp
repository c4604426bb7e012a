#include "playback/Player.h"

#include <algorithm>
#include <cmath>

#include "base/ProjectAddresses.h"
#include "base/Settings.h"
#include "base/Utilities.h"

namespace velmora {

namespace {

// Client offsets beyond this cannot be on any screen; clamping them keeps the arithmetic of a hostile file
// inside int.
constexpr std::int64_t kCoordinateLimit = 1 << 20;
constexpr int kAbsoluteMax = 65535;
constexpr int kSpeedIntervals[] = {100, 250, 500};
constexpr int kDefaultSpeed = 2;

int ClampCoordinate(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, -kCoordinateLimit, kCoordinateLimit));
}

int Absolute(int pixel, int scale) {
    return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{pixel} * scale, 0, kAbsoluteMax));
}

unsigned DownFlag(std::int16_t button) {
    switch (button) {
        case kButtonLeft:
            return kMouseLeftDown;
        case kButtonRight:
            return kMouseRightDown;
        case kButtonMiddle:
            return kMouseMiddleDown;
        default:
            return 0;
    }
}

unsigned UpFlag(std::int16_t button) {
    switch (button) {
        case kButtonLeft:
            return kMouseLeftUp;
        case kButtonRight:
            return kMouseRightUp;
        case kButtonMiddle:
            return kMouseMiddleUp;
        default:
            return 0;
    }
}

// A stored name with one trailing NUL removed, as the recorder's fixed buffers sometimes left it.
std::string WithoutTrailingNul(const std::string& text) {
    if (!text.empty() && text.back() == '\0')
        return text.substr(0, text.size() - 1);
    return text;
}

// A caption that is blank, or a lone NUL, matches any caption.
std::optional<std::string> CaptionToMatch(const std::string& stored) {
    const std::string caption = WithoutTrailingNul(stored);
    if (caption == std::string(1, '\0') || caption.find_first_not_of(' ') == std::string::npos)
        return std::nullopt;
    return caption;
}

// The stored speed as a number; anything that is not one digit 0..2 (blanks around it allowed) is nothing.
std::optional<int> ParseSpeed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    const auto last = text.find_last_not_of(' ');
    if (first == std::string::npos || first != last)
        return std::nullopt;
    const char c = text[first];
    if (c < '0' || c > '2')
        return std::nullopt;
    return c - '0';
}

int RoundHalfEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

}  // namespace

void ComputeMouseScale(Size screen, SharedState& shared) {
    shared.mouseScaleX = screen.width > 0 ? RoundHalfEven(65535.0 / screen.width) : 0;
    shared.mouseScaleY = screen.height > 0 ? RoundHalfEven(65535.0 / screen.height) : 0;
}

void PutStepText(WindowSystem& windows, WindowId window, const std::string& text) {
    windows.SetForeground(window);
    windows.SetText(window, text);
}

void Player::LoadPlaySpeed() {
    // Only 0, 1 and 2 are ever stored; anything else (a hand-edited value) gets the default speed rather than
    // leaving the step timer without an interval.
    const int speed = ParseSpeed(p_.settings.Get("Install", "Speed", "2")).value_or(kDefaultSpeed);
    speedIndex = speed;
    stepIntervalMs = kSpeedIntervals[speed];
    constexpr int kMsPerMinute = 60000;
    timeoutMs = GetTimeoutMinutes(p_.settings) * kMsPerMinute;
}

void Player::Play() {
    SharedState& s = p_.shared;
    // A run started from the command line never loads the main window, which computes these.
    if (s.mouseScaleX <= 0 || s.mouseScaleY <= 0)
        ComputeMouseScale(p_.system.ScreenSize(), s);
    p_.panel.PlayLayout(static_cast<int>(s.runList.size()));
    p_.panel.action = p_.panel.Text(PanelText::ReadingFile) + "\r\n" + s.currentScenario;
    p_.panel.caption = FileTitleNoExt(s.currentScenario);
    s.currentScenario.clear();
    next_ = 0;
    p_.report.Begin(s.reportLog, p_.pathVars.ExpandPathVars(GetSetting(p_.settings, kSettingReportFolder)),
                    ProgramVersionText());
    SetNextPackageTimer(true);
    p_.host.PanelChanged();
}

void Player::OnNextPackageTimer() {
    if (inTick_ || finished_ || InstallerStillRunning())
        return;
    SetNextPackageTimer(false);
    SharedState& s = p_.shared;
    // The position is kept as an index rather than searched for by path, so a list naming one file twice
    // still comes to an end.
    if (next_ >= s.runList.size()) {
        EndRun(false);
        return;
    }
    p_.host.SetTopMost(true);
    s.currentScenario = s.runList[next_++];
    ShowCounter();
    p_.stats.StartPackage(FileTitleNoExt(s.currentScenario));
    installerPending_ = true;
    p_.report.PackageStarted(next_, s.runList.size(), s.currentScenario);
    p_.panel.action = p_.panel.Text(PanelText::ReadingFile) + "\r\n" + s.currentScenario;
    p_.panel.caption = paused ? p_.panel.Text(PanelText::Pause) : FileTitleNoExt(s.currentScenario);
    p_.host.PanelChanged();
    OpenScenario(s.currentScenario);
}

bool Player::OpenScenario(const std::string& path) {
    ++epoch_;
    haveStep_ = false;
    ScenarioImage& scn = p_.scenario;
    if (!PathExists(p_.files, path) || !scn.LoadImageFile(p_.files, path)) {
        FailScenario(PackageEnd::ScenarioUnreadable);
        return false;
    }
    scn.UnscrambleImage();
    std::string stored;
    if (!scn.ReadHeader() || !scn.IsVersionSupported() || scn.Header().StepCount < 0 ||
        !scn.GetInstallerPath(stored)) {
        FailScenario(PackageEnd::ScenarioUnreadable);
        return false;
    }
    const std::string installer = p_.pathVars.ExpandPathVars(stored);
    p_.shared.installerCommandLine = scn.GetCommandLine();
    p_.report.InstallerStarting(installer, p_.shared.installerCommandLine);
    if (installer.empty() || !PathExists(p_.files, installer)) {
        FailScenario(PackageEnd::InstallerMissing);
        return false;
    }
    const std::optional<ProcessId> started =
        p_.shell.Start(installer, p_.shared.installerCommandLine, p_.files.CurrentDirectory(), 0);
    if (!started) {
        FailScenario(PackageEnd::InstallerNotStarted);
        return false;
    }
    installer_ = *started;
    stepNumber = 0;
    scn.ResetReadCursor();
    AdvanceStep();
    return true;
}

void Player::AdvanceStep() {
    ScenarioImage& scn = p_.scenario;
    // A text is put only into the window of its own step; clearing it first keeps a text of an abandoned
    // step from reaching a step that has none.
    p_.step.text.clear();
    if (scn.ReadNextStep(p_.step)) {
        haveStep_ = true;
        ++stepNumber;
        waitedMs = 0;
        if (!paused)
            SetStepTimer(true);
        return;
    }
    haveStep_ = false;
    SetStepTimer(false);
    SetNextPackageTimer(true);
    // Steps left that could not be read mean a damaged file: it was not replayed to the end.
    EndPackage(scn.StepReadFailed() ? PackageEnd::Damaged : PackageEnd::Played);
    awaitingExit_ = true;
    exitWaitMs = 0;
}

void Player::OnStepTimer() {
    if (inTick_ || finished_ || !haveStep_)
        return;
    inTick_ = true;
    const std::uint64_t epoch = epoch_;
    const WindowId window = FindTargetWindow();
    if (window == 0) {
        if (windowFound && ++notFoundTicks == kSlowDownAfterMisses) {
            SetStepInterval(kSearchIntervalMs);
            windowFound = false;
        }
        if (!CountWait(PackageEnd::WindowNotFound))
            ShowAction(PanelText::SearchingWindow);
        EndTick();
        return;
    }
    if (!windowFound) {
        windowFound = true;
        SetStepInterval(stepIntervalMs);
    }
    notFoundTicks = 0;
    const bool played = PlayEvents(window);
    if (epoch != epoch_) {  // skipped or stopped while the gesture was being replayed
        EndTick();
        return;
    }
    if (played) {
        p_.report.StepPlayed(stepNumber, p_.windows.ClassName(window), p_.windows.Text(window),
                             p_.step.events.size() > 1, CharCount(p_.step.text), waitedMs);
        if (!p_.step.text.empty()) {
            PutStepText(p_.windows, window, p_.step.text);
            p_.step.text.clear();
        }
        SetStepTimer(false);
        AdvanceStep();
        retryCountdown = 3;
        foregroundTries = 0;
        if (!paused)
            ShowAction(PanelText::WaitingForInstall);
    } else if (!CountWait(PackageEnd::WindowCovered)) {
        if (!paused)
            ShowAction(PanelText::WindowCovered);
        if (retryCountdown == 0 && foregroundTries < 3) {
            ++foregroundTries;
            p_.windows.SetForeground(window);
        } else if (retryCountdown <= 0) {
            retryCountdown = 13;
            foregroundTries = 0;
        } else {
            --retryCountdown;
        }
    }
    EndTick();
}

WindowId Player::FindTargetWindow() {
    const StepState& step = p_.step;
    WindowId parent = 0;
    WindowId window = 0;
    if (step.windows.empty())
        return 0;  // a step without a window chain names nothing to click
    for (const WindowRef& link : step.windows) {
        const std::optional<std::string> className = WithoutTrailingNul(link.Class);
        const std::optional<std::string> caption = CaptionToMatch(link.Caption);
        if (link.MatchIndex == -1)
            window = p_.windows.Desktop();
        else if (link.MatchIndex == 0)
            window = p_.windows.FindWindowEx(p_.windows.Desktop(), 0, className, caption);
        else
            window = FindNthWindow(parent, className, caption, link.MatchIndex);
        if (window == 0)
            return 0;
        parent = window;
    }
    return window;
}

WindowId Player::FindNthWindow(WindowId parent, const std::optional<std::string>& className,
                               const std::optional<std::string>& caption, std::int64_t n) {
    WindowId found = 0;
    for (std::int64_t k = 1; k <= n; ++k) {
        const WindowId next = p_.windows.FindWindowEx(parent, found, className, caption);
        if (next == 0 || next == found)
            return 0;
        found = next;
    }
    return found;
}

bool Player::PlayEvents(WindowId window) {
    StepState& step = p_.step;
    if (step.events.size() <= 1)
        return true;
    const SharedState& s = p_.shared;
    WindowSystem& ws = p_.windows;
    const std::uint64_t epoch = epoch_;
    bool result = false;
    std::int16_t held = 0;  // the button pressed and not yet released
    Point last;             // where the cursor was last sent
    // A gesture abandoned half-way, or a step without its release, must not leave a mouse button down.
    auto releaseHeld = [&] {
        if (held != 0 && UpFlag(held) != 0)
            ws.MouseEvent(UpFlag(held) | kMouseAbsolute, Absolute(last.x, s.mouseScaleX),
                          Absolute(last.y, s.mouseScaleY));
        held = 0;
    };
    // A copy: the message pump below may hand control to code that reads the next step.
    const std::vector<MouseEventRec> events = step.events;
    for (const MouseEventRec& event : events) {
        const int x = ClampCoordinate(event.X);
        const int y = ClampCoordinate(event.Y);
        if (event.Kind == kKindPress) {
            pressPoint = ws.ClientToScreen(window, Point{x, y});
            const WindowId hit = ws.FromPoint(pressPoint);
            if (hit != window) {
                if (p_.host.IsOwnWindow(hit))
                    p_.host.SetTopMost(false);
                releaseHeld();
                return false;
            }
            last = pressPoint;
            ws.SetCursorPos(pressPoint);
            if (DownFlag(event.Button) != 0) {
                ws.MouseEvent(DownFlag(event.Button) | kMouseAbsolute, Absolute(last.x, s.mouseScaleX),
                              Absolute(last.y, s.mouseScaleY));
                held = event.Button;
            }
            if (!Pump(epoch)) {
                releaseHeld();
                return false;
            }
            result = true;
            p_.shared.lastWindow = window;
        } else if (event.Kind == kKindMove) {
            last = Point{ClampCoordinate(std::int64_t{x} + pressPoint.x),
                         ClampCoordinate(std::int64_t{y} + pressPoint.y)};
            ws.MouseEvent(kMouseMove | kMouseAbsolute, Absolute(last.x, s.mouseScaleX),
                          Absolute(last.y, s.mouseScaleY));
            if (!Pump(epoch)) {
                releaseHeld();
                return false;
            }
        } else if (event.Kind == kKindRelease) {
            last = Point{ClampCoordinate(std::int64_t{x} + pressPoint.x),
                         ClampCoordinate(std::int64_t{y} + pressPoint.y)};
            ws.SetCursorPos(last);
            if (!Pump(epoch)) {
                releaseHeld();
                return false;
            }
            if (UpFlag(event.Button) != 0)
                ws.MouseEvent(UpFlag(event.Button) | kMouseAbsolute, Absolute(last.x, s.mouseScaleX),
                              Absolute(last.y, s.mouseScaleY));
            if (event.Button == held)
                held = 0;
            if (!Pump(epoch)) {
                releaseHeld();
                return false;
            }
        }
        if (!Pump(epoch)) {
            releaseHeld();
            return false;
        }
    }
    releaseHeld();
    return result;
}

void Player::Pause() {
    if (finished_ || paused)
        return;
    paused = true;
    SetStepTimer(false);
    p_.panel.caption = p_.panel.Text(PanelText::Pause);
    p_.panel.captionVisible = true;
    p_.panel.action = p_.panel.Text(PanelText::DoYourOwnActions);
    p_.panel.ShowPaused();
    p_.host.PanelChanged();
}

void Player::Resume() {
    if (finished_ || !paused)
        return;
    paused = false;
    // Only a step that is still waiting is resumed; a scenario that ended or failed meanwhile has none, and
    // replaying its last step again would click twice.
    if (haveStep_)
        SetStepTimer(true);
    p_.panel.caption = FileTitleNoExt(p_.shared.currentScenario);
    ShowCounter();
    p_.panel.ShowRunning();
    p_.host.PanelChanged();
}

void Player::Skip() {
    if (finished_)
        return;
    paused = false;
    p_.panel.ShowRunning();
    ShowAction(PanelText::StartingNext);
    ++epoch_;
    haveStep_ = false;
    SetStepTimer(false);
    SetNextPackageTimer(true);
    EndPackage(PackageEnd::Skipped);
    std::optional<int> code;
    const InstallerEnd end = InstallerNow(code);
    FinishInstaller(end, code);
}

void Player::Stop() {
    if (finished_)
        return;
    finished_ = true;
    ++epoch_;
    haveStep_ = false;
    // The next-package timer stops too: a scenario start still pending must not happen behind the statistics
    // window.
    SetStepTimer(false);
    SetNextPackageTimer(false);
    EndPackage(PackageEnd::Stopped);
    std::optional<int> code;
    const InstallerEnd end = InstallerNow(code);
    FinishInstaller(end, code);
    if (inTick_)
        pendingEnd_ = true;
    else
        EndRun(true);
}

void Player::SetStepTimer(bool enabled) {
    stepTimerEnabled = enabled;
    p_.host.SetStepTimer(enabled, stepTimerIntervalMs);
}

void Player::SetStepInterval(int intervalMs) {
    stepTimerIntervalMs = intervalMs;
    if (stepTimerEnabled)
        p_.host.SetStepTimer(true, stepTimerIntervalMs);
}

void Player::SetNextPackageTimer(bool enabled) {
    nextTimerEnabled = enabled;
    p_.host.SetNextPackageTimer(enabled);
}

void Player::FailScenario(PackageEnd why) {
    haveStep_ = false;
    SetStepTimer(false);
    SetNextPackageTimer(true);
    EndPackage(why);
    FinishInstaller(InstallerEnd::NotStarted);
}

// The timer is stopped during a pause, so paused time never counts. A window that stays covered counts as
// well as one that never comes: an error box over the installer would otherwise hold the run for ever.
bool Player::CountWait(PackageEnd why) {
    if (!paused)
        waitedMs += stepTimerIntervalMs;
    if (timeoutMs <= 0 || waitedMs < timeoutMs)
        return false;
    TimeOut(why);
    return true;
}

void Player::TimeOut(PackageEnd why) {
    ++epoch_;
    haveStep_ = false;
    SetStepTimer(false);
    SetNextPackageTimer(true);
    EndPackage(why, stepNumber);
    const std::string screenshot = p_.report.ScreenshotPath(next_, stepNumber);
    if (!screenshot.empty() && p_.windows.SaveScreenshot(screenshot))
        p_.report.ScreenshotKept(screenshot);
    // An installer left waiting for a click would hold its lock and make the next one refuse to start.
    if (installer_ != 0)
        p_.shell.EndAll(installer_);
    FinishInstaller(installer_ != 0 ? InstallerEnd::EndedAfterTimeOut : InstallerEnd::NotStarted);
    ShowAction(PanelText::StartingNext);
}

// A skip or stop between two packages marks the one that ended last, as the list has always shown it; the
// report then has a second result line for it.
void Player::EndPackage(PackageEnd why, std::int64_t step) {
    if (p_.stats.records.empty())
        return;
    p_.stats.EndPackage(why, step);
    p_.report.PackageEnded(p_.stats.records.back());
}

InstallerEnd Player::InstallerNow(std::optional<int>& exitCode) {
    exitCode.reset();
    if (installer_ == 0)
        return InstallerEnd::NotStarted;
    exitCode = p_.shell.ExitCodeOf(installer_, 0);
    return exitCode ? InstallerEnd::Exited : InstallerEnd::StillRunning;
}

void Player::FinishInstaller(InstallerEnd end, std::optional<int> exitCode) {
    if (installer_ != 0)
        p_.shell.Release(installer_);
    installer_ = 0;
    awaitingExit_ = false;
    if (!installerPending_)
        return;
    installerPending_ = false;
    p_.stats.SetInstallerEnd(end, exitCode);
    p_.report.InstallerEnded(p_.stats.records.back());
}

bool Player::InstallerStillRunning() {
    if (!awaitingExit_)
        return false;
    std::optional<int> code;
    const InstallerEnd end = InstallerNow(code);
    if (end == InstallerEnd::StillRunning && exitWaitMs < kInstallerExitWaitMs) {
        exitWaitMs += kNextPackageIntervalMs;
        return true;
    }
    // One still running after the wait is left alone: its exit code stays unknown.
    FinishInstaller(end, code);
    return false;
}

void Player::ShowAction(PanelText key) {
    p_.panel.action = p_.panel.Text(key);
    p_.host.PanelChanged();
}

void Player::ShowCounter() {
    // next_ is one past the package being played, which is its number as the user counts.
    p_.panel.counter =
        std::to_string(std::max<std::size_t>(next_, 1)) + "/" + std::to_string(p_.shared.runList.size());
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
    // Before the statistics window: in a direct run the program ends with it.
    p_.report.End(p_.stats.ExitCode());
    p_.host.RunEnded(stopped);  // may destroy this player: nothing after it
}

}  // namespace velmora
