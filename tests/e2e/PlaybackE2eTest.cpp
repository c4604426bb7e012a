// Unattended playback as a deployment script starts it: "velmora.exe /inst <file.SCN>" replays a scenario
// written as text (and built with scntool) on the fixture wizard and on a real NSIS installer, shows the
// statistics, counts down and ends with an exit code that tells how the run went.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/win32/Win32.h"

#include <commctrl.h>

#include "platform/win32/WideText.h"
#include "playback/win32/ControlPanelIds.h"
#include "playback/win32/StatisticsWindowIds.h"
#include "tests/e2e/E2eSupport.h"
#include "tests/fixtures/FixtureIds.h"

namespace velmora::e2e {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

constexpr Deadline kRunDeadline{90000};

std::wstring FixtureWizardPath() {
    return VelmoraFolder() + L"\\tests\\fixtures\\FixtureWizard.exe";
}

std::wstring NsisInstallerPath() {
    return VelmoraFolder() + L"\\tests\\fixtures\\FixtureProductSetup.exe";
}

// A text in the scenario text form: quoted, with backslashes and quotes escaped.
std::string Quoted(const std::string& utf8) {
    std::string out = "\"";
    for (char c : utf8) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string Quoted(const std::wstring& text) {
    return Quoted(WideToUtf8(text));
}

struct Link {
    std::string className;
    std::string caption;
    int matchIndex;
};

// One click: press at (x, y) in the target's client area and release where it was pressed.
struct Click {
    std::vector<Link> chain;
    int x = 10;
    int y = 10;
    std::optional<std::wstring> text;
};

std::string ScenarioText(const std::vector<Click>& clicks, const std::wstring& installer,
                         const std::wstring& commandLine) {
    std::ostringstream out;
    out << "format 1\ncodepage 1252\nscreen 1280 1024\nversion 1 2\ndescription \"written by a test\"\n";
    int number = 0;
    for (const Click& click : clicks) {
        out << "\nstep " << ++number << "\n";
        for (const Link& link : click.chain)
            out << "  window " << Quoted(link.className) << " " << Quoted(link.caption) << " "
                << link.matchIndex << "\n";
        out << "  event left press " << click.x << " " << click.y << "\n  event left release 0 0\n";
        if (click.text)
            out << "  text " << Quoted(*click.text) << "\n";
    }
    out << "\ninstaller " << Quoted(installer) << "\ncommandline " << Quoted(commandLine) << "\n";
    return out.str();
}

// Writes the text beside and builds the scenario file with scntool; the file's path, empty on failure.
std::wstring BuildScenario(const TempFolder& folder, const std::wstring& name, const std::string& text) {
    const std::wstring textPath = folder.Path() + L"\\" + name + L".txt";
    const std::wstring scnPath = folder.Path() + L"\\" + name + L".SCN";
    if (!folder.WriteFile(name + L".txt", text))
        return {};
    auto scntool = Process::Start(VelmoraFolder() + L"\\tools\\scntool.exe",
                                  L"build \"" + textPath + L"\" -o \"" + scnPath + L"\"");
    if (!scntool || scntool->WaitExit() != std::optional<DWORD>(0))
        return {};
    return scnPath;
}

std::vector<std::wstring> ListLines(HWND list) {
    std::vector<std::wstring> lines;
    DWORD_PTR count = 0;
    SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count);
    for (WPARAM i = 0; i < count; ++i) {
        DWORD_PTR length = 0;
        SendMessageTimeoutW(list, LB_GETTEXTLEN, i, 0, SMTO_ABORTIFHUNG, 5000, &length);
        std::wstring line(length + 1, L'\0');
        DWORD_PTR copied = 0;
        SendMessageTimeoutW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()), SMTO_ABORTIFHUNG,
                            5000, &copied);
        line.resize(std::min<std::size_t>(copied, length));
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> ReadLines(const std::wstring& path) {
    std::vector<std::string> lines;
    std::ifstream file{std::filesystem::path(path)};
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// Position of the first line that starts with the prefix, at or after `from`; npos when there is none.
std::size_t Find(const std::vector<std::string>& lines, const std::string& prefix, std::size_t from = 0) {
    for (std::size_t i = from; i < lines.size(); ++i) {
        if (lines[i].rfind(prefix, 0) == 0)
            return i;
    }
    return std::string::npos;
}

std::size_t Count(const std::vector<std::string>& lines, const std::string& prefix) {
    std::size_t n = 0;
    for (const std::string& line : lines)
        n += line.rfind(prefix, 0) == 0 ? 1 : 0;
    return n;
}

void SendButton(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

// A real click, as a person's mouse makes it.
void ClickControl(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendButton(MOUSEEVENTF_LEFTDOWN);
    SendButton(MOUSEEVENTF_LEFTUP);
}

class PlaybackE2eTest : public ::testing::Test {
  protected:
    void SetUp() override { RemoveProgramSettings(); }
    void TearDown() override {
        // An installer the run left behind (a skipped one) must not disturb the next test.
        for (HWND wizard : TopLevelWindows({.className = L"VelmoraFixtureWizard"}))
            PostMessageW(wizard, WM_CLOSE, 0, 0);
        RemoveProgramSettings();
    }

    std::optional<Process> StartDirectRun(const std::wstring& scn, const std::wstring& switches = L"") {
        auto process = StartVelmora(switches + L"/inst \"" + scn + L"\"");
        EXPECT_TRUE(process) << "velmora.exe did not start";
        return process;
    }

    HWND WaitForPanel(const Process& process) {
        return WaitForWindow({.className = panel_window::kClassName, .processId = process.Id()});
    }

    HWND WaitForStatistics(const Process& process, Deadline deadline = kRunDeadline) {
        return WaitForWindow({.className = stat_window::kClassName, .processId = process.Id()}, deadline);
    }

    // The statistics window's package lines, its countdown and the time the program takes to end by itself.
    void ExpectStatisticsLineAndSelfExit(const Process& process, const std::wstring& linePrefix,
                                         DWORD exitCode, const std::wstring& screenshot) {
        HWND stat = WaitForStatistics(process);
        ASSERT_NE(stat, nullptr) << "no statistics window";
        const auto shown = steady_clock::now();
        std::vector<std::wstring> lines = ListLines(GetDlgItem(stat, stat_window::kList));
        ASSERT_EQ(lines.size(), 3u) << "one package line, an empty line and the total";
        EXPECT_EQ(lines[0].rfind(linePrefix, 0), 0u) << WideToUtf8(lines[0]);
        EXPECT_TRUE(lines[1].empty());
        HWND countdown = GetDlgItem(stat, stat_window::kCountdown);
        EXPECT_TRUE(IsWindowVisible(countdown));
        const std::wstring countdownText = WindowText(countdown);
        EXPECT_TRUE(countdownText.find(L'4') != std::wstring::npos ||
                    countdownText.find(L'3') != std::wstring::npos)
            << WideToUtf8(countdownText);
        SaveScreenshot(stat, screenshot);

        EXPECT_EQ(process.WaitExit(Deadline{15000}), std::optional<DWORD>(exitCode));
        const auto waited = std::chrono::duration_cast<milliseconds>(steady_clock::now() - shown);
        EXPECT_GE(waited.count(), 2000) << "ended before its countdown";
        EXPECT_LE(waited.count(), 9000) << "did not end about four seconds after the statistics appeared";
    }
};

Click FixtureClick(std::vector<Link> below, int x = 20, int y = 10) {
    std::vector<Link> chain{{"VelmoraFixtureWizard", "Fixture Setup", 1}};
    chain.insert(chain.end(), below.begin(), below.end());
    return Click{chain, x, y, std::nullopt};
}

// A scenario that waits on the fixture wizard for a button it never shows, until a person acts on the panel.
// Its name is the one the panel and the statistics show.
std::wstring WaitingScenario(const TempFolder& folder, const std::wstring& name) {
    const std::wstring scn =
        BuildScenario(folder, name,
                      ScenarioText({FixtureClick({{"Button", "No such button", 1}})}, FixtureWizardPath(),
                                   L"\"" + folder.Path() + L"\\result.txt\""));
    EXPECT_FALSE(scn.empty());
    return scn;
}

TEST_F(PlaybackE2eTest, DirectRunReplaysTheFixtureWizardShowsStatisticsAndEndsByItself) {
    TempFolder folder;
    const std::wstring result = folder.Path() + L"\\result.txt";
    const std::wstring target = L"D:\\Apps\\Fixture Target";

    Click text = FixtureClick({{"VelmoraFixturePage", "Target folder", 1}, {"Edit", "", 1}}, 50, 10);
    text.text = target;
    const std::vector<Click> clicks{
        FixtureClick({{"Button", "Next >", 1}}),
        text,
        FixtureClick({{"VelmoraFixturePage", "Target folder", 1}, {"Button", "Create shortcuts", 1}}, 8, 10),
        FixtureClick({{"VelmoraFixturePage", "Target folder", 1}, {"Button", "Add component", 2}}),
        FixtureClick({{"Button", "Next >", 1}}),
        // The page appears only after its delay.
        FixtureClick({{"VelmoraFixturePage", "Ready", 1}, {"Button", "Details...", 1}}),
        // An owned top-level window: its link is searched among the top-level windows.
        FixtureClick({{"VelmoraFixtureDialog", "Fixture Details", 0}, {"Button", "OK", 1}}),
        FixtureClick({{"Button", "Next >", 1}}),
        // Covered by another window for a while.
        FixtureClick({{"Button", "Install", 1}}),
        FixtureClick({{"Button", "Finish", 1}}),
    };
    const std::wstring scn = BuildScenario(
        folder, L"fixture",
        ScenarioText(clicks, FixtureWizardPath(), L"\"" + result + L"\" /delay=1500 /cover=2500"));
    ASSERT_FALSE(scn.empty()) << "scntool could not build the scenario";

    auto process = StartDirectRun(scn);
    ASSERT_TRUE(process);
    HWND panel = WaitForPanel(*process);
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
    ASSERT_NE(WaitForWindow({.className = L"VelmoraFixtureWizard"}), nullptr)
        << "the installer did not start";
    WaitUntil([&] { return Find(ReadLines(result), "page 2") != std::string::npos; });
    SaveScreenshot(nullptr, L"playback-fixture-run");
    SaveScreenshot(panel, L"playback-panel");
    // The player finds the Install button under its cover and says so until the cover goes.
    HWND act = GetDlgItem(panel, panel_window::kAction);
    EXPECT_TRUE(
        WaitUntil([&] { return WindowText(act).find(L"covered") != std::wstring::npos; }, kRunDeadline));
    SaveScreenshot(nullptr, L"playback-fixture-covered");

    ExpectStatisticsLineAndSelfExit(*process, L"1   \u041E\u041A  FIXTURE  ", 0, L"playback-statistics");

    const std::vector<std::string> log = ReadLines(result);
    std::string all;
    for (const std::string& line : log)
        all += line + "\n";
    SCOPED_TRACE(all);
    // Every click reached the control it was recorded on, in order, and nothing else was pressed.
    const std::size_t page2 = Find(log, "page 2 Target folder");
    ASSERT_NE(page2, std::string::npos);
    EXPECT_NE(Find(log, "press 201 ", page2), std::string::npos);
    EXPECT_NE(Find(log, "text 201 D:\\Apps\\Fixture Target", page2), std::string::npos);
    EXPECT_NE(Find(log, "click 202 Create shortcuts checked", page2), std::string::npos);
    EXPECT_NE(Find(log, "press 204 Add component"), std::string::npos);
    EXPECT_EQ(Find(log, "press 203"), std::string::npos) << "MatchIndex 2 pressed the first sibling";
    // The delayed page was waited for.
    const std::size_t ready = Find(log, "page 3 Ready");
    ASSERT_NE(ready, std::string::npos);
    EXPECT_LT(Find(log, "page 3 pending"), ready);
    EXPECT_NE(Find(log, "press 301 Details...", ready), std::string::npos);
    EXPECT_NE(Find(log, "press 401 OK"), std::string::npos);
    // The covered button was pressed once, after its cover had gone.
    const std::size_t uncovered = Find(log, "cover hidden");
    ASSERT_NE(uncovered, std::string::npos);
    EXPECT_NE(Find(log, "press 1002 Install", uncovered), std::string::npos);
    EXPECT_EQ(Count(log, "press 1002 Install"), 1u);
    EXPECT_EQ(Count(log, "press cover"), 0u);
    EXPECT_EQ(Count(log, "press background"), 0u);
    EXPECT_NE(Find(log, "finished"), std::string::npos);
    EXPECT_NE(Find(log, "exit 0"), std::string::npos);
}

TEST_F(PlaybackE2eTest, DirectRunClicksThroughARealNsisInstallerIntoTheTypedFolder) {
    TempFolder folder;
    const std::wstring target = folder.Path() + L"\\Installed Product";
    auto nsis = [](std::string caption, std::vector<Link> below, int x = 30, int y = 10) {
        std::vector<Link> chain{{"#32770", caption, 1}};
        chain.insert(chain.end(), below.begin(), below.end());
        return Click{chain, x, y, std::nullopt};
    };
    // The pages after the welcome page carry a blank after the product's caption.
    Click folderText = nsis("Fixture Product Setup ", {{"#32770", "", 1}, {"Edit", "", 1}}, 60, 8);
    folderText.text = target;
    const std::vector<Click> clicks{
        nsis("Fixture Product Setup", {{"Button", "&Next >", 1}}),
        nsis("Fixture Product Setup ", {{"Button", "I &Agree", 1}}),
        folderText,
        nsis("Fixture Product Setup ", {{"Button", "&Install", 1}}),
        nsis("Fixture Product Setup ", {{"Button", "&Finish", 1}}),
    };
    const std::wstring scn =
        BuildScenario(folder, L"FixtureProduct", ScenarioText(clicks, NsisInstallerPath(), L""));
    ASSERT_FALSE(scn.empty()) << "scntool could not build the scenario";

    auto process = StartDirectRun(scn);
    ASSERT_TRUE(process);
    HWND installer =
        WaitForWindow({.className = L"#32770", .caption = L"Fixture Product Setup "}, kRunDeadline);
    ASSERT_NE(installer, nullptr) << "the installer never left its welcome page";
    SaveScreenshot(nullptr, L"playback-nsis-run");

    ExpectStatisticsLineAndSelfExit(*process, L"1   \u041E\u041A  FIXTUREPRODUCT  ", 0,
                                    L"playback-nsis-statistics");
    EXPECT_TRUE(std::filesystem::exists(target + L"\\readme.txt"));
    EXPECT_TRUE(std::filesystem::exists(target + L"\\settings.ini"));
}

TEST_F(PlaybackE2eTest, MissingInstallerIsRecordedAsFailedAndEndsWithExitCode2) {
    TempFolder folder;
    const std::wstring scn = BuildScenario(
        folder, L"missing",
        ScenarioText({FixtureClick({{"Button", "Next >", 1}})}, folder.Path() + L"\\none.exe", L""));
    ASSERT_FALSE(scn.empty());
    auto process = StartDirectRun(scn);
    ASSERT_TRUE(process);
    ExpectStatisticsLineAndSelfExit(*process, L"1   NO  MISSING  ", 2, L"playback-statistics-failed");
}

TEST_F(PlaybackE2eTest, SkippedPackageIsRecordedAsInterruptedAndEndsWithExitCode1) {
    TempFolder folder;
    auto process = StartDirectRun(WaitingScenario(folder, L"skipped"));
    ASSERT_TRUE(process);
    HWND panel = WaitForPanel(*process);
    ASSERT_NE(panel, nullptr);
    ASSERT_NE(WaitForWindow({.className = L"VelmoraFixtureWizard"}), nullptr);
    // The player searches for the missing button until a person skips the package.
    HWND act = GetDlgItem(panel, panel_window::kAction);
    const std::wstring reading = WindowText(act);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(act) != reading; }, Deadline{10000}));
    SaveScreenshot(panel, L"playback-panel-searching");
    ClickControl(GetDlgItem(panel, panel_window::kNext));
    ExpectStatisticsLineAndSelfExit(*process, L"1   MB  SKIPPED  ", 1, L"playback-statistics-skipped");
}

