// The control panel and the statistics window as real windows, with the core's doubles behind them.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "platform/doubles/Fakes.h"
#include "platform/doubles/MemoryFileSystem.h"
#include "platform/doubles/MemoryProfileFile.h"
#include "platform/win32/Win32Codec.h"
#include "platform/win32/WindowSystemWin32.h"
#include "playback/win32/ControlPanel.h"
#include "playback/win32/ControlPanelIds.h"
#include "playback/win32/StatisticsWindow.h"
#include "playback/win32/StatisticsWindowIds.h"
#include "recording/win32/MouseHook.h"
#include "tests/win32/WindowTools.h"

namespace velmora {
namespace {

class PlaybackWindowsTest : public ::testing::Test {
  protected:
    MemoryFileSystem files;
    MemoryProfileFile profile{files};
    FakeDialogs dialogs;
    Language language{files, profile, dialogs};
    FakeClock clock;
    Statistics stats{clock};
};

// The panel playing scenarios held in memory, outside a direct run and without the statistics window, so
// what it hands back to the main window can be watched.
class ControlPanelTest : public PlaybackWindowsTest {
  protected:
    ControlPanelTest() {
        shared.noStatistics = true;
        callbacks.showMainWindow = [this](bool reloadList) {
            mainWindowShown.push_back(reloadList);
            return HWND{};
        };
        callbacks.closed = [this](int code) { exitCode = code; };
    }

    // Handles this thread's messages until the condition holds or ten seconds pass.
    static bool PumpUntil(const std::function<bool()>& condition) {
        return WaitUntil(
            [&] {
                MSG message;
                while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
                    DispatchMessageW(&message);
                return condition();
            },
            Deadline{10000});
    }

    // Opens the panel on a scenario whose only step waits for a window that never comes, and waits until
    // its installer has been started.
    HWND OpenOnEndlessScenario() {
        files.AddFile("C:\\Setups\\setup.exe");
        ScenarioImage image(codec, pathVars);
        image.NewImage("C:\\Setups\\setup.exe", "endless", 1024, 768);
        StepState endless;
        endless.windows.push_back(WindowRef{"VelmoraNoSuchClass", "Never", 1});
        endless.events.push_back(MouseEventRec{kButtonLeft, kKindPress, 5, 5});
        endless.events.push_back(MouseEventRec{kButtonLeft, kKindRelease, 0, 0});
        image.AppendStep(endless);
        EXPECT_TRUE(image.AppendInstallerPath("C:\\Setups\\setup.exe"));
        image.AppendCommandLine("");
        image.ScrambleImage();
        files.AddFile("C:\\Setups\\endless.SCN", image.Bytes());
        shared.runList = {"C:\\Setups\\endless.SCN"};
        HWND panel = OpenPanel();
        EXPECT_TRUE(PumpUntil([&] { return shell.calls.size() == 1; })) << "the installer was not started";
        return panel;
    }

    HWND OpenPanel() {
        EXPECT_TRUE(OpenPlayPanel(context, callbacks));
        return FindWindowW(panel_window::kClassName, nullptr);
    }

    FakeShell shell;
    FakeSystemInfo system;
    MemorySettingsStore settings;
    PathVariables pathVars{files};
    Win32Codec codec;
    ScenarioImage scenario{codec, pathVars};
    StepState step;
    SharedState shared;
    WindowSystemWin32 windows;
    PanelContext context{windows,  shell,    dialogs,  clock, files,  system, settings,
                         language, pathVars, scenario, step,  shared, stats};
    PanelCallbacks callbacks;
    std::vector<bool> mainWindowShown;
    std::optional<int> exitCode;
};

TEST_F(ControlPanelTest, AFinishedRunShowsTheMainWindowWithoutReloadingAndClosesThePanel) {
    shared.runList = {"C:\\Setups\\missing.SCN"};
    HWND panel = OpenPanel();
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return exitCode.has_value(); }));
    EXPECT_EQ(*exitCode, 2);
    EXPECT_EQ(mainWindowShown, std::vector<bool>{false});
    EXPECT_FALSE(IsWindow(panel));
    EXPECT_EQ(stats.records.back().Result, kStatFailed);
}

TEST_F(ControlPanelTest, TheStopButtonEndsTheRunAndReloadsTheMainWindow) {
    HWND panel = OpenOnEndlessScenario();
    ASSERT_NE(panel, nullptr);
    PostMessageW(panel, WM_COMMAND, MAKEWPARAM(panel_window::kStop, STN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(panel, panel_window::kStop)));
    ASSERT_TRUE(PumpUntil([&] { return exitCode.has_value(); }));
    EXPECT_EQ(*exitCode, 1);
    EXPECT_EQ(mainWindowShown, std::vector<bool>{true});
    EXPECT_EQ(stats.records.back().Result, kStatInterrupted);
}

