// Unattended playback as a deployment script starts it: "velmora.exe /inst <file.SCN>" replays a scenario
// written as text (and built with scntool) on the fixture wizard and on a real NSIS installer, shows the
// statistics, counts down and ends with an exit code that tells how the run went.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <algorithm>
#include <vector>

#include "platform/win32/Win32.h"

#include <commctrl.h>

#include "platform/win32/WideText.h"
#include "playback/win32/ControlPanelIds.h"
#include "playback/win32/StatisticsWindowIds.h"
#include "tests/e2e/E2eSupport.h"

namespace velmora::e2e {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

constexpr Deadline kRunDeadline{90000};

// A real click, as a person's mouse makes it.
void ClickControl(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendButton(MOUSEEVENTF_LEFTDOWN);
    SendButton(MOUSEEVENTF_LEFTUP);
}

constexpr const wchar_t* kTestCoverClass = L"VelmoraTestCover";

void EnsureTestWindowClass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = CreateSolidBrush(RGB(40, 90, 200));
    wc.lpszClassName = kTestCoverClass;
    RegisterClassExW(&wc);
}

class PlaybackE2eTest : public E2eTest {
  protected:
    static std::optional<Process> StartDirectRun(const std::wstring& scn,
                                                 const std::wstring& switches = L"") {
        EXPECT_FALSE(scn.empty()) << "scntool could not build the scenario";
        return StartVelmora(switches + L"/inst \"" + scn + L"\"");
    }

    // The control panel, once the fixture wizard it plays has started.
    static HWND WaitForPanelAndWizard(const Process& process) {
        HWND panel = WaitForWindow({.className = panel_window::kClassName, .processId = process.Id()});
        EXPECT_NE(WaitForWindow({.className = L"VelmoraFixtureWizard"}), nullptr)
            << "the installer did not start";
        return panel;
    }

    // The statistics window's package line, its countdown and the time the program takes to end by itself.
    static void ExpectStatisticsLineAndSelfExit(const Process& process, const std::wstring& linePrefix,
                                                DWORD exitCode, const std::wstring& screenshot) {
        HWND statistics = WaitForWindow(
            {.className = statistics_window::kClassName, .processId = process.Id()}, kRunDeadline);
        ASSERT_NE(statistics, nullptr) << "no statistics window";
        const auto shown = steady_clock::now();
        // One package line, an empty line and the total.
        EXPECT_THAT(ListBoxLines(GetDlgItem(statistics, statistics_window::kList)),
                    ElementsAre(StartsWith(linePrefix), IsEmpty(), _));
        HWND countdown = GetDlgItem(statistics, statistics_window::kCountdown);
        EXPECT_TRUE(IsWindowVisible(countdown));
        EXPECT_THAT(WindowText(countdown), testing::AnyOf(HasSubstr(L"4"), HasSubstr(L"3")));
        SaveScreenshot(statistics, screenshot);

        EXPECT_EQ(process.WaitExit(Deadline{15000}), std::optional<DWORD>(exitCode));
        const auto waited = std::chrono::duration_cast<milliseconds>(steady_clock::now() - shown);
        EXPECT_GE(waited.count(), 2000) << "ended before its countdown";
        EXPECT_LE(waited.count(), 9000) << "did not end about four seconds after the statistics appeared";
    }
};

// Every kind of step the wizard has: a typed field, a check box, the second of two siblings, a page that
// appears late, an owned top-level window and a button covered for a while.
std::vector<Click> EveryKindOfStep() {
    return {
        FixtureClick({{L"Button", L"Next >", 1}}),
        FixtureClick({{L"VelmoraFixturePage", L"Target folder", 1}, {L"Edit", L"", 1}}, 50, 10,
                     L"D:\\Apps\\Fixture Target"),
        FixtureClick({{L"VelmoraFixturePage", L"Target folder", 1}, {L"Button", L"Create shortcuts", 1}}, 8,
                     10),
        FixtureClick({{L"VelmoraFixturePage", L"Target folder", 1}, {L"Button", L"Add component", 2}}),
        FixtureClick({{L"Button", L"Next >", 1}}),
        FixtureClick({{L"VelmoraFixturePage", L"Ready", 1}, {L"Button", L"Details...", 1}}),
        FixtureClick({{L"VelmoraFixtureDialog", L"Fixture Details", 0}, {L"Button", L"OK", 1}}),
        FixtureClick({{L"Button", L"Next >", 1}}),
        FixtureClick({{L"Button", L"Install", 1}}),
        FixtureClick({{L"Button", L"Finish", 1}}),
    };
}

