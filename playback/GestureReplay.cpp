#include "playback/GestureReplay.h"

#include <algorithm>
#include <cmath>

namespace velmora {
namespace {

// Client offsets beyond this cannot be on any screen; clamping them keeps the arithmetic of a hostile file
// inside int.
constexpr std::int64_t kCoordinateLimit = 1 << 20;
constexpr int kAbsoluteMax = 65535;

int ClampCoordinate(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, -kCoordinateLimit, kCoordinateLimit));
}

int Absolute(int pixel, int scale) {
    return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{pixel} * scale, 0, kAbsoluteMax));
}

// How each recorded button goes as synthetic input and as window messages; a button of no such number has
// none of them.
struct ButtonCodes {
    unsigned downFlag = 0, upFlag = 0, downMessage = 0, upMessage = 0, key = 0;
};

ButtonCodes CodesOf(std::int16_t button) {
    switch (button) {
        case kButtonLeft:
            return {kMouseLeftDown, kMouseLeftUp, kMessageLeftDown, kMessageLeftUp, kKeyLeft};
        case kButtonRight:
            return {kMouseRightDown, kMouseRightUp, kMessageRightDown, kMessageRightUp, kKeyRight};
        case kButtonMiddle:
            return {kMouseMiddleDown, kMouseMiddleUp, kMessageMiddleDown, kMessageMiddleUp, kKeyMiddle};
        default:
            return {};
    }
}

// Where a coordinate outside [0, size) goes: an eighth of the size inside the nearer edge.
int Inside(int value, int size) {
    constexpr int kInsetDivisor = 8;
    if (size <= 0 || (value >= 0 && value < size))
        return value;
    const int inset = size / kInsetDivisor;
    return value < 0 ? inset : size - 1 - inset;
}

int RoundHalfEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

}  // namespace

Point ScaleToDpi(Point recorded, int dpiNow, int dpiRecorded) {
    if (dpiNow <= 0 || dpiRecorded <= 0)
        return recorded;
    auto scale = [&](int value) {
        return ClampCoordinate(std::llround(static_cast<double>(value) * dpiNow / dpiRecorded));
    };
    return Point{scale(recorded.x), scale(recorded.y)};
}

Point BringInside(Point client, Size size) {
    return Point{Inside(client.x, size.width), Inside(client.y, size.height)};
}

void ComputeMouseScale(Size screen, SharedState& shared) {
    shared.mouseScaleX = screen.width > 0 ? RoundHalfEven(65535.0 / screen.width) : 0;
    shared.mouseScaleY = screen.height > 0 ? RoundHalfEven(65535.0 / screen.height) : 0;
}

void PutStepText(WindowSystem& windows, WindowId window, const std::string& text) {
    // Windows may refuse the foreground to a program the user is not using; the text is put either way.
    static_cast<void>(windows.SetForeground(window));
    windows.SetText(window, text);
}

GestureResult GestureReplay::Play(WindowId window, const std::vector<MouseEventRec>& recorded,
                                  const std::function<bool()>& pump, Delivery delivery) {
    if (recorded.size() <= 1)
        return GestureResult::Played;
    // A copy: the message pump may hand control to code that reads the next step.
    const std::vector<MouseEventRec> events = recorded;
    if (delivery == Delivery::Messages)
        return PlayByMessages(window, events, pump);
    last_ = Point{};
    held_ = 0;
    cover_ = 0;
    refused_ = false;
    bool pressed = false;
    for (const MouseEventRec& event : events) {
        const Point point{ClampCoordinate(event.x), ClampCoordinate(event.y)};
        bool going = true;
        if (event.kind == kKindPress) {
            if (!Press(window, event.button, point)) {
                ReleaseHeld();
                return GestureResult::Covered;
            }
            going = pump();
            if (going && !refused_) {
                pressed = true;
                shared_.lastWindow = window;
            }
        } else if (event.kind == kKindMove) {
            last_ = FromPress(point);
            static_cast<void>(Send(kMouseMove, last_));  // a refusal is seen below
            going = pump();
        } else if (event.kind == kKindRelease) {
            going = Release(event.button, FromPress(point), pump);
        }
        if (going && refused_) {
            ReleaseHeld();
            return GestureResult::Refused;
        }
        if (!going || !pump()) {
            ReleaseHeld();
            return GestureResult::Abandoned;
        }
    }
    ReleaseHeld();
    if (refused_)
        return GestureResult::Refused;
    return pressed ? GestureResult::Played : GestureResult::Covered;
}

