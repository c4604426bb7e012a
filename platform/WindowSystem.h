#pragma once
#include <optional>
#include <string>

#include "platform/Types.h"

namespace velmora {

// Mouse input flags with the values the system's mouse_event uses.
enum MouseFlag : unsigned {
    kMouseMove = 0x0001,
    kMouseLeftDown = 0x0002,
    kMouseLeftUp = 0x0004,
    kMouseRightDown = 0x0008,
    kMouseRightUp = 0x0010,
    kMouseMiddleDown = 0x0020,
    kMouseMiddleUp = 0x0040,
    kMouseAbsolute = 0x8000,
};

// Mouse messages and the button keys they carry, with the values the system's messages use.
enum MouseMessage : unsigned {
    kMessageMouseMove = 0x0200,
    kMessageLeftDown = 0x0201,
    kMessageLeftUp = 0x0202,
    kMessageRightDown = 0x0204,
    kMessageRightUp = 0x0205,
    kMessageMiddleDown = 0x0207,
    kMessageMiddleUp = 0x0208,
};
enum MouseKey : unsigned { kKeyLeft = 0x0001, kKeyRight = 0x0002, kKeyMiddle = 0x0010 };

// What a control says it is (its answer to WM_GETDLGCODE and its button style), whatever its class is called:
// an installer's own button classes answer as buttons.
enum class ControlKind { PushButton, CheckBox, RadioButton, Other };

// Windows of other programs and synthetic input. Texts are UTF-8.
class WindowSystem {
  public:
    virtual ~WindowSystem() = default;
    virtual WindowId Desktop() = 0;
    // The system's FindWindowEx: the next child of parent (0: the top-level windows) after `after` whose
    // class and caption match; a missing class or caption matches any.
    virtual WindowId FindWindowEx(WindowId parent, WindowId after,
                                  const std::optional<std::string>& className,
                                  const std::optional<std::string>& caption) = 0;
    // The parent, or the owner of an owned top-level window; 0 for others.
    virtual WindowId Parent(WindowId window) = 0;
    virtual std::string Text(WindowId window) = 0;
    // What the window itself answers when asked for its text (WM_GETTEXT): for an edit field of another
    // program that is what the user typed, which Text does not see. Empty when it does not answer in time.
    virtual std::string ReadText(WindowId window) = 0;
    virtual std::string ClassName(WindowId window) = 0;
    virtual WindowId FromPoint(Point screen) = 0;
    virtual Point ClientToScreen(WindowId window, Point client) = 0;
    virtual Point ScreenToClient(WindowId window, Point screen) = 0;
    // The size of the window's client area; 0 by 0 for no window.
    virtual Size ClientSize(WindowId window) = 0;
    // The DPI the window is shown at, in the physical pixels this program measures: the effective DPI of
    // its monitor. Not the window's own DPI, which stays 96 for a program that is not DPI-aware, though the
    // system stretches its windows on a 144 DPI monitor all the same. 0 for no window.
    virtual int Dpi(WindowId window) = 0;
    // The process that made the window; 0 for no window.
    virtual SystemProcessId ProcessOf(WindowId window) = 0;
    virtual Point CursorPos() = 0;
    // False when the system did not move the cursor (the session is locked, another desktop takes the input).
    [[nodiscard]] virtual bool SetCursorPos(Point screen) = 0;
    // Absolute coordinates are in the 0..65535 space. False when the system did not take the event, for the
    // same reasons: then nothing was pressed, moved or released.
    [[nodiscard]] virtual bool MouseEvent(unsigned flags, int x, int y) = 0;
    [[nodiscard]] virtual bool SetForeground(WindowId window) = 0;
    virtual void SetText(WindowId window, const std::string& text) = 0;
    virtual void SetTopMost(WindowId window, bool topMost) = 0;

    // Whether a press would reach the window now: it and every window above it are visible and enabled, and
    // its thread answers at once, so it is not still building the page the window belongs to.
    virtual bool ReadyForInput(WindowId window) = 0;
    // Input without the cursor, for a desktop no click reaches.
    virtual ControlKind KindOf(WindowId window) = 0;
    // The deepest visible window under the client point among the window's descendants; the window itself
    // where none of them is there.
    virtual WindowId ChildAt(WindowId window, Point client) = 0;
    // The button's own click (BM_CLICK), posted, so that a button that opens a modal loop holds nobody up.
    // False when the window is gone.
    [[nodiscard]] virtual bool PostClick(WindowId window) = 0;
    // A mouse message posted at a point of the window's client area, with the buttons held (MouseKey).
    [[nodiscard]] virtual bool PostMouse(WindowId window, unsigned message, Point client, unsigned keys) = 0;
    // Tells a text field's parent that typing in it ended (EN_KILLFOCUS), which is when some installers take
    // its text; nothing for a window that is not a text field.
    virtual void EndTextEntry(WindowId window) = 0;

    // Saves what the screen shows now as a PNG file; false when it could not be taken or written.
    [[nodiscard]] virtual bool SaveScreenshot(const std::string& pngPath) = 0;
    // Handles the window messages that are waiting, then returns.
    virtual void PumpMessages() = 0;
};

}  // namespace velmora