TEST_F(PlaybackE2eTest, DirectRunReplaysTheFixtureWizardShowsStatisticsAndEndsByItself) {
    const std::wstring result = Path(L"result.txt");

    auto process =
        StartDirectRun(BuildScenario(folder_.WidePath(), L"fixture", EveryKindOfStep(), FixtureWizardPath(),
                                     L"\"" + result + L"\" /delay=1500 /cover=2500"));
    ASSERT_TRUE(process);
    HWND panel = WaitForPanelAndWizard(*process);
    ASSERT_NE(panel, nullptr) << "no control panel";

    // The panel as a person sees it: a 457 x 43 strip above all windows, centred, 200 twips from the top.
    RECT r{};
    GetWindowRect(panel, &r);
    EXPECT_EQ(r.right - r.left, 457);
    EXPECT_EQ(r.bottom - r.top, 43);
    EXPECT_NE(GetWindowLongW(panel, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_NEAR(r.left, (GetSystemMetrics(SM_CXSCREEN) - 457) / 2, 1);
    EXPECT_EQ(r.top, MulDiv(200, static_cast<int>(GetDpiForSystem()), 1440));
    EXPECT_EQ(WindowText(GetDlgItem(panel, panel_window::kCounter)), L"1/1");
    WaitUntil([&] { return testing::Value(Lines(ReadFile(result)), HasLine("page 2")); });
    SaveScreenshot(nullptr, L"playback-fixture-run");
    SaveScreenshot(panel, L"playback-panel");
    // The player finds the Install button under its cover and says so until the cover goes.
    HWND act = GetDlgItem(panel, panel_window::kAction);
    EXPECT_TRUE(
        WaitUntil([&] { return WindowText(act).find(L"covered") != std::wstring::npos; }, kRunDeadline));
    SaveScreenshot(nullptr, L"playback-fixture-covered");

    ExpectStatisticsLineAndSelfExit(*process, L"1   \u041E\u041A  FIXTURE  ", 0, L"playback-statistics");

    const std::vector<std::string> log = Lines(ReadFile(result));
    SCOPED_TRACE(ReadFile(result));
    // Every click reached the control it was recorded on, in order, and nothing else was pressed.
    for (const char* line :
         {"press 201 ", "text 201 D:\\Apps\\Fixture Target", "click 202 Create shortcuts checked"})
        ExpectInOrder(log, {"page 2 Target folder", line});
    EXPECT_THAT(log, HasLine("press 204 Add component"));
    EXPECT_THAT(log, Not(HasLine("press 203"))) << "matchIndex 2 pressed the first sibling";
    // The delayed page was waited for.
    ExpectInOrder(log, {"page 3 pending", "page 3 Ready", "press 301 Details..."});
    EXPECT_THAT(log, HasLine("press 401 OK"));
    // The covered button was pressed once, after its cover had gone; the cover itself never was.
    ExpectInOrder(log, {"cover hidden", "press 1002 Install"});
    EXPECT_THAT(log, Contains(StartsWith("press 1002 Install")).Times(1));
    EXPECT_THAT(log, Not(HasLine("press background")));
    ExpectInOrder(log, {"finished", "exit 0"});
}

// By window messages nothing on the screen matters: the pointer a person keeps moving, a top-most window over
// the installer's buttons. What cannot take input yet, a Next button the installer enables only after a
// while, is waited for and pressed once it is enabled.
TEST_F(PlaybackE2eTest, ByWindowMessagesTheWizardInstallsUnderACoverWhileThePointerMoves) {
    const std::wstring result = Path(L"result.txt");
    const std::wstring report = Path(L"report.txt");
    // Every page's Next is enabled two seconds after the page appears; the wizard's own cover stays on.
    auto process =
        StartDirectRun(BuildScenario(folder_.WidePath(), L"messages", EveryKindOfStep(), FixtureWizardPath(),
                                     L"\"" + result + L"\" /delay=500 /cover=60000 /late=2000"),
                       L"/LOG=\"" + report + L"\" /INPUT=MESSAGES ");
    ASSERT_TRUE(process);
    HWND panel = WaitForPanelAndWizard(*process);
    ASSERT_NE(panel, nullptr);
    HWND wizard = FindTopLevelWindow({.className = L"VelmoraFixtureWizard"});
    RECT area{};
    GetWindowRect(wizard, &area);
    // The test's own window over the whole wizard, above all others, as another program's could be.
    EnsureTestWindowClass();
    unique_hwnd cover(CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kTestCoverClass, L"Test Cover",
                                      WS_POPUP | WS_VISIBLE, area.left, area.top, area.right - area.left,
                                      area.bottom - area.top, nullptr, nullptr, GetModuleHandleW(nullptr),
                                      nullptr));
    ASSERT_NE(cover.get(), nullptr);
    std::atomic<bool> moving{true};
    std::thread pointer([&] {
        for (int i = 0; moving; ++i) {
            SetCursorPos(area.left + (i * 37) % (area.right - area.left),
                         area.top + (i * 53) % (area.bottom - area.top));
            std::this_thread::sleep_for(milliseconds(15));
        }
    });
    const bool finished =
        PumpUntil([&] { return testing::Value(Lines(ReadFile(result)), HasLine("finished")); }, kRunDeadline);
    SaveScreenshot(nullptr, L"playback-messages-covered");
    moving = false;
    pointer.join();
    cover.reset();
    EXPECT_TRUE(finished) << "the wizard did not finish";
    ExpectStatisticsLineAndSelfExit(*process, L"1   \u041E\u041A  MESSAGES  ", 0,
                                    L"playback-messages-statistics");

    const std::vector<std::string> log = Lines(ReadFile(result));
    SCOPED_TRACE(ReadFile(result));
    // Each Next was pressed once it had been enabled, never before; the cover over it never was pressed.
    EXPECT_THAT(log, Not(Contains(HasSubstr("while disabled"))));
    ExpectInOrder(log, {"page 1 Welcome", "next enabled", "click 1002 Next >", "page 2 Target folder"});
    ExpectInOrder(log, {"page 2 Target folder", "press 201 ", "text 201 D:\\Apps\\Fixture Target",
                        "text taken 201 D:\\Apps\\Fixture Target", "click 202 Create shortcuts checked",
                        "click 204 Add component", "next enabled", "click 1002 Next >"});
    EXPECT_THAT(log, Not(HasLine("click 203"))) << "matchIndex 2 pressed the first sibling";
    ExpectInOrder(log, {"page 3 Ready", "click 301 Details...", "click 401 OK", "next enabled",
                        "click 1002 Next >", "page 4 Install", "next enabled", "click 1002 Install",
                        "cover hidden", "page 5 Finished", "next enabled", "click 1002 Finish", "finished"});
    EXPECT_THAT(log, Not(HasLine("press background")));
    // The report says how each press went.
    const std::string told = ReadFile(report);
    EXPECT_THAT(told,
                HasSubstr("Step 1: window found (Button \"Next >\"), press replayed by window messages"));
    EXPECT_THAT(told, Not(HasSubstr("with the mouse")));
    EXPECT_THAT(told, HasSubstr("the window or one above it is hidden or disabled, the step waits"));
}

// At the fastest speed a step goes as soon as its window takes input: a Next button the wizard enables two
// seconds after its page appears is waited for, not pressed while disabled and the step taken for done.
TEST_F(PlaybackE2eTest, AtTheFastestSpeedANextEnabledLaterIsWaitedFor) {
    const std::wstring result = Path(L"result.txt");
    auto process = StartDirectRun(
        BuildScenario(folder_.WidePath(), L"enabled", WizardClicks(L"D:\\Later"), FixtureWizardPath(),
                      L"\"" + result + L"\" /delay=300 /cover=300 /late=2000"),
        L"/SPEED=0 /nostat ");
    ASSERT_TRUE(process);
    EXPECT_EQ(process->WaitExit(kRunDeadline), std::optional<DWORD>(0));
    const std::vector<std::string> log = Lines(ReadFile(result));
    SCOPED_TRACE(ReadFile(result));
    EXPECT_THAT(log, Not(Contains(HasSubstr("while disabled"))));
    ExpectInOrder(log, {"page 1 Welcome", "next enabled", "click 1002 Next >", "page 2 Target folder",
                        "text 201 D:\\Later", "next enabled", "click 1002 Next >", "page 3 Ready",
                        "next enabled", "click 1002 Finish", "finished"});
}

// A scenario whose installer does not exist fails its package, with the statistics or, with /nostat, at once
// without them; so does a scenario that is not there, where no main window waits for a person instead.
TEST_F(PlaybackE2eTest, MissingInstallerFailsItsPackageAndEndsWithExitCode2AtOnceWithNoStat) {
    const std::wstring missing = BuildScenario(
        folder_.WidePath(), L"missing", {FixtureClick({{L"Button", L"Next >", 1}})}, Path(L"none.exe"), L"");
    auto process = StartDirectRun(missing);
    ASSERT_TRUE(process);
    ExpectStatisticsLineAndSelfExit(*process, L"1   NO  MISSING  ", 2, L"playback-statistics-failed");

    auto quiet = StartDirectRun(missing, L"/nostat ");
    ASSERT_TRUE(quiet);
    bool statisticsSeen = false;
    const auto start = steady_clock::now();
    const auto ended = [&] {
        statisticsSeen |= FindTopLevelWindow({.className = statistics_window::kClassName}) != nullptr;
        return !quiet->Running();
    };
    WaitUntil(ended, Deadline{15000});
    const auto took = std::chrono::duration_cast<milliseconds>(steady_clock::now() - start);
    EXPECT_EQ(quiet->WaitExit(Deadline{1000}), std::optional<DWORD>(2));
    EXPECT_FALSE(statisticsSeen);
    EXPECT_LT(took.count(), 5000) << "the run did not end at once";

    const auto nowhere = StartDirectRun(Path(L"nowhere.scn"), L"/nostat ");
    EXPECT_EQ(nowhere ? nowhere->WaitExit(Deadline{15000}) : std::nullopt, std::optional<DWORD>(2));
}

TEST_F(PlaybackE2eTest, SkippedPackageIsRecordedAsInterruptedAndEndsWithExitCode1) {
    auto process = StartDirectRun(WaitingScenario(folder_.WidePath(), L"skipped"));
    ASSERT_TRUE(process);
    HWND panel = WaitForPanelAndWizard(*process);
    ASSERT_NE(panel, nullptr);
    // The player searches for the missing button until a person skips the package.
    HWND act = GetDlgItem(panel, panel_window::kAction);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(act) == L"Searching for window"; }, Deadline{10000}))
        << WideToUtf8(WindowText(act));
    SaveScreenshot(panel, L"playback-panel-searching");
    ClickControl(GetDlgItem(panel, panel_window::kNext));
    ExpectStatisticsLineAndSelfExit(*process, L"1   MB  SKIPPED  ", 1, L"playback-statistics-skipped");
}

