#include "playback/win32/ControlPanel.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

#include "platform/doubles/Fakes.h"
#include "platform/doubles/MemoryFileSystem.h"
#include "platform/doubles/MemoryProfileFile.h"
#include "platform/win32/Win32Codec.h"
#include "platform/win32/WindowSystemWin32.h"
#include "playback/win32/ControlPanelIds.h"

namespace velmora {
namespace {

// Handles the thread's messages until the condition holds or ten seconds pass.
bool PumpUntil(const std::function<bool()>& condition) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (GetTickCount() - start > 10000)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

// The panel playing scenarios held in memory, outside a direct run and without the statistics window, so
// what it hands back to the main window can be watched.
class ControlPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        shared.noStatistics = true;
        callbacks.showMainWindow = [this](bool reloadList) {
            mainWindowShown.push_back(reloadList);
            return HWND{};
        };
        callbacks.closed = [this](int code) { exitCode = code; };
    }

    // A scenario whose only step waits for a window that never comes.
    void AddEndlessScenario(const std::string& path) {
        files.AddFile("C:\\Setups\\setup.exe");
        ScenarioImage image(codec, pathVars);
        image.NewImage("C:\\Setups\\setup.exe", "endless", 1024, 768);
        StepState endless;
        endless.windows.push_back(WindowRef{"VelmoraNoSuchClass", "Never", 1});
        endless.events.push_back(MouseEventRec{kButtonLeft, kKindPress, 5, 5});
        endless.events.push_back(MouseEventRec{kButtonLeft, kKindRelease, 0, 0});
        image.AppendStep(endless);
        ASSERT_TRUE(image.AppendInstallerPath("C:\\Setups\\setup.exe"));
        image.AppendCommandLine("");
        image.ScrambleImage();
        files.AddFile(path, image.Bytes());
    }

    HWND OpenPanel() {
        EXPECT_TRUE(OpenPlayPanel(context, callbacks));
        return FindWindowW(panel_window::kClassName, nullptr);
    }

    MemoryFileSystem files;
    MemoryProfileFile profile{files};
    FakeDialogs dialogs;
    Language language{files, profile, dialogs};
    FakeShell shell;
    FakeSystemInfo system;
    MemorySettingsStore settings;
    PathVariables pathVars{files};
    Win32Codec codec;
    ScenarioImage scenario{codec, pathVars};
    StepState step;
    SharedState shared;
    FakeClock clock;
    Statistics stats{clock};
    WindowSystemWin32 windows;
    PanelContext context{windows,  shell,    files, system, settings, language,
                         pathVars, scenario, step,  shared, stats};
    PanelCallbacks callbacks;
    std::vector<bool> mainWindowShown;
    std::optional<int> exitCode;
};

TEST_F(ControlPanelTest, AFinishedRunShowsTheMainWindowWithoutReloadingAndClosesThePanel) {
    shared.runList = {"C:\\Setups\\missing.SCN"};
    HWND panel = OpenPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_NE(GetWindowLongW(panel, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    ASSERT_TRUE(PumpUntil([&] { return exitCode.has_value(); }));
    EXPECT_EQ(*exitCode, 2);
    EXPECT_EQ(mainWindowShown, std::vector<bool>{false});
    EXPECT_FALSE(IsWindow(panel));
    EXPECT_EQ(stats.records.back().Result, kStatFailed);
}

TEST_F(ControlPanelTest, TheStopButtonEndsTheRunAndReloadsTheMainWindow) {
    AddEndlessScenario("C:\\Setups\\endless.SCN");
    shared.runList = {"C:\\Setups\\endless.SCN"};
    HWND panel = OpenPanel();
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return shell.calls.size() == 1; })) << "the installer was not started";
    PostMessageW(panel, WM_COMMAND, MAKEWPARAM(panel_window::kStop, STN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(panel, panel_window::kStop)));
    ASSERT_TRUE(PumpUntil([&] { return exitCode.has_value(); }));
    EXPECT_EQ(*exitCode, 1);
    EXPECT_EQ(mainWindowShown, std::vector<bool>{true});
    EXPECT_EQ(stats.records.back().Result, kStatInterrupted);
}

TEST_F(ControlPanelTest, ClosingThePanelAnyOtherWayIsAStopThatKeepsTheStatistics) {
    AddEndlessScenario("C:\\Setups\\endless.SCN");
    shared.runList = {"C:\\Setups\\endless.SCN"};
    shared.directRun = true;
    HWND panel = OpenPanel();
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return shell.calls.size() == 1; }));
    PostMessageW(panel, WM_CLOSE, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return exitCode.has_value(); }));
    EXPECT_EQ(*exitCode, 1);
    EXPECT_TRUE(mainWindowShown.empty()) << "a direct run never shows the main window";
    EXPECT_EQ(stats.RecordCount(), 1);
    EXPECT_EQ(stats.records.back().Result, kStatInterrupted);
}

}  // namespace
}  // namespace velmora
