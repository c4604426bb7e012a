// The program's windows as real windows in this process, with the core's doubles behind them: the control
// panel playing and recording, the statistics window, every window following a DPI change, the about window
// and the hints.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>
#include <set>
#include <vector>

#include "base/ProjectAddresses.h"
#include "discs/win32/DiscWizard.h"
#include "discs/win32/DiscWizardIds.h"
#include "packages/win32/MainWindow.h"
#include "packages/win32/PackageDialog.h"
#include "packages/win32/PackageDialogIds.h"
#include "paths/win32/PathEditorIds.h"
#include "paths/win32/PathEditorWindow.h"
#include "platform/doubles/MemoryProtectedFiles.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Codec.h"
#include "platform/win32/Win32WindowSystem.h"
#include "playback/win32/ControlPanel.h"
#include "playback/win32/ControlPanelIds.h"
#include "playback/win32/StatisticsWindow.h"
#include "playback/win32/StatisticsWindowIds.h"
#include "recording/win32/MouseHook.h"
#include "tests/unit/TextDoubles.h"
#include "tests/win32/WindowTools.h"
#include "ui/win32/AboutWindow.h"
#include "ui/win32/AboutWindowIds.h"
#include "ui/win32/NoticeWindowIds.h"
#include "ui/win32/NoticeWindows.h"
#include "ui/win32/ProgressWindow.h"

namespace velmora {
namespace {

// Says, for every installer started, whether the control panel's window was there yet.
struct WatchedShell : FakeShell {
    std::optional<ProcessId> Start(const std::string& file, const std::string& parameters,
                                   const std::string& workingFolder, WindowId owner) override {
        panelAtStart.push_back(FindWindowW(panel_window::kClassName, nullptr) != nullptr);
        return FakeShell::Start(file, parameters, workingFolder, owner);
    }
    std::vector<bool> panelAtStart;
};

class ProgramWindowsTest : public ::testing::Test, public TextDoubles {
  protected:
    FakeClock clock;
    Statistics stats{clock};
    WatchedShell shell;
    FakeSystemInfo system;
    MemorySettingsStore settings;
    PathVariables pathVars{files};
    Win32Codec codec;
    ScenarioImage scenario{codec, pathVars};
    StepState step;
    SharedState shared;
    Win32WindowSystem windows;
    FakeLogonTasks logonTasks;
    FakeSystemRestart restart;
    FakeDesktopInfo desktop;
    MemoryProtectedFiles vault{files};
    PanelContext context{windows,  shell, dialogs, clock, files,      system,  settings, language, pathVars,
                         scenario, step,  shared,  stats, logonTasks, restart, vault,    desktop};
};

// The panel playing scenarios held in memory, outside a direct run and without the statistics window, so
// what it hands back to the main window can be watched.
class ControlPanelTest : public ProgramWindowsTest {
  protected:
    ControlPanelTest() {
        shared.noStatistics = true;
        callbacks.showMainWindow = [this](bool reloadList) {
            mainWindowShown.push_back(reloadList);
            return HWND{};
        };
        callbacks.closed = [this](int code) { exitCode = code; };
    }

    // A scenario of an installer with these steps; its path. One without steps starts a batch file.
    std::string AddScenario(const std::string& name, std::vector<StepState> steps) {
        const std::string installer = steps.empty() ? "C:\\Setups\\setup.bat" : "C:\\Setups\\setup.exe";
        files.AddFile(installer);
        ScenarioImage image(codec, pathVars);
        image.NewImage(installer, name, 1024, 768);
        for (StepState& one : steps)
            image.AppendStep(one);
        EXPECT_TRUE(image.AppendInstallerPath(installer));
        image.AppendCommandLine("");
        image.ScrambleImage();
        const std::string path = "C:\\Setups\\" + name + ".SCN";
        files.AddFile(path, image.Bytes());
        return path;
    }

    // Opens the panel on a scenario whose only step waits for a window that never comes, and waits until
    // its installer has been started.
    HWND OpenOnEndlessScenario() {
        StepState endless;
        endless.windows.push_back(WindowRef{"VelmoraNoSuchClass", "Never", 1});
        endless.events.push_back(MouseEventRec{kButtonLeft, kKindPress, 5, 5});
        endless.events.push_back(MouseEventRec{kButtonLeft, kKindRelease, 0, 0});
        shared.runList = {AddScenario("endless", {endless})};
        EXPECT_TRUE(OpenPlayPanel(context, callbacks));
        EXPECT_TRUE(PumpUntil([&] { return shell.calls.size() == 1; })) << "the installer was not started";
        return FindWindowW(panel_window::kClassName, nullptr);
    }