// The installer's pages differ only in their captions' step numbers and press on with the same button: a step
// that waits for the second page presses nothing on the first and times out.
TEST_F(PlaybackE2eTest, AStepAwaitingTheSecondPageNeverPressesTheFirstAndTimesOut) {
    if (const std::string why = WhyNo32BitInstallers(); !why.empty())
        GTEST_SKIP() << why;
    const Click next{{{L"#32770", L"Finch Setup - Step 2 of 3", 1}, {L"Button", L"&Next >", 1}}, 30, 10, {}};
    auto process = StartDirectRun(
        BuildScenario(folder_.WidePath(), L"steps", {next}, FinchInstallerPath(), L""), L"/TIMEOUT=1 ");
    ASSERT_TRUE(process);
    ASSERT_NE(WaitForWindow({.className = L"#32770", .caption = L"Finch Setup - Step 1 of 3"}), nullptr)
        << "the installer did not show its first page";
    SaveScreenshot(nullptr, L"playback-finch-step-1");
    // The first page stays until the time-out (a minute, the shortest) ends the installer.
    bool pressed = false;
    HWND statistics = nullptr;
    WaitUntil(
        [&] {
            pressed |= FindTopLevelWindow({.caption = L"Finch Setup - Step 2 of 3"}) != nullptr;
            statistics =
                FindTopLevelWindow({.className = statistics_window::kClassName, .processId = process->Id()});
            return statistics != nullptr;
        },
        Deadline{180000});
    ASSERT_NE(statistics, nullptr) << "the step did not time out";
    EXPECT_FALSE(pressed) << "the first page's Next button was pressed";
    EXPECT_THAT(
        ListBoxLines(GetDlgItem(statistics, statistics_window::kList)),
        ElementsAre(AllOf(StartsWith(L"1   NO  STEPS"), HasSubstr(L"window not found, step 1")), _, _));
    EXPECT_EQ(process->WaitExit(Deadline{15000}), std::optional<DWORD>(2));
}