GestureResult GestureReplay::PlayByMessages(WindowId window, const std::vector<MouseEventRec>& recorded,
                                            const std::function<bool()>& pump) {
    cover_ = 0;
    const auto press = std::find_if(recorded.begin(), recorded.end(),
                                    [](const MouseEventRec& event) { return event.kind == kKindPress; });
    if (press == recorded.end())
        return GestureResult::Covered;  // as by the mouse: a gesture without a press is never played
    const int dpi = windows_.Dpi(window);
    const Point client = BringInside(
        ScaleToDpi(Point{ClampCoordinate(press->x), ClampCoordinate(press->y)}, dpi, recordedDpi_),
        windows_.ClientSize(window));
    const WindowId control = windows_.ChildAt(window, client);
    if (!windows_.ReadyForInput(control))
        return GestureResult::NotReady;
    const Point at = windows_.ScreenToClient(control, windows_.ClientToScreen(window, client));
    // The gesture in the control's client pixels: the press where it lands, the rest relative to it.
    std::vector<MouseEventRec> events = recorded;
    for (MouseEventRec& event : events) {
        const Point point =
            event.kind == kKindPress
                ? at
                : ScaleToDpi(Point{ClampCoordinate(event.x), ClampCoordinate(event.y)}, dpi, recordedDpi_);
        event.x = point.x;
        event.y = point.y;
    }
    if (PressAsClick(windows_.KindOf(control), events, windows_.ClientSize(control))) {
        if (!windows_.PostClick(control))
            return GestureResult::Refused;
        shared_.lastWindow = window;
        return pump() ? GestureResult::Played : GestureResult::Abandoned;
    }
    unsigned keys = 0;
    Point last = at;
    const auto releaseHeld = [&] {
        // Posted in the order they go, so the release still follows what was posted before it.
        for (std::int16_t button : {kButtonLeft, kButtonRight, kButtonMiddle}) {
            if ((keys & CodesOf(button).key) == 0)
                continue;
            keys &= ~CodesOf(button).key;
            static_cast<void>(windows_.PostMouse(control, CodesOf(button).upMessage, last, keys));
        }
    };
    bool pressed = false;
    for (const MouseEventRec& event : events) {
        unsigned message = 0;
        if (event.kind == kKindPress) {
            last = at;
            keys |= CodesOf(event.button).key;
            message = CodesOf(event.button).downMessage;
        } else if (event.kind == kKindMove || event.kind == kKindRelease) {
            last = Point{ClampCoordinate(std::int64_t{at.x} + event.x),
                         ClampCoordinate(std::int64_t{at.y} + event.y)};
            if (event.kind == kKindRelease)
                keys &= ~CodesOf(event.button).key;
            message = event.kind == kKindMove ? kMessageMouseMove : CodesOf(event.button).upMessage;
        }
        if (message == 0)
            continue;
        if (!windows_.PostMouse(control, message, last, keys))
            return GestureResult::Refused;  // the control is gone: nothing more reaches it
        pressed = pressed || event.kind == kKindPress;
        if (!pump()) {
            releaseHeld();
            return GestureResult::Abandoned;
        }
    }
    releaseHeld();
    if (!pressed)
        return GestureResult::Covered;
    shared_.lastWindow = window;
    return GestureResult::Played;
}

bool GestureReplay::Press(WindowId window, std::int16_t button, Point recorded) {
    pressDpi_ = windows_.Dpi(window);
    const Point client = ScaleToDpi(recorded, pressDpi_, recordedDpi_);
    pressPoint_ = windows_.ClientToScreen(window, client);
    WindowId hit = windows_.FromPoint(pressPoint_);
    // A point off the client area that still hits the window (its title bar, its scroll bar) was pressed
    // there on purpose and stays.
    const Point inside = BringInside(client, windows_.ClientSize(window));
    if (hit != window && inside != client) {
        pressPoint_ = windows_.ClientToScreen(window, inside);
        hit = windows_.FromPoint(pressPoint_);
    }
    if (hit != window) {
        cover_ = hit;
        return false;
    }
    last_ = pressPoint_;
    // The button goes down where the cursor is, so a cursor the system did not move is not pressed.
    if (MoveCursor(pressPoint_) && CodesOf(button).downFlag != 0 && Send(CodesOf(button).downFlag, last_))
        held_ = button;
    return true;
}

bool GestureReplay::Release(std::int16_t button, Point screen, const std::function<bool()>& pump) {
    last_ = screen;
    // Not released where the cursor could not be taken: ReleaseHeld lets go of the button after the refusal.
    if (!MoveCursor(last_))
        return true;
    if (!pump())
        return false;
    if (CodesOf(button).upFlag != 0 && !Send(CodesOf(button).upFlag, last_))
        return true;
    if (button == held_)
        held_ = 0;
    return pump();
}

Point GestureReplay::FromPress(Point recorded) const {
    const Point offset = ScaleToDpi(recorded, pressDpi_, recordedDpi_);
    return Point{ClampCoordinate(std::int64_t{offset.x} + pressPoint_.x),
                 ClampCoordinate(std::int64_t{offset.y} + pressPoint_.y)};
}

bool GestureReplay::MoveCursor(Point screen) {
    refused_ = refused_ || !windows_.SetCursorPos(screen);
    return !refused_;
}

bool GestureReplay::Send(unsigned flags, Point screen) {
    const bool taken = windows_.MouseEvent(flags | kMouseAbsolute, Absolute(screen.x, shared_.mouseScaleX),
                                           Absolute(screen.y, shared_.mouseScaleY));
    refused_ = refused_ || !taken;
    return taken;
}

void GestureReplay::ReleaseHeld() {
    // A release the system refuses too is past helping; the gesture is then reported as refused.
    if (held_ != 0 && CodesOf(held_).upFlag != 0)
        static_cast<void>(Send(CodesOf(held_).upFlag, last_));
    held_ = 0;
}

}  // namespace velmora