TEST_F(ControlPanelTest, ClosingThePanelAnyOtherWayIsAStopThatKeepsTheStatistics) {
    shared.directRun = true;
    HWND panel = OpenOnEndlessScenario();
    ASSERT_NE(panel, nullptr);
    PostMessageW(panel, WM_CLOSE, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return exitCode.has_value(); }));
    EXPECT_EQ(*exitCode, 1);
    EXPECT_TRUE(mainWindowShown.empty()) << "a direct run never shows the main window";
    EXPECT_EQ(stats.RecordCount(), 1);
    EXPECT_EQ(stats.records.back().Result, kStatInterrupted);
}

// Without the mouse hook nothing would be recorded: the panel says so, starts no installer and hands back.
TEST_F(ControlPanelTest, ARecordingWhoseMouseHookCannotBeInstalledSaysSoAndDoesNotStart) {
    MouseHook other(nullptr, WM_NULL);  // the one hook a thread may have
    ASSERT_TRUE(other.Install());
    shared.installerPath = "C:\\Setups\\setup.exe";
    ASSERT_TRUE(OpenRecordPanel(context, callbacks));
    ASSERT_TRUE(PumpUntil([&] { return exitCode.has_value(); }));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              "Запись невозможна: Windows не позволила программе следить за мышью.");
    EXPECT_TRUE(shell.calls.empty()) << "the installer was started";
    EXPECT_EQ(mainWindowShown, std::vector<bool>{true});
}

// The statistics window is modal: a watcher thread acts on it while the test thread is in its loop.
class StatisticsWindowTest : public PlaybackWindowsTest {
  protected:
    StatisticsWindowTest() {
        // A package that ran across midnight: 23:59:30 to 00:00:45 the next day.
        clock.now = {2026, 12, 5, 23, 59, 30};
        stats.StartPackage("Office");
        clock.now = {2026, 12, 6, 0, 0, 45};
        stats.EndPackage(PackageEnd::Played);
        stats.StartPackage("Viewer");
        stats.EndPackage(PackageEnd::Skipped);
    }

    const WindowQuery statistics{.className = statistics_window::kClassName,
                                 .processId = GetCurrentProcessId()};
};

TEST_F(StatisticsWindowTest, AfterAnOrdinaryRunItListsThePackagesWithoutCountdownAndCloseOnlyCloses) {
    HWND owner =
        CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    std::vector<std::wstring> lines;
    bool countdownShown = true;
    bool ownerDisabled = false;
    std::wstring caption;
    WindowWatcher watcher(statistics, [&](HWND window) {
        lines = ListBoxLines(GetDlgItem(window, statistics_window::kList));
        RECT client{};
        RECT label{};
        GetClientRect(window, &client);
        GetWindowRect(GetDlgItem(window, statistics_window::kCountdown), &label);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&label), 2);
        countdownShown =
            IsWindowVisible(GetDlgItem(window, statistics_window::kCountdown)) && label.top < client.bottom;
        caption = WindowText(window);
        ownerDisabled = !IsWindowEnabled(owner);
        PressButton(window, statistics_window::kClose);
    });
    const StatisticsWindowResult result = ShowStatistics(owner, stats, language, false);

    ASSERT_TRUE(watcher.Join());
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].rfind(L"1   ОК  Office  0:01:15  ", 0), 0u);
    EXPECT_EQ(lines[1].rfind(L"2   MB  Viewer  0:00:00  ", 0), 0u);
    EXPECT_EQ(lines[2], L"");
    EXPECT_EQ(lines[3], L"Общее время установки - 0:01:15");
    EXPECT_EQ(caption, L"Статистика");
    EXPECT_FALSE(countdownShown);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_FALSE(result.endProgram);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(stats.RecordCount(), 0) << "the close button empties the statistics";
    DestroyWindow(owner);
}

TEST_F(StatisticsWindowTest, InADirectRunTheTitleBarOnlyClosesAndTheCloseButtonEndsTheProgram) {
    WindowWatcher titleBar(statistics, [](HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); });
    StatisticsWindowResult result = ShowStatistics(nullptr, stats, language, true);
    ASSERT_TRUE(titleBar.Join());
    EXPECT_FALSE(result.endProgram);
    EXPECT_EQ(stats.RecordCount(), 2);

    std::wstring countdown;
    WindowWatcher closeButton(statistics, [&](HWND window) {
        countdown = WindowText(GetDlgItem(window, statistics_window::kCountdown));
        PressButton(window, statistics_window::kClose);
    });
    result = ShowStatistics(nullptr, stats, language, true);
    ASSERT_TRUE(closeButton.Join());
    EXPECT_EQ(countdown, L"Автоматическое завершение программы через 4 сек");
    EXPECT_TRUE(result.endProgram);
    EXPECT_EQ(result.exitCode, 1);
}

}  // namespace
}  // namespace velmora
