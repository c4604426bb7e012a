#include "platform/win32/WindowSystemWin32.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "tests/contract/WindowSystemContract.h"

namespace velmora {
namespace {

HWND H(WindowId window) {
    return reinterpret_cast<HWND>(window);
}

WindowId Id(HWND window) {
    return reinterpret_cast<WindowId>(window);
}

void EnsureClass(const std::wstring& name) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), name.c_str(), &existing))
        return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    wc.lpszClassName = name.c_str();
    RegisterClassExW(&wc);
}

// Real windows of this process; top-level ones are popups, so GetParent answers their owner.
class Win32World {
  public:
    WindowSystem& System() { return system_; }

    WindowId AddTopLevel(const std::string& className, const std::string& caption, Point origin, Size size,
                         WindowId owner = 0) {
        return Create(className, caption, WS_POPUP, origin, size, H(owner));
    }
    WindowId AddChild(WindowId parent, const std::string& className, const std::string& caption, Point origin,
                      Size size) {
        return Create(className, caption, WS_CHILD, origin, size, H(parent));
    }
    bool IsTopMost(WindowId window) { return (GetWindowLongW(H(window), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

  private:
    WindowId Create(const std::string& className, const std::string& caption, DWORD style, Point origin,
                    Size size, HWND parent) {
        std::wstring wideClass = Utf8ToWide(className);
        EnsureClass(wideClass);
        HWND window =
            CreateWindowExW(0, wideClass.c_str(), Utf8ToWide(caption).c_str(), style, origin.x, origin.y,
                            size.width, size.height, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
        EXPECT_NE(window, nullptr);
        ShowWindow(window, SW_SHOWNOACTIVATE);
        if (!(style & WS_CHILD))
            created_.emplace_back(window);
        return Id(window);
    }

    WindowSystemWin32 system_;
    std::vector<unique_hwnd> created_;  // children go with their parent
};

}  // namespace

namespace contract {
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, WindowSystemContract, Win32World);
}  // namespace contract

namespace {

// A window whose button reports its clicks, to see where synthetic input lands.
struct ClickTarget {
    static inline int clicks = 0;
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == 7)
            ++clicks;
        return DefWindowProcW(window, message, wParam, lParam);
    }
};

class WindowSystemWin32Input : public ::testing::Test {
  protected:
    void SetUp() override {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = ClickTarget::Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VelmoraClickTarget";
        RegisterClassExW(&wc);
        frame.reset(CreateWindowExW(0, L"VelmoraClickTarget", L"Target", WS_POPUP | WS_VISIBLE, 200, 150, 200,
                                    100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
        button = CreateWindowExW(0, L"BUTTON", L"Press", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 20, 100,
                                 30, frame.get(), reinterpret_cast<HMENU>(7), nullptr, nullptr);
        ShowWindow(frame.get(), SW_SHOWNOACTIVATE);
        ClickTarget::clicks = 0;
        windows.PumpMessages();
    }

    // Pumps until the condition holds or two seconds pass.
    template <typename Condition>
    bool PumpUntil(Condition condition) {
        DWORD start = GetTickCount();
        while (!condition()) {
            if (GetTickCount() - start > 2000)
                return false;
            windows.PumpMessages();
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
        return true;
    }

    WindowSystemWin32 windows;
    unique_hwnd frame;
    HWND button = nullptr;
};

TEST_F(WindowSystemWin32Input, PressAndReleaseAtTheCursorClickTheButtonUnderIt) {
    Point target = windows.ClientToScreen(Id(button), {50, 15});
    ASSERT_EQ(windows.FromPoint(target), Id(button));
    windows.SetCursorPos(target);
    windows.MouseEvent(kMouseLeftDown | kMouseAbsolute, 0, 0);
    windows.PumpMessages();
    windows.MouseEvent(kMouseLeftUp | kMouseAbsolute, 0, 0);
    EXPECT_TRUE(PumpUntil([] { return ClickTarget::clicks == 1; }));
}

TEST_F(WindowSystemWin32Input, AbsoluteMoveScalesFromTheNormalisedSpace) {
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    windows.SetCursorPos({0, 0});
    windows.MouseEvent(kMouseMove | kMouseAbsolute, 65535 * 300 / width, 65535 * 200 / height);
    ASSERT_TRUE(PumpUntil([&] { return windows.CursorPos().x != 0; }));
    Point at = windows.CursorPos();
    EXPECT_NEAR(at.x, 300, 1);
    EXPECT_NEAR(at.y, 200, 1);
}

TEST_F(WindowSystemWin32Input, PumpDispatchesWaitingMessagesAndLeavesTheQuitRequest) {
    static int seen = 0;
    seen = 0;
    SetWindowLongPtrW(frame.get(), GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(+[](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
                          if (m == WM_APP)
                              ++seen;
                          return DefWindowProcW(w, m, wp, lp);
                      }));
    PostMessageW(frame.get(), WM_APP, 0, 0);
    PostMessageW(frame.get(), WM_APP, 0, 0);
    PostQuitMessage(5);
    windows.PumpMessages();
    EXPECT_EQ(seen, 2);
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 5u);
}

TEST_F(WindowSystemWin32Input, TextSetOnAnEditControlReachesIt) {
    HWND edit = CreateWindowExW(0, L"EDIT", L"old", WS_CHILD | WS_VISIBLE, 20, 60, 150, 20, frame.get(),
                                nullptr, nullptr, nullptr);
    windows.SetText(Id(edit), "D:\\Ziel\\Ordner — ü");
    wchar_t buffer[64] = {};
    GetWindowTextW(edit, buffer, 64);
    EXPECT_EQ(WideToUtf8(buffer), "D:\\Ziel\\Ordner — ü");
}

}  // namespace
}  // namespace velmora
