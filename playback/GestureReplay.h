#pragma once
// Replaying a step's recorded mouse gesture on its window as synthetic input: the press at its point in the
// window's client area, then the moves and the release relative to the press, in absolute mouse coordinates.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/SharedState.h"
#include "platform/Types.h"
#include "platform/WindowSystem.h"
#include "scenario/ScenarioTypes.h"

namespace velmora {

// 65535 divided by the screen size, rounded to the nearest integer (ties to even): the multipliers from
// screen pixels to absolute mouse coordinates. 0 for a dimension that is not positive.
void ComputeMouseScale(Size screen, SharedState& shared);

// Brings the window to the foreground and sets its text (WM_SETTEXT).
void PutStepText(WindowSystem& windows, WindowId window, const std::string& text);

enum class GestureResult {
    Played,     // the press was replayed, or the step has at most one event and needs none
    Covered,    // another window lies over the press point (or the gesture holds no press)
    Abandoned,  // the step was skipped or stopped while messages were pumped
};

class GestureReplay {
  public:
    // Reads the mouse scale from shared and sets shared.lastWindow on a press.
    GestureReplay(WindowSystem& windows, SharedState& shared) : windows_(windows), shared_(shared) {}

    // Replays the events on the window. Messages are pumped between input events so that the panel's
    // buttons work in the middle of a gesture; pump answers false once the step has been abandoned. A
    // gesture that does not end normally never leaves a mouse button down.
    GestureResult Play(WindowId window, const std::vector<MouseEventRec>& events,
                       const std::function<bool()>& pump);
    // The window over the press point when the last gesture was Covered; 0 otherwise.
    WindowId CoveringWindow() const { return cover_; }

  private:
    bool Press(WindowId window, std::int16_t button, Point client);
    bool Release(std::int16_t button, Point screen, const std::function<bool()>& pump);
    Point FromPress(Point offset) const;
    void Send(unsigned flags, Point screen);
    void ReleaseHeld();

    WindowSystem& windows_;
    SharedState& shared_;
    // Moves and releases are relative to the last press, which a step without one takes from the step before.
    Point pressPoint_;
    Point last_;             // where the cursor was last sent
    std::int16_t held_ = 0;  // the button pressed and not yet released
    WindowId cover_ = 0;
};

}  // namespace velmora
