#include "playback/win32/StatisticsWindow.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/doubles/Fakes.h"
#include "platform/doubles/MemoryFileSystem.h"
#include "platform/doubles/MemoryProfileFile.h"
#include "platform/win32/WideText.h"
#include "playback/win32/StatisticsWindowIds.h"

namespace velmora {
namespace {

// Acts on the statistics window from inside its own modal loop: a thread timer fires there, finds the
// window and hands it to the check.
class WhileShown {
  public:
    explicit WhileShown(std::function<void(HWND)> check) {
        check_ = std::move(check);
        timer_ = SetTimer(nullptr, 0, 50, &WhileShown::Tick);
    }
    ~WhileShown() { KillTimer(nullptr, timer_); }
    static inline bool ran = false;

  private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        HWND window = FindWindowW(stat_window::kClassName, nullptr);
        if (!window || ran || !IsWindowVisible(window))
            return;
        ran = true;
        check_(window);
    }
    static inline std::function<void(HWND)> check_;
    UINT_PTR timer_ = 0;
};

std::vector<std::string> ListLines(HWND window) {
    HWND list = GetDlgItem(window, stat_window::kList);
    std::vector<std::string> lines;
    const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t line[256] = {};
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line));
        lines.push_back(WideToUtf8(line));
    }
    return lines;
}

std::string Text(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return WideToUtf8(text);
}

class StatisticsWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WhileShown::ran = false;
        // A package that ran across midnight: 23:59:30 to 00:00:45 the next day.
        clock.now = {2026, 12, 5, 23, 59, 30};
        stats.StartPackage("Office");
        clock.now = {2026, 12, 6, 0, 0, 45};
        stats.EndPackage(kStatDone);
        stats.StartPackage("Viewer");
        stats.EndPackage(kStatInterrupted);
    }

    FakeClock clock;
    Statistics stats{clock};
    MemoryFileSystem files;
    MemoryProfileFile profile{files};
    FakeDialogs dialogs;
    Language language{files, profile, dialogs};
};

TEST_F(StatisticsWindowTest, AfterAnOrdinaryRunItListsThePackagesWithoutCountdownAndCloseOnlyCloses) {
    std::vector<std::string> lines;
    bool countdownShown = true;
    std::string caption;
    WhileShown shown([&](HWND window) {
        lines = ListLines(window);
        countdownShown = IsWindowVisible(GetDlgItem(window, stat_window::kCountdown)) && [&] {
            RECT client{}, label{};
            GetClientRect(window, &client);
            GetWindowRect(GetDlgItem(window, stat_window::kCountdown), &label);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&label), 2);
            return label.top < client.bottom;
        }();
        caption = Text(window);
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(stat_window::kClose, BN_CLICKED), 0);
    });
    const StatisticsWindowResult result = ShowStatistics(nullptr, stats, language, false);

    ASSERT_TRUE(WhileShown::ran);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].rfind("1   \xD0\x9E\xD0\x9A  Office  0:01:15  ", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1].rfind("2   MB  Viewer  0:00:00  ", 0), 0u) << lines[1];
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "Общее время установки - 0:01:15");
    EXPECT_EQ(caption, "Статистика");
    EXPECT_FALSE(countdownShown);
    EXPECT_FALSE(result.endProgram);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(stats.RecordCount(), 0) << "the close button empties the statistics";
}

TEST_F(StatisticsWindowTest, InADirectRunTheCloseButtonEndsTheProgramWithTheRunsExitCode) {
    std::string countdown;
    WhileShown shown([&](HWND window) {
        countdown = Text(GetDlgItem(window, stat_window::kCountdown));
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(stat_window::kClose, BN_CLICKED), 0);
    });
    const StatisticsWindowResult result = ShowStatistics(nullptr, stats, language, true);
    ASSERT_TRUE(WhileShown::ran);
    EXPECT_EQ(countdown, "Автоматическое завершение программы через 4 сек");
    EXPECT_TRUE(result.endProgram);
    EXPECT_EQ(result.exitCode, 1);
}

TEST_F(StatisticsWindowTest, TheTitleBarButtonClosesWithoutEmptyingTheStatistics) {
    WhileShown shown([&](HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); });
    const StatisticsWindowResult result = ShowStatistics(nullptr, stats, language, true);
    ASSERT_TRUE(WhileShown::ran);
    EXPECT_FALSE(result.endProgram);
    EXPECT_EQ(stats.RecordCount(), 2);
}

TEST_F(StatisticsWindowTest, TheOwnerIsDisabledWhileTheWindowIsOpenAndEnabledAfterwards) {
    HWND owner =
        CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    bool disabledMeanwhile = false;
    WhileShown shown([&](HWND window) {
        disabledMeanwhile = !IsWindowEnabled(owner);
        PostMessageW(window, WM_CLOSE, 0, 0);
    });
    ShowStatistics(owner, stats, language, false);
    EXPECT_TRUE(disabledMeanwhile);
    EXPECT_TRUE(IsWindowEnabled(owner));
    DestroyWindow(owner);
}

}  // namespace
}  // namespace velmora