    PanelCallbacks callbacks;
    std::vector<bool> mainWindowShown;
    std::optional<int> exitCode;
};

// The first installer loads while the panel is made; what the player asked of the panel's timers meanwhile
// still happens: the next package starts once the first has ended, and the run ends by itself.
TEST_F(ControlPanelTest, TheFirstInstallerStartsBeforeThePanelIsMadeAndTheRunGoesOn) {
    shared.runList = {AddScenario("first", {}), AddScenario("second", {})};
    ASSERT_TRUE(OpenPlayPanel(context, callbacks));
    EXPECT_EQ(shell.panelAtStart, std::vector<bool>{false});
    ASSERT_TRUE(PumpUntil([&] { return exitCode.has_value(); }));
    EXPECT_EQ(shell.panelAtStart, (std::vector<bool>{false, true}));
    EXPECT_EQ(*exitCode, 0);
    EXPECT_EQ(stats.RecordCount(), 2);
}

// What a stop leaves in the statistics and the exit code is checked end to end, in a direct run.
TEST_F(ControlPanelTest, TheStopButtonEndsTheRunAndReloadsTheMainWindow) {
    HWND panel = OpenOnEndlessScenario();
    ASSERT_TRUE(PressButton(panel, panel_window::kStop));
    ASSERT_TRUE(PumpUntil([&] { return exitCode.has_value(); }));
    EXPECT_EQ(mainWindowShown, std::vector<bool>{true});
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
    EXPECT_EQ(stats.records.back().result, kStatInterrupted);
}

// Without the mouse hook nothing would be recorded: the panel says so, starts no installer and hands back.
TEST_F(ControlPanelTest, ARecordingWhoseMouseHookCannotBeInstalledSaysSoAndDoesNotStart) {
    MouseHook other(nullptr, WM_NULL);  // the one hook a thread may have
    ASSERT_TRUE(other.Install());
    shared.installerPath = "C:\\Setups\\setup.exe";
    ASSERT_TRUE(OpenRecordPanel(context, callbacks));
    ASSERT_TRUE(PumpUntil([&] { return exitCode.has_value(); }));
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(shell.calls.empty()) << "the installer was started";
    EXPECT_EQ(mainWindowShown, std::vector<bool>{true});
}

// The statistics window is modal: a watcher thread acts on it while the test thread is in its loop.
class StatisticsWindowTest : public ProgramWindowsTest {
  protected:
    StatisticsWindowTest() {
        stats.StartPackage("Office");
        stats.EndPackage(PackageEnd::Played);
        stats.StartPackage("Viewer");
        stats.EndPackage(PackageEnd::Skipped);  // so the run's exit code is 1
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
    WindowWatcher watcher(statistics, [&](HWND window) {
        lines = ListBoxLines(GetDlgItem(window, statistics_window::kList));
        RECT client{}, label{};
        GetClientRect(window, &client);
        GetWindowRect(GetDlgItem(window, statistics_window::kCountdown), &label);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&label), 2);
        countdownShown =
            IsWindowVisible(GetDlgItem(window, statistics_window::kCountdown)) && label.top < client.bottom;
        ownerDisabled = !IsWindowEnabled(owner);
        PressButton(window, statistics_window::kClose);
    });
    const StatisticsWindowResult result = ShowStatistics(owner, stats, language, false);

    ASSERT_TRUE(watcher.Join());
    // What the lines say: the model's unit tests and the end-to-end run from the main window.
    EXPECT_EQ(lines.size(), 4u);  // two packages, an empty line and the total
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

    // The countdown it shows meanwhile: the model's unit tests and the end-to-end direct runs.
    WindowWatcher closeButton(statistics,
                              [](HWND window) { PressButton(window, statistics_window::kClose); });
    result = ShowStatistics(nullptr, stats, language, true);
    ASSERT_TRUE(closeButton.Join());
    EXPECT_TRUE(result.endProgram);
    EXPECT_EQ(result.exitCode, 1);
}

// Wine's display stays at 96 DPI and never sends WM_DPICHANGED, so the test sends it: told of 144 DPI with a
// rectangle half as large again, each window must stand where Windows suggests, and what grows with the DPI
// must grow half again: the client area, the box around the window's controls and the first font found.
// Their sizes, the font's height last.
std::vector<LONG> GrowingSizesOf(HWND window) {
    RECT client{}, r{}, box{};
    GetClientRect(window, &client);
    LONG fontHeight = 0;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        UnionRect(&box, &box, &r);
        LOGFONTW font{};
        const auto handle = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
        if (fontHeight == 0 && handle != nullptr && GetObjectW(handle, sizeof font, &font) != 0)
            fontHeight = std::abs(font.lfHeight);
    }
    return {client.right, client.bottom, box.right, box.bottom, fontHeight};
}