// Whether the window's thread is in its move loop or holds the mouse.
bool BeingMoved(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return !GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ||
           (info.flags & GUI_INMOVESIZE) != 0 || info.hwndCapture != nullptr;
}

// A drag as a person makes it; true when the window moved by as much as the mouse and then stayed there.
// The button stays down until the window's move loop has begun: released too soon, on a busy machine, the
// release lands outside the window before the loop has begun, and the loop would then take the next click
// for the end of the drag. For the same reason the window must have left its loop before the next click.
bool Drag(HWND window, POINT from, POINT by) {
    RECT start{};
    GetWindowRect(window, &start);
    SetCursorPos(from.x, from.y);
    SendButton(MOUSEEVENTF_LEFTDOWN);
    const bool began = WaitUntil([&] { return BeingMoved(window); }, Deadline{5000});
    for (int i = 1; i <= 10; ++i)
        SetCursorPos(from.x + by.x * i / 10, from.y + by.y * i / 10);
    SendButton(MOUSEEVENTF_LEFTUP);
    auto stillSince = steady_clock::now();
    const auto stayed = [&] {
        RECT now{};
        GetWindowRect(window, &now);
        if (BeingMoved(window) || now.left != start.left + by.x || now.top != start.top + by.y)
            stillSince = steady_clock::now();
        return steady_clock::now() - stillSince >= milliseconds(300);
    };
    return began && WaitUntil(stayed, Deadline{5000});
}

