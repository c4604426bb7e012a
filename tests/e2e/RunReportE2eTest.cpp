// Unattended runs left alone overnight: a window that never comes ends its package after the step time-out
// and the run goes on, installers' exit codes reach the statistics, the report and the run's own exit code,
// and a long run leaves neither window objects nor processes behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "platform/win32/Win32.h"

#include "platform/win32/WideText.h"
#include "playback/win32/StatisticsWindowIds.h"
#include "tests/e2e/E2eSupport.h"

namespace velmora::e2e {
namespace {

// What the fixture wizard's field gets: it must never reach the report.
const std::wstring kSecret = L"K3Y-S3CR3T-0042";

// The report's lines, without its byte-order mark.
std::vector<std::string> ReportLines(const std::wstring& path) {
    std::string text = ReadFile(path);
    EXPECT_EQ(text.rfind("\xEF\xBB\xBF", 0), 0u) << "no UTF-8 mark";
    if (text.rfind("\xEF\xBB\xBF", 0) == 0)
        text.erase(0, 3);
    std::vector<std::string> lines;
    std::size_t at = 0;
    for (std::size_t end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(text.substr(at, end - at));
    EXPECT_EQ(at, text.size()) << "the last line is not whole";
    return lines;
}

// The lines that start with each prefix, in this order, from `from` on; the index after the last found.
std::size_t ExpectInOrder(const std::vector<std::string>& lines, const std::vector<std::string>& prefixes,
                          std::size_t from = 0) {
    for (const std::string& prefix : prefixes) {
        while (from < lines.size() && lines[from].rfind(prefix, 0) != 0)
            ++from;
        EXPECT_LT(from, lines.size()) << "no line \"" << prefix << "\" where it belongs";
        if (from == lines.size())
            return from;
        ++from;
    }
    return from;
}

std::string LineStarting(const std::vector<std::string>& lines, const std::string& prefix) {
    for (const std::string& line : lines)
        if (line.rfind(prefix, 0) == 0)
            return line;
    return {};
}

using RunReportE2eTest = E2eTest;

TEST_F(RunReportE2eTest, AWindowThatNeverComesTimesOutItsPackageTheRunGoesOnAndTheReportTellsItAll) {
    AddWizardPackage(L"A", kSecret);
    ASSERT_FALSE(WaitingScenario(folder_.WidePath(), L"B").empty());
    AddWizardPackage(L"C");
    ASSERT_TRUE(CreateDirectoryW(Path(L"Reports").c_str(), nullptr));
    const std::wstring report = Path(L"Reports\\night run.txt");

    ASSERT_NE(StartMain(L"/TIMEOUT=1 /LOG=\"" + report + L"\"", 3), nullptr);
    Command(main_, MainCommand::RunAll);
    ASSERT_NE(WaitForWindow({.caption = L"Fixture Setup"}), nullptr) << "the run did not start";
    HWND statistics = WaitForOwn(statistics_window::kClassName, Deadline{240000});
    ASSERT_NE(statistics, nullptr) << "the run never ended";

    const std::vector<std::wstring> shown = ListBoxLines(GetDlgItem(statistics, statistics_window::kList));
    ASSERT_GE(shown.size(), 3u);
    EXPECT_EQ(shown[0].rfind(L"1   \u041E\u041A  A", 0), 0u) << WideToUtf8(shown[0]);
    EXPECT_EQ(shown[1].rfind(L"2   NO  B", 0), 0u) << WideToUtf8(shown[1]);
    EXPECT_NE(shown[1].find(L"window not found, step 1"), std::wstring::npos) << WideToUtf8(shown[1]);
    EXPECT_EQ(shown[2].rfind(L"3   \u041E\u041A  C", 0), 0u) << WideToUtf8(shown[2]);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(statistics, statistics_window::kOpenReport)));
    SaveScreenshot(statistics, L"run-report-statistics");
    EXPECT_NE(Find(ReadLog(Path(L"C.log")), "finished"), std::string::npos) << "the third did not install";
    EXPECT_EQ(Find(ReadLog(Path(L"result.txt")), "exit"), std::string::npos) << "B's wizard ended by itself";
    EXPECT_EQ(Find(ReadLog(Path(L"result.txt")), "press"), std::string::npos) << "B pressed a wrong window";
    EXPECT_TRUE(RunningOf({L"FixtureWizard.exe"}).empty()) << "an installer was left running";