// Also checks that a window with an owner opened centred on it; answers what the window shows at 144 DPI.
Picture ExpectFollowsDpi(HWND window, const std::wstring& name) {
    SCOPED_TRACE(WideToUtf8(name));
    EXPECT_NE(window, nullptr);
    if (HWND owner = GetWindow(window, GW_OWNER)) {
        EXPECT_NEAR(Centre(window).x, Centre(owner).x, 1);
        EXPECT_NEAR(Centre(window).y, Centre(owner).y, 1);
    }
    SaveScreenshot(window, L"dpi-96-" + name);
    const std::vector<LONG> before = GrowingSizesOf(window);
    RECT r{};
    GetWindowRect(window, &r);
    const RECT suggested{r.left + 16, r.top + 16, r.left + 16 + (r.right - r.left) * 3 / 2,
                         r.top + 16 + (r.bottom - r.top) * 3 / 2};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    const std::vector<LONG> after = GrowingSizesOf(window);
    GetWindowRect(window, &r);
    EXPECT_EQ(r.left, suggested.left);
    EXPECT_EQ(r.top, suggested.top);
    // Half as large again, within a tenth (the font's height within a sixth: heights are whole pixels).
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (before[i] > 0) {
            EXPECT_NEAR(static_cast<double>(after[i]) / before[i], 1.5, i + 1 < before.size() ? 0.1 : 0.16)
                << i << ": " << before[i] << " -> " << after[i];
        }
    }
    return SaveScreenshot(window, L"dpi-144-" + name);
}

class WindowDpiTest : public ControlPanelTest {
  protected:
    // A modal window: checked by a watcher while this thread is in its loop, then closed.
    void CheckModal(const wchar_t* className, const std::wstring& name, const std::function<void()>& show) {
        WindowWatcher watcher({.className = className, .processId = GetCurrentProcessId()}, [&](HWND window) {
            ExpectFollowsDpi(window, name);
            PostMessageW(window, WM_CLOSE, 0, 0);
        });
        show();
        EXPECT_TRUE(watcher.Join()) << WideToUtf8(name);
    }

    unique_hmodule program = LoadProgramResources();  // the icons and pictures of the about window and hint
    MemoryRegistry registry;
    std::set<std::string> heldNames;
    FakeInstanceLock instanceLock{heldNames};
};

TEST_F(WindowDpiTest, EveryWindowOpensCentredOnItsOwnerAndFollowsADpiChange) {
    const Program ports{instanceLock, system,   files,      profile, settings, registry,
                        dialogs,      shell,    clock,      codec,   windows,  shared,
                        pathVars,     language, logonTasks, restart, desktop,  vault};
    MainWindow main({ports, nullptr, nullptr}, FrameTexts{});
    ASSERT_TRUE(main.Show(SW_SHOWNORMAL));
    HWND owner = main.Window();
    ExpectFollowsDpi(owner, L"main-window");

    // The progress window also fills its share, over an owner that takes no input meanwhile.
    ProgressWindow progress(owner, language);
    ASSERT_TRUE(progress.Show());
    progress.SetRange(0, 10);
    progress.SetValue(4);
    EXPECT_FALSE(IsWindowEnabled(owner));
    const Picture bar = ExpectFollowsDpi(progress.Window(), L"progress-window");
    const int filled = bar.Count(128, 128, 128), rest = bar.Count(130, 130, 180);
    EXPECT_NEAR(static_cast<double>(filled) / std::max(1, filled + rest), 0.4, 0.05);
    EXPECT_GT(bar.Count(255, 255, 0), 0) << "the percentage is written in yellow";
    progress.Close();
    EXPECT_TRUE(IsWindowEnabled(owner));

    CheckModal(package_dialog::kClassName, L"package-dialog", [&] {
        ShowPackageDialog(owner, {files, settings, dialogs, codec, language, pathVars, shared},
                          PackageDialogMode::NewPackage, {});
    });
    CheckModal(path_editor::kClassName, L"path-editor", [&] {
        ShowPathEditor(owner, {files, codec, pathVars, settings, dialogs, language, shared});
    });
    dialogs.answers.push_back(MsgResult::Yes);  // the wizard asks whether to give up
    CheckModal(disc_wizard::kClassName, L"disc-wizard", [&] {
        ShowDiscWizard(owner, {files, profile, settings, dialogs, language, "C:\\Tools", "C:\\Setups"});
    });
    CheckModal(statistics_window::kClassName, L"statistics-window",
               [&] { ShowStatistics(owner, stats, language, false); });
    CheckModal(about_window::kClassName, L"about-window", [&] { ShowAbout(owner, language, program.get()); });
    CheckModal(notice_window::kClassName, L"recording-hint",
               [&] { ShowRecordingHint(language, settings, program.get()); });

    // The control panel recording, and so showing its options.
    ASSERT_TRUE(OpenRecordPanel(context, callbacks));
    HWND panel = FindWindowW(panel_window::kClassName, nullptr);
    ExpectFollowsDpi(panel, L"control-panel");
    PostMessageW(panel, WM_CLOSE, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return exitCode.has_value(); }));

    DestroyWindow(owner);
    MSG quit;
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // the main window ends the program's loop
}

