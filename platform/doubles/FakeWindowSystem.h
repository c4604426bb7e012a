#pragma once
// A window tree in memory for tests of code that finds windows and sends them input. Windows are plain
// records; the fake never moves or changes a window by itself except through SetText.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/WindowSystem.h"

namespace velmora {

class FakeWindowSystem : public WindowSystem {
  public:
    static constexpr WindowId kDesktop = 0x10010;

    struct Window {
        std::string className;
        std::string caption;
        WindowId parent = 0;                           // a child's parent; 0 for top-level windows
        WindowId owner = 0;                            // a top-level window's owner
        int left = 0, top = 0, width = 0, height = 0;  // screen rectangle
        Point clientOrigin;                            // screen point of the client area's top-left
        bool visible = true;
        bool enabled = true;
        ControlKind kind = ControlKind::Other;
        bool textField = false;  // EndTextEntry tells its parent
        WindowId coveredBy = 0;  // FromPoint answers this window wherever this one would be hit
        int dpi = 96;
        SystemProcessId process = 0;
    };

    // Adds a window and returns its id. Siblings keep the order in which they are added: for children this is
    // the order FindWindowEx and FromPoint visit them; a new top-level window goes in front of the others,
    // as a newly created window does. The client origin defaults to the rectangle's top-left corner.
    WindowId AddTopLevel(const std::string& className, const std::string& caption, int left, int top,
                         int width, int height, WindowId owner = 0);
    WindowId AddChild(WindowId parent, const std::string& className, const std::string& caption, int left,
                      int top, int width, int height);
    void Remove(WindowId window);  // with its children
    Window& Get(WindowId window);  // the window must exist (std::out_of_range otherwise: a fault in the test)

    // --- WindowSystem ---
    WindowId Desktop() override { return kDesktop; }
    // Parent 0 or the desktop: the top-level windows. A class compares like the system's (without regard to
    // letter case), and so does a caption; a missing one matches any. An `after` that is not a child of
    // parent finds nothing.
    WindowId FindWindowEx(WindowId parent, WindowId after, const std::optional<std::string>& className,
                          const std::optional<std::string>& caption) override;
    WindowId Parent(WindowId window) override;
    std::string Text(WindowId window) override;
    // The fake's windows hold one text, which both answer.
    std::string ReadText(WindowId window) override { return Text(window); }
    std::string ClassName(WindowId window) override;
    // The deepest visible window whose rectangle holds the point, front windows first; then its coveredBy
    // switch. The desktop over bare desktop.
    WindowId FromPoint(Point screen) override;
    Point ClientToScreen(WindowId window, Point client) override;
    Point ScreenToClient(WindowId window, Point screen) override;
    // From the client origin to the rectangle's bottom-right corner.
    Size ClientSize(WindowId window) override;
    int Dpi(WindowId window) override;
    SystemProcessId ProcessOf(WindowId window) override;
    Point CursorPos() override { return cursor; }
    bool SetCursorPos(Point screen) override;
    bool MouseEvent(unsigned flags, int x, int y) override;
    bool SetForeground(WindowId window) override;
    void SetText(WindowId window, const std::string& text) override;
    void SetTopMost(WindowId window, bool topMost) override;
    bool SaveScreenshot(const std::string& pngPath) override {
        screenshots.push_back(pngPath);
        return screenshotResult;
    }
    // Visible and enabled up to the top-level window.
    bool ReadyForInput(WindowId window) override;
    ControlKind KindOf(WindowId window) override;
    WindowId ChildAt(WindowId window, Point client) override;
    bool PostClick(WindowId window) override;
    bool PostMouse(WindowId window, unsigned message, Point client, unsigned keys) override;
    void EndTextEntry(WindowId window) override;
    // Runs onPump (if set), so a test can act in the middle of a gesture.
    void PumpMessages() override;

    // --- what happened ---
    struct MouseInput {
        unsigned flags;
        int x, y;
        Point cursorAtEvent;
        bool operator==(const MouseInput&) const = default;
    };
    struct TextSet {
        WindowId window;
        std::string text;
        bool operator==(const TextSet&) const = default;
    };
    struct TopMostCall {
        WindowId window;
        bool topMost;
        bool operator==(const TopMostCall&) const = default;
    };
    struct PostedMouse {
        WindowId window;
        unsigned message;
        Point client;
        unsigned keys;
        bool operator==(const PostedMouse&) const = default;
    };
    Point cursor;
    std::vector<MouseInput> mouseEvents;
    std::vector<WindowId> clicksPosted;
    std::vector<PostedMouse> mousePosted;
    std::vector<WindowId> textEntriesEnded;
    std::vector<TextSet> textsSet;
    std::vector<WindowId> foregroundCalls;
    std::vector<TopMostCall> topMostCalls;
    std::function<void()> onPump;
    bool inputRefused = false;             // the cursor stays and no event is taken, as in a locked session
    std::vector<std::string> screenshots;  // the paths SaveScreenshot was asked for
    bool screenshotResult = true;
    // Every FindWindowEx call, for tests that bound the work of a search.
    int findCalls = 0;

  private:
    WindowId NewWindow(const std::string& className, const std::string& caption, int left, int top, int width,
                       int height);
    std::vector<WindowId>& Siblings(WindowId parent);
    WindowId HitTest(const std::vector<WindowId>& siblings, Point screen);
    std::map<WindowId, Window> windows_;
    std::map<WindowId, std::vector<WindowId>> children_;  // 0: the top-level windows, front first
    WindowId next_ = 0x20000;
};

}  // namespace velmora
