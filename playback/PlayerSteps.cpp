// The player's steps: finding a step's window, waiting until it takes input, and pressing it with the mouse
// or by window messages.
#include "playback/Player.h"

#include "base/Utilities.h"
#include "playback/WindowChain.h"

namespace velmora {

namespace {

// A covered press point: the window is brought to the front on the first covered ticks, kForegroundTries
// times (after a success only once kCoveredFirstWait ticks have passed); then one tick re-arms the wait and
// the window is left alone for kCoveredRestTicks.
constexpr int kCoveredFirstWait = 3;
constexpr int kCoveredRestTicks = 13;
constexpr int kForegroundTries = 3;

}  // namespace

void Player::OnStepTimer() {
    TryStep(true);
}

void Player::WindowsChanged() {
    if (fastest_ && !paused_)
        TryStep(false);
}

void Player::TryStep(bool tick) {
    if (inTick_ || finished_ || !haveStep_)
        return;
    inTick_ = true;
    found_ = FindChainWindow(p_.windows, p_.step.windows, installer_.Processes(), substitutions_);
    // Between ticks only a window that takes input now is pressed; the ticks count the wait for the others.
    if (found_.window == 0) {
        if (tick)
            WindowMissing();
    } else if (tick || p_.windows.ReadyForInput(found_.window)) {
        PlayStep(found_.window, tick);
    }
    EndTick();
}

void Player::WindowMissing() {
    if (!fastest_ && windowFound_ && ++notFoundTicks_ == kSlowDownAfterMisses) {
        SetStepInterval(kSearchIntervalMs);
        windowFound_ = false;
    }
    if (!CountWait(PackageEnd::WindowNotFound))
        ShowAction(PanelText::SearchingWindow);
}

void Player::PlayStep(WindowId window, bool tick) {
    if (!windowFound_) {
        windowFound_ = true;
        SetStepInterval(stepIntervalMs_);
    }
    notFoundTicks_ = 0;
    // A control disabled for a moment (a Next button while the installer checks something) is waited for;
    // by the mouse the screen's hit test would skip it, by messages nothing else would.
    if (!p_.windows.ReadyForInput(window)) {
        if (tick)
            WindowNotReady();
        return;
    }
    // Chosen anew for every step: a session locked in the middle of a run goes on by messages.
    const std::optional<Delivery> delivery = ChooseDelivery(p_.desktop.Facts(), input_);
    if (!delivery) {
        if (tick)
            InputRefused();  // the mouse alone was asked for, where no click can land
        return;
    }
    const std::uint64_t epoch = epoch_;
    const GestureResult result = gesture_.Play(
        window, p_.step.events, [this, epoch] { return Pump(epoch); }, *delivery);
    if (result == GestureResult::Played)
        StepPlayed(window, *delivery);
    else if (result == GestureResult::Covered)
        StepCovered(window, tick);
    else if (result == GestureResult::Refused && tick)
        InputRefused();
    else if (result == GestureResult::NotReady && tick)
        WindowNotReady();
    // Abandoned: skipped or stopped while the gesture was being replayed; the step is gone.
}

void Player::StepPlayed(WindowId window, Delivery delivery) {
    p_.report.StepPlayed(stepNumber_, p_.windows.ClassName(window), p_.windows.Text(window),
                         p_.step.events.size() > 1, delivery == Delivery::Messages, CharCount(p_.step.text),
                         waitedMs_);
    for (const NearCaption& near : found_.nearCaptions)
        p_.report.CaptionDiffered(stepNumber_, near.stored, near.shown);
    if (found_.outsideInstaller)
        p_.report.WindowOutsideInstaller(stepNumber_);
    substitutions_ = std::move(found_.substitutions);
    if (!p_.step.text.empty()) {
        PutStepText(p_.windows, window, p_.step.text);
        // Some installers take a field's text only when it loses the focus, which no click gives it here.
        p_.windows.EndTextEntry(window);
        p_.step.text.clear();
    }
    SetStepTimer(false);
    AdvanceStep();
    retryCountdown_ = kCoveredFirstWait;
    foregroundTries_ = 0;
    if (!paused_)
        ShowAction(PanelText::WaitingForInstall);
}

void Player::StepCovered(WindowId window, bool tick) {
    // The panel itself over the press point gives up staying on top until the next scenario.
    const WindowId cover = gesture_.CoveringWindow();
    if (cover != 0 && p_.host.IsOwnWindow(cover))
        p_.host.SetTopMost(false);
    if (!tick || CountWait(PackageEnd::WindowCovered))
        return;
    if (!paused_)
        ShowAction(PanelText::WindowCovered);
    if (retryCountdown_ == 0 && foregroundTries_ < kForegroundTries) {
        ++foregroundTries_;
        // A refusal shows on the next tick, which finds the point still covered.
        static_cast<void>(p_.windows.SetForeground(window));
    } else if (retryCountdown_ <= 0) {
        retryCountdown_ = kCoveredRestTicks;
        foregroundTries_ = 0;
    } else {
        --retryCountdown_;
    }
}

// The system took no press (a locked session): the step waits, its time-out counting as for a covered window.
void Player::InputRefused() {
    if (!refusalReported_)
        p_.report.InputRefused(stepNumber_);
    refusalReported_ = true;
    static_cast<void>(CountWait(PackageEnd::WindowCovered));  // a time-out ends the step by itself
}

// The window or one above it is hidden or disabled: the step waits, its time-out counting.
void Player::WindowNotReady() {
    if (!notReadyReported_)
        p_.report.WindowNotReady(stepNumber_);
    notReadyReported_ = true;
    if (!CountWait(PackageEnd::WindowDisabled) && !paused_)
        ShowAction(PanelText::WaitingForInstall);
}

}  // namespace velmora
