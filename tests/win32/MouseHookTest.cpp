#include "recording/win32/MouseHook.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/win32/WindowTools.h"

namespace velmora {
namespace {

constexpr UINT kEventsWaiting = WM_APP + 7;

// The hook only notes an event and posts one message for a batch; the events reach whoever takes them after
// the hook call, with the point where they happened and, for a press, the window that was under it.
TEST(MouseHookTest, NotesEventsAndLeavesTheWorkToTheWindowItPostsTo) {
    unique_hwnd window(CreateWindowExW(WS_EX_TOPMOST, L"EDIT", L"Target", WS_POPUP | WS_VISIBLE, 300, 300,
                                       200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    MouseHook hook(window.get(), kEventsWaiting);
    ASSERT_TRUE(hook.Install());
    SetCursorPos(350, 340);
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    int posted = 0;
    std::vector<HookedMouseEvent> events;
    WaitUntil([&] {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == kEventsWaiting && message.hwnd == window.get()) {
                ++posted;
                for (const HookedMouseEvent& event : hook.TakeEvents())
                    events.push_back(event);
            }
            DispatchMessageW(&message);
        }
        return std::any_of(events.begin(), events.end(), [](auto& e) { return e.kind == kKindRelease; });
    });
    hook.Remove();
    EXPECT_LE(posted, static_cast<int>(events.size()));
    auto press = std::find_if(events.begin(), events.end(), [](auto& e) { return e.kind == kKindPress; });
    ASSERT_NE(press, events.end());
    EXPECT_EQ(press->screen, (Point{350, 340}));
    EXPECT_EQ(press->window, reinterpret_cast<WindowId>(window.get()));
    EXPECT_TRUE(std::any_of(press, events.end(), [](auto& e) { return e.kind == kKindRelease; }));
    EXPECT_TRUE(hook.TakeEvents().empty());
}

}  // namespace
}  // namespace velmora