    const std::vector<std::string> lines = ReportLines(report);
    SCOPED_TRACE(ReadFile(report));
    std::size_t at = ExpectInOrder(
        lines, {"velmora-run-report 2", "Velmora Runwright run report, version 1.2.", "Computer: ", "User: ",
                "Started: 20", "Package 1/3 A", "Scenario: ", "Installer: ", "Command line: \"",
                "Step 1: window found (Button \"Next >\"), press replayed",
                "Step 2: window found (Edit), press replayed, text put, 15 characters",
                "Step 7: window found (Button \"Finish\")", "Result: scenario played to the end",
                "Installer exit code: 0", "Duration: 0:0"});
    at = ExpectInOrder(
        lines,
        {"Package 2/3 B", "Scenario: ", "Installer: ", "Command line: ",
         "Result: failed: window not found, step 1, the window awaited: "
         "VelmoraFixtureWizard \"Fixture Update\" > Button \"Next >\"",
         "Screenshot: ", "Installer exit code: the installer and the processes it started were ended",
         "Duration: "},
        at);
    ExpectInOrder(lines,
                  {"Package 3/3 C", "Result: scenario played to the end", "Installer exit code: 0",
                   "Ended: 20", "Run exit code: 2"},
                  at);
    EXPECT_EQ(lines.empty() ? "" : lines.back(), "#end 2");
    EXPECT_EQ(ReadFile(report).find(WideToUtf8(kSecret)), std::string::npos)
        << "the typed text is in the report";
    const std::string screenshot = LineStarting(lines, "Screenshot: ").substr(12);
    EXPECT_EQ(ReadFile(Utf8ToWide(screenshot)).rfind("\x89PNG\r\n\x1A\n", 0), 0u) << screenshot;
    EXPECT_EQ(std::filesystem::path(Utf8ToWide(screenshot)).parent_path(),
              std::filesystem::path(Path(L"Reports")));

    PostMessageW(statistics, WM_COMMAND, statistics_window::kClose, 0);
}

TEST_F(RunReportE2eTest, AnNsisInstallersExitCodeReachesTheStatisticsTheReportAndTheRunsExitCode) {
    struct Case {
        int code;
        DWORD runExitCode;
        std::wstring shown;
        std::string reported;
    };
    for (const Case& c :
         {Case{3010, 3010, L"restart required", "Installer exit code: 3010 (restart required)"},
          Case{1603, 0, L"exit code 1603", "Installer exit code: 1603"}}) {
        const std::wstring name = L"Product" + std::to_wstring(c.code);
        const std::wstring scn = BuildScenario(folder_.WidePath(), name, NsisClicks(Path(name)),
                                               NsisInstallerPath(), L"/EXITCODE=" + std::to_wstring(c.code));
        ASSERT_FALSE(scn.empty());
        const std::wstring report = Path(name + L".txt");
        auto process = StartVelmora(L"/LOG=\"" + report + L"\" /inst \"" + scn + L"\"");
        ASSERT_TRUE(process);
        HWND statistics = WaitForWindow(
            {.className = statistics_window::kClassName, .processId = process->Id()}, Deadline{120000});
        ASSERT_NE(statistics, nullptr) << c.code;
        const std::vector<std::wstring> shown =
            ListBoxLines(GetDlgItem(statistics, statistics_window::kList));
        ASSERT_FALSE(shown.empty());
        EXPECT_EQ(shown[0].rfind(L"1   \u041E\u041A  PRODUCT" + std::to_wstring(c.code), 0), 0u)
            << WideToUtf8(shown[0]);  // a direct run upper-cases its command line
        EXPECT_NE(shown[0].find(c.shown), std::wstring::npos) << WideToUtf8(shown[0]);
        SaveScreenshot(statistics, L"run-report-exit-" + std::to_wstring(c.code));
        EXPECT_EQ(process->WaitExit(Deadline{15000}), std::optional<DWORD>(c.runExitCode));
        const std::vector<std::string> lines = ReportLines(report);
        SCOPED_TRACE(ReadFile(report));
        ExpectInOrder(lines, {"Result: scenario played to the end", c.reported,
                              "Duration: ", "Run exit code: " + std::to_string(c.runExitCode)});
        EXPECT_TRUE(std::filesystem::exists(Path(name) + L"\\readme.txt")) << "not installed";
    }
}

// The program's GDI or USER objects; nothing where the system does not count them (Wine answers 0).
std::optional<DWORD> GuiResources(const Process& process, DWORD kind) {
    unique_handle handle(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, process.Id()));
    const DWORD counted = GetGuiResources(handle.get(), kind);
    return counted != 0 ? std::optional<DWORD>(counted) : std::nullopt;
}