// Whether the window's thread is in its move loop or holds the mouse.
bool BeingMoved(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return !GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ||
           (info.flags & GUI_INMOVESIZE) != 0 || info.hwndCapture != nullptr;
}

// True once the window has left its move loop and kept its place for a moment.
bool WaitUntilSettled(HWND window) {
    RECT last{};
    GetWindowRect(window, &last);
    auto stillSince = steady_clock::now();
    return WaitUntil(
        [&] {
            RECT now{};
            GetWindowRect(window, &now);
            if (BeingMoved(window) || !EqualRect(&now, &last)) {
                last = now;
                stillSince = steady_clock::now();
            }
            return steady_clock::now() - stillSince >= milliseconds(300);
        },
        Deadline{5000});
}

// A drag as a person makes it: the button stays down until the window follows the mouse. Released too soon,
// on a busy machine, the release lands outside the window before its move loop has begun, and the loop
// would then take the next click for the end of the drag.
void Drag(HWND window, POINT from, POINT to) {
    SetCursorPos(from.x, from.y);
    SendButton(MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(WaitUntil([&] { return BeingMoved(window); }, Deadline{5000}))
        << "the press did not start moving the window";
    for (int i = 1; i <= 10; ++i) {
        SetCursorPos(from.x + (to.x - from.x) * i / 10, from.y + (to.y - from.y) * i / 10);
        Sleep(20);
    }
    SendButton(MOUSEEVENTF_LEFTUP);
}

TEST_F(PlaybackE2eTest, PanelPausesResumesMovesRefusesLogoffAndStops) {
    TempFolder folder;
    auto process = StartDirectRun(WaitingScenario(folder, L"stopped"));
    ASSERT_TRUE(process);
    HWND panel = WaitForPanel(*process);
    ASSERT_NE(panel, nullptr);
    ASSERT_NE(WaitForWindow({.className = L"VelmoraFixtureWizard"}), nullptr);
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
    RECT before{};
    GetWindowRect(panel, &before);
    RECT label{};
    GetWindowRect(GetDlgItem(panel, panel_window::kCaption), &label);
    const POINT grip{label.left + 20, (label.top + label.bottom) / 2};
    Drag(panel, grip, {grip.x + 60, grip.y + 40});
    RECT after{};
    EXPECT_TRUE(WaitUntil(
        [&] {
            GetWindowRect(panel, &after);
            return after.left == before.left + 60 && after.top == before.top + 40;
        },
        Deadline{5000}))
        << "panel at " << after.left << "," << after.top << ", was at " << before.left << "," << before.top;
    // The move loop may still be following the cursor: a click made now would become another drag.
    EXPECT_TRUE(WaitUntilSettled(panel)) << "the panel is still being moved";

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

TEST_F(PlaybackE2eTest, NoStatSwitchEndsTheRunAtOnceWithoutStatistics) {
    TempFolder folder;
    const std::wstring scn = BuildScenario(
        folder, L"missing",
        ScenarioText({FixtureClick({{"Button", "Next >", 1}})}, folder.Path() + L"\\none.exe", L""));
    ASSERT_FALSE(scn.empty());
    auto process = StartDirectRun(scn, L"/nostat ");
    ASSERT_TRUE(process);
    bool statisticsSeen = false;
    const auto start = steady_clock::now();
    WaitUntil(
        [&] {
            statisticsSeen |= FindTopLevelWindow({.className = stat_window::kClassName}) != nullptr;
            return !process->Running();
        },
        Deadline{15000});
    const auto took = std::chrono::duration_cast<milliseconds>(steady_clock::now() - start);
    EXPECT_EQ(process->WaitExit(Deadline{1000}), std::optional<DWORD>(2));
    EXPECT_FALSE(statisticsSeen);
    EXPECT_LT(took.count(), 5000) << "the run did not end at once";
}

}  // namespace
}  // namespace velmora::e2e
