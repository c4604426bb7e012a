#include <gtest/gtest.h>

#include "base/NoticeTexts.h"
#include "platform/win32/WideText.h"
#include "tests/unit/TextDoubles.h"
#include "tests/win32/WindowTools.h"
#include "ui/win32/NoticeWindowIds.h"
#include "ui/win32/NoticeWindows.h"

namespace velmora {
namespace {

using namespace notice_window;

struct HintCase {
    const char* name;
    void (*show)(const Language&, SettingsStore&, HINSTANCE);
    const char* setting;
    std::wstring caption;
    int lines;
};

void PrintTo(const HintCase& hint, std::ostream* out) {
    *out << hint.name;
}

// No language file: the built-in texts.
class NoticeWindowsTest : public ::testing::TestWithParam<HintCase>, public TextDoubles {
  protected:
    unique_hmodule program = LoadProgramResources();  // the pictures
    MemorySettingsStore settings;
    // A window of the program that the hint keeps from taking input while it is up.
    unique_hwnd other{CreateWindowExW(0, L"STATIC", L"Other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300,
                                      200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)};
};

TEST_P(NoticeWindowsTest, OnlyTheButtonStoresTheCheckBoxAndTheOtherWindowsWaitMeanwhile) {
    const HintCase& hint = GetParam();
    const WindowQuery query{
        .className = kClassName, .caption = hint.caption, .processId = GetCurrentProcessId()};
    // Closed by its close box: nothing stored.
    bool otherEnabled = true;
    WindowWatcher closeBox(query, [&](HWND window) {
        otherEnabled = IsWindowEnabled(other.get());
        EXPECT_EQ(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST, WS_EX_TOPMOST);
        EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
        for (int i = 0; i < hint.lines; ++i)
            EXPECT_FALSE(WindowText(GetDlgItem(window, kFirstLine + i)).empty()) << i;
        EXPECT_EQ(GetDlgItem(window, kFirstLine + hint.lines), nullptr);
        SendMessageW(GetDlgItem(window, kShowAgain), BM_SETCHECK, BST_CHECKED, 0);
        PostMessageW(window, WM_CLOSE, 0, 0);
    });
    hint.show(language, settings, program.get());
    ASSERT_TRUE(closeBox.Join());
    EXPECT_FALSE(otherEnabled);
    EXPECT_TRUE(IsWindowEnabled(other.get()));
    EXPECT_TRUE(settings.values.empty());

    // Closed by its button, ticked, then not ticked.
    for (const bool ticked : {true, false}) {
        WindowWatcher button(query, [&](HWND window) {
            SaveScreenshot(window, Utf8ToWide(hint.name));
            if (ticked)
                SendMessageW(GetDlgItem(window, kShowAgain), BM_SETCHECK, BST_CHECKED, 0);
            PressButton(window, kClose);
        });
        hint.show(language, settings, program.get());
        ASSERT_TRUE(button.Join());
        EXPECT_EQ(settings.values[std::string("View\\") + hint.setting], ticked ? "1" : "0");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Hints, NoticeWindowsTest,
    ::testing::Values(HintCase{"recording-hint", &ShowRecordingHint, "FirstTip", L"Velmora Runwright", 2},
                      HintCase{"pause-hint", &ShowPauseHint, "PauseTip", L"Velmora Runwright - пауза", 3}),
    [](const auto& info) { return info.index == 0 ? "Recording" : "Pause"; });

}  // namespace
}  // namespace velmora
