#pragma once
// Replaying a step's recorded mouse gesture on its window as synthetic input: the press at its point in the
// window's client area, then the moves and the release relative to the press, in absolute mouse coordinates.
// Points recorded on a screen of another DPI are scaled to the window's DPI now.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/SharedState.h"
#include "platform/Types.h"
#include "platform/WindowSystem.h"
#include "playback/Delivery.h"
#include "scenario/ScenarioTypes.h"

namespace velmora {

// 65535 divided by the screen size, rounded to the nearest integer (ties to even): the multipliers from
// screen pixels to absolute mouse coordinates. 0 for a dimension that is not positive.
void ComputeMouseScale(Size screen, SharedState& shared);

// Brings the window to the foreground and sets its text (WM_SETTEXT).
void PutStepText(WindowSystem& windows, WindowId window, const std::string& text);

// A recorded point or offset in the DPI a window is shown at now: scaled by now / recorded and rounded to
// the nearest pixel; unchanged when either DPI is unknown (0).
Point ScaleToDpi(Point recorded, int dpiNow, int dpiRecorded);

// A press point brought inside a client area of this size. Only a coordinate that lies outside moves: into
// the area inset by an eighth of its size, so that it lands on the control and not on its border (the size
// the control was recorded at is not known, so the inset follows the size it has). An empty area keeps the
// point.
Point BringInside(Point client, Size size);

enum class GestureResult {
    Played,     // the press was replayed, or the step has at most one event and needs none
    Covered,    // another window lies over the press point (or the gesture holds no press)
    Refused,    // the system did not take all of the input (a locked session): no click can be counted
    NotReady,   // the window under the press point, or one above it, is hidden or disabled
    Abandoned,  // the step was skipped or stopped while messages were pumped
};

class GestureReplay {
  public:
    // Reads the mouse scale from shared and sets shared.lastWindow on a press.
    GestureReplay(WindowSystem& windows, SharedState& shared) : windows_(windows), shared_(shared) {}

    // The DPI the scenario's points were recorded at (0: unknown, as in older files).
    void SetRecordedDpi(int dpi) { recordedDpi_ = dpi; }

    // Replays the events on the window. Messages are pumped between input events so that the panel's
    // buttons work in the middle of a gesture; pump answers false once the step has been abandoned. A
    // gesture that does not end normally never leaves a mouse button down. A press point, scaled to the
    // window's DPI, that lies off the window's client area and off the window itself (an older file, an
    // installer that scales its own way) is brought inside the client area before it is checked for
    // another window over it. A cursor move or an event the system refuses ends the gesture at once.
    //
    // By messages no cursor moves and nothing is hit-tested on the screen: the press goes to the window's
    // descendant under its point, as that control's own click where PressAsClick says so, else as mouse
    // messages posted at its client points; a hidden or disabled control there is NotReady.
    GestureResult Play(WindowId window, const std::vector<MouseEventRec>& events,
                       const std::function<bool()>& pump, Delivery delivery = Delivery::Mouse);
    // The window over the press point when the last gesture was Covered; 0 otherwise.
    WindowId CoveringWindow() const { return cover_; }

  private:
    GestureResult PlayByMessages(WindowId window, const std::vector<MouseEventRec>& events,
                                 const std::function<bool()>& pump);
    bool Press(WindowId window, std::int16_t button, Point recorded);
    bool Release(std::int16_t button, Point screen, const std::function<bool()>& pump);
    Point FromPress(Point recorded) const;
    bool MoveCursor(Point screen);
    bool Send(unsigned flags, Point screen);
    void ReleaseHeld();

    WindowSystem& windows_;
    SharedState& shared_;
    // Moves and releases are relative to the last press, which a step without one takes from the step before.
    Point pressPoint_;
    Point last_;  // where the cursor was last sent
    int recordedDpi_ = 0;
    int pressDpi_ = 0;       // the DPI of the last press's window, which its moves and release are scaled to
    std::int16_t held_ = 0;  // the button pressed and not yet released
    WindowId cover_ = 0;
    bool refused_ = false;  // the system refused some input of this gesture
};

}  // namespace velmora