// The windows the program owns, top-level and child: a window left behind shows here on any system.
int OwnWindows(const Process& process) {
    struct Count {
        DWORD pid;
        int windows = 0;
    } count{process.Id()};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* c = reinterpret_cast<Count*>(param);
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            if (pid != c->pid)
                return TRUE;
            ++c->windows;
            EnumChildWindows(
                window,
                [](HWND, LPARAM inner) -> BOOL {
                    ++reinterpret_cast<Count*>(inner)->windows;
                    return TRUE;
                },
                param);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count.windows;
}

TEST_F(RunReportE2eTest, TwentyPackagesPlayInOneRunAndLeaveNoWindowObjectsOrProcessesBehind) {
    constexpr int kPackages = 20;
    for (int i = 1; i <= kPackages; ++i) {
        const std::wstring name = (i < 10 ? L"P0" : L"P") + std::to_wstring(i);
        if (i % 2)
            AddWizardPackage(name);
        else
            ASSERT_FALSE(
                BuildScenario(folder_.WidePath(), name, NsisClicks(Path(name)), NsisInstallerPath(), L"")
                    .empty());
    }
    ASSERT_NE(StartMain(L"", kPackages), nullptr);
    const std::optional<DWORD> gdiBefore = GuiResources(*process_, GR_GDIOBJECTS);
    const std::optional<DWORD> userBefore = GuiResources(*process_, GR_USEROBJECTS);
    const int windowsBefore = OwnWindows(*process_);

    Command(main_, MainCommand::RunAll);
    HWND statistics = WaitForOwn(statistics_window::kClassName, Deadline{540000});
    ASSERT_NE(statistics, nullptr) << "the run never ended";
    const std::vector<std::wstring> shown = ListBoxLines(GetDlgItem(statistics, statistics_window::kList));
    ASSERT_EQ(shown.size(), kPackages + 2u);
    for (int i = 0; i < kPackages; ++i)
        EXPECT_EQ(shown[static_cast<std::size_t>(i)].find(L"  \u041E\u041A  P"), 2u)
            << WideToUtf8(shown[static_cast<std::size_t>(i)]);
    PostMessageW(statistics, WM_COMMAND, statistics_window::kClose, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(statistics) && IsWindowVisible(main_); }));

    EXPECT_NEAR(OwnWindows(*process_), windowsBefore, 10);
    if (gdiBefore && userBefore) {
        EXPECT_NEAR(GuiResources(*process_, GR_GDIOBJECTS).value_or(0), *gdiBefore, 10);
        EXPECT_NEAR(GuiResources(*process_, GR_USEROBJECTS).value_or(0), *userBefore, 10);
    } else {
        std::cout
            << "GetGuiResources counts nothing on this system: only the program's windows were compared\n";
    }
    EXPECT_TRUE(RunningOf({L"FixtureWizard.exe", L"FixtureProductSetup.exe"}).empty())
        << "an installer was left running";
    EXPECT_TRUE(std::filesystem::exists(Path(L"P20") + L"\\readme.txt"));
    EXPECT_NE(Find(ReadLog(Path(L"P19.log")), "finished"), std::string::npos);
}

}  // namespace
}  // namespace velmora::e2e
