#pragma once
#include "platform/win32/Win32.h"
#include "platform/WindowSystem.h"

namespace velmora {

// Windows of other programs and synthetic mouse input through user32.
class Win32WindowSystem : public WindowSystem {
  public:
    WindowId Desktop() override;
    WindowId FindWindowEx(WindowId parent, WindowId after, const std::optional<std::string>& className,
                          const std::optional<std::string>& caption) override;
    WindowId Parent(WindowId window) override;
    std::string Text(WindowId window) override;
    std::string ReadText(WindowId window) override;
    bool SaveScreenshot(const std::string& pngPath) override;
    std::string ClassName(WindowId window) override;
    WindowId FromPoint(Point screen) override;
    Point ClientToScreen(WindowId window, Point client) override;
    Point ScreenToClient(WindowId window, Point screen) override;
    Size ClientSize(WindowId window) override;
    int Dpi(WindowId window) override;
    SystemProcessId ProcessOf(WindowId window) override;
    Point CursorPos() override;
    bool SetCursorPos(Point screen) override;
    bool MouseEvent(unsigned flags, int x, int y) override;
    bool SetForeground(WindowId window) override;
    void SetText(WindowId window, const std::string& text) override;
    void SetTopMost(WindowId window, bool topMost) override;
    bool ReadyForInput(WindowId window) override;
    ControlKind KindOf(WindowId window) override;
    WindowId ChildAt(WindowId window, Point client) override;
    bool PostClick(WindowId window) override;
    bool PostMouse(WindowId window, unsigned message, Point client, unsigned keys) override;
    void EndTextEntry(WindowId window) override;
    void PumpMessages() override;
};

}  // namespace velmora