TEST_F(PlaybackE2eTest, PanelPausesResumesMovesRefusesLogoffAndStops) {
    auto process = StartDirectRun(WaitingScenario(folder_.WidePath(), L"stopped"));
    ASSERT_TRUE(process);
    HWND panel = WaitForPanelAndWizard(*process);
    ASSERT_NE(panel, nullptr);
    HWND play = GetDlgItem(panel, panel_window::kPlay);
    HWND pause = GetDlgItem(panel, panel_window::kPause);

    // Each picture button carries its tooltip.
    std::vector<HWND> tips =
        TopLevelWindows({.className = L"tooltips_class32", .processId = process->Id(), .visibleOnly = false});
    std::erase_if(tips, [&](HWND tip) { return GetWindow(tip, GW_OWNER) != panel; });
    ASSERT_EQ(tips.size(), 1u);
    DWORD_PTR tools = 0;
    SendMessageTimeoutW(tips[0], TTM_GETTOOLCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &tools);
    EXPECT_EQ(tools, 4u);

    ClickControl(pause);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(play) && !IsWindowVisible(pause); }, Deadline{5000}));
    EXPECT_EQ(WindowText(GetDlgItem(panel, panel_window::kCaption)), L"Pause");
    SaveScreenshot(panel, L"playback-panel-paused");
    ClickControl(play);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(pause) && !IsWindowVisible(play); }, Deadline{5000}));
    EXPECT_EQ(WindowText(GetDlgItem(panel, panel_window::kCaption)), L"STOPPED");

    // Dragging the caption label moves the window with the mouse.
    RECT label{};
    GetWindowRect(GetDlgItem(panel, panel_window::kCaption), &label);
    EXPECT_TRUE(Drag(panel, {label.left + 20, (label.top + label.bottom) / 2}, {60, 40}))
        << "the panel did not move with the mouse, or is still being moved";

    // An installer's restart request must not end the run.
    DWORD_PTR answer = 1;
    ASSERT_NE(
        SendMessageTimeoutW(panel, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &answer),
        0);
    EXPECT_EQ(answer, 0u);
    EXPECT_TRUE(process->Running());

    ClickControl(GetDlgItem(panel, panel_window::kStop));
    ExpectStatisticsLineAndSelfExit(*process, L"1   MB  STOPPED  ", 1, L"playback-statistics-stopped");
}

}  // namespace
}  // namespace velmora::e2e