// Read from a second thread while this one runs the window's modal loop, then closed by a click of the real
// mouse on one of its texts; a window that does not close is closed, so the test fails instead of hanging.
// What its other texts say: AboutTextsTest.
TEST(AboutWindowTest, TakesItsTitleFromTheLanguageLinksOnlyTheAddressesThereAreAndAClickOnATextCloses) {
    unique_hwnd owner{CreateWindowExW(0, L"STATIC", L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 120, 90, 640,
                                      480, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)};
    TextDoubles doubles;
    doubles.LoadEnglish("[About]\r\n1=About...\r\n");
    std::wstring title;
    bool mailShown = false, ownerEnabled = true;
    WindowWatcher reader({.className = about_window::kClassName, .processId = GetCurrentProcessId()},
                         [&](HWND about) {
                             title = WindowText(about);
                             mailShown = GetDlgItem(about, about_window::kMail) != nullptr;
                             ownerEnabled = IsWindowEnabled(owner.get());
                             SaveScreenshot(about, L"about-window");
                             const POINT at = Centre(GetDlgItem(about, about_window::kRights));
                             SetCursorPos(at.x, at.y);
                             mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
                             mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
                             if (!WaitUntil([&] { return !IsWindow(about); }, Deadline{5000})) {
                                 ADD_FAILURE() << "the click did not close the about window";
                                 PostMessageW(about, WM_CLOSE, 0, 0);
                             }
                         });
    unique_hmodule program = LoadProgramResources();
    ShowAbout(owner.get(), doubles.language, program.get());
    ASSERT_TRUE(reader.Join());
    EXPECT_EQ(title, L"About...");
    EXPECT_EQ(mailShown, !AuthorMailAddress().empty());
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(owner.get()));
}

struct HintCase {
    const char* name;
    void (*show)(const Language&, SettingsStore&, HINSTANCE);
    const char* setting;
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
    const WindowQuery query{.className = notice_window::kClassName, .processId = GetCurrentProcessId()};
    // Closed by its close box: nothing stored.
    bool otherEnabled = true;
    WindowWatcher closeBox(query, [&](HWND window) {
        otherEnabled = IsWindowEnabled(other.get());
        EXPECT_EQ(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST, WS_EX_TOPMOST);
        EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
        for (int i = 0; i < hint.lines; ++i)
            EXPECT_FALSE(WindowText(GetDlgItem(window, notice_window::kFirstLine + i)).empty()) << i;
        EXPECT_EQ(GetDlgItem(window, notice_window::kFirstLine + hint.lines), nullptr);
        SendMessageW(GetDlgItem(window, notice_window::kShowAgain), BM_SETCHECK, BST_CHECKED, 0);
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
                SendMessageW(GetDlgItem(window, notice_window::kShowAgain), BM_SETCHECK, BST_CHECKED, 0);
            PressButton(window, notice_window::kClose);
        });
        hint.show(language, settings, program.get());
        ASSERT_TRUE(button.Join());
        EXPECT_EQ(settings.values[std::string("View\\") + hint.setting], ticked ? "1" : "0");
    }
}

INSTANTIATE_TEST_SUITE_P(Hints, NoticeWindowsTest,
                         ::testing::Values(HintCase{"recording-hint", &ShowRecordingHint, "FirstTip", 2},
                                           HintCase{"pause-hint", &ShowPauseHint, "PauseTip", 3}),
                         [](const auto& info) { return info.index == 0 ? "Recording" : "Pause"; });

}  // namespace
}  // namespace velmora
