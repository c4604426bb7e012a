// Fifty machines' reports as the program writes them (its own report writer, Russian and English, one with a
// hostile name, one that never ended), one from before the format line and one it cannot read, go through the
// real scntool; every cell of its table must say what the machine reported.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "platform/doubles/Fakes.h"
#include "playback/Statistics.h"
#include "reports/RunReport.h"
#include "tests/unit/TextDoubles.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using Row = std::vector<std::string>;

const Row kPackages{"Office", "7-Zip", "Acrobat Reader", "Драйвер принтера"};
constexpr PackageEnd kFailures[] = {PackageEnd::WindowNotFound,     PackageEnd::InstallerMissing,
                                    PackageEnd::WindowCovered,      PackageEnd::Damaged,
                                    PackageEnd::ScenarioUnreadable, PackageEnd::InstallerNotStarted};
const std::map<PackageEnd, std::string> kCellResult{
    {PackageEnd::Played, "done"},
    {PackageEnd::Skipped, "interrupted: skipped"},
    {PackageEnd::WindowNotFound, "failed: window-not-found "},
    {PackageEnd::WindowCovered, "failed: window-covered "},
    {PackageEnd::InstallerMissing, "failed: installer-missing"},
    {PackageEnd::InstallerNotStarted, "failed: installer-not-started"},
    {PackageEnd::Damaged, "failed: damaged"},
    {PackageEnd::ScenarioUnreadable, "failed: scenario-unreadable"}};

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return (std::ostringstream() << in.rdbuf()).str();
}

void WriteAll(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<Row> ParseCsv(const std::string& text) {
    std::vector<Row> rows(1, Row(1));
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"' && quoted && i + 1 < text.size() && text[i + 1] == '"')
            rows.back().back() += text[i++];
        else if (c == '"')
            quoted = !quoted;
        else if (!quoted && c == ',')
            rows.back().emplace_back();
        else if (!quoted && c == '\n' && i > 0 && text[i - 1] == '\r')
            rows.back().back().pop_back(), rows.emplace_back(1);
        else
            rows.back().back() += c;
    }
    rows.pop_back();
    return rows;
}

struct Expected {
    Row run;  // user, start, exit code
    std::map<std::string, std::string> cells;
};

// What the table must say for a package as its machine reported it.
std::string ExpectedCell(const PackageRecord& record) {
    const bool window = record.end == PackageEnd::WindowNotFound || record.end == PackageEnd::WindowCovered;
    const std::map<InstallerEnd, std::string> installer{
        {InstallerEnd::NotStarted, ""},
        {InstallerEnd::Exited, "; exit " + std::to_string(record.installerExitCode.value_or(-1))},
        {InstallerEnd::StillRunning, "; installer running"},
        {InstallerEnd::EndedAfterTimeOut, "; installer ended"}};
    return kCellResult.at(record.end) + (window ? std::to_string(record.step) : "") +
           installer.at(record.installer) + "; " + record.duration;
}

// One machine as the program runs there: its language, its report writer and the record of its run.
struct Machine : TextDoubles {
    explicit Machine(int i) : name("PC-" + std::to_string(100 + i)) {
        files.AddFolder("C:\\Reports");
        if (i % 4 == 1)
            LoadEnglish(ShippedEnglish());
        clock.now = {2026, 12, 6, 19, i, 0};
    }
    // Package j from start to end, as the player tells the report; its screenshot goes to the folder.
    void Play(std::size_t j, PackageEnd end, int exitCode, const fs::path& folder) {
        const bool window = end == PackageEnd::WindowNotFound || end == PackageEnd::WindowCovered;
        const bool started =
            end == PackageEnd::Played || end == PackageEnd::Skipped || end == PackageEnd::Damaged;
        clock.now.hour = 20 + static_cast<int>(j);
        report.PackageStarted(j + 1, kPackages.size(), "C:\\Scn\\" + kPackages[j] + ".SCN");
        stats.StartPackage(kPackages[j]);
        clock.now.second = (clock.now.minute * 7 + static_cast<int>(j) * 13) % 60;
        stats.EndPackage(end, window ? 3 : 0);
        report.PackageEnded(stats.records.back());
        if (window) {
            report.ScreenshotKept(report.ScreenshotPath(j + 1, 3));
            WriteAll(folder / (name + "-" + std::to_string(j + 1) + "-step3.png"), "\x89PNG");
        }
        stats.SetInstallerEnd(window                       ? InstallerEnd::EndedAfterTimeOut
                              : end == PackageEnd::Skipped ? InstallerEnd::StillRunning
                              : started                    ? InstallerEnd::Exited
                                                           : InstallerEnd::NotStarted,
                              exitCode);
        report.InstallerEnded(stats.records.back());
        clock.now.second = 0;
    }

    std::string name;
    FakeClock clock;
    FakeSystemInfo system;
    Statistics stats{clock};
    RunReport report{RunReportPorts{files, clock, system, language}};
};

// Machine i's run: a failure on one machine in five, a skip on some, restarts asked for, Acrobat left out on
// others, one hostile; its report goes to the folder and what the table must show for it to `expected`.
void WriteMachine(int i, const fs::path& folder, std::map<std::string, Expected>& expected) {
    Machine m(i);
    m.system.computerName = i == 7 ? "<script>alert(1)</script>" : m.name;
    m.system.userName = i == 7 ? "=cmd|' /C calc'!A0" : i % 3 ? "admin" : "Пётр";
    const std::string path = "C:\\Reports\\" + m.name + ".txt";
    m.report.Begin(path, "", "1.2.3");
    Expected& e = expected[*m.system.computerName];
    e.run = {i == 7 ? "'=cmd|' /C calc'!A0" : *m.system.userName, ReportTime(m.clock.now)};
    const bool runEach = i % 8 == 6;  // one run a package, as velmora-run.cmd plays them: still one row
    for (std::size_t j = 0; j < kPackages.size(); ++j) {
        if (i % 6 == 5 && j == 2)
            continue;
        if (runEach && j > 0)
            m.report.Begin(path, "", "1.2.3");
        PackageEnd end =
            i % 5 == 0 && j == std::size_t(i / 5 % 4) ? kFailures[i / 5 % 6] : PackageEnd::Played;
        end = i % 7 == 3 && j == 3 ? PackageEnd::Skipped : end;
        m.Play(j, end, i % 6 == 2 && j == 0 ? 3010 : 0, folder);
        e.cells[kPackages[j]] = ExpectedCell(m.stats.records.back());
        Statistics one{m.clock};
        one.records = {m.stats.records.back()};
        if (runEach)
            m.report.End(one.ExitCode());
    }
    e.run.push_back(i == 48 ? "unfinished" : std::to_string(m.stats.ExitCode()));
    if (i != 48 && !runEach)  // 48 went down before its run ended
        m.report.End(m.stats.ExitCode());
    WriteAll(folder / (m.name + ".txt"), *m.files.Contents(path));
}

// Forty-nine machines' reports, one written before the format line and one in a language not read without it.
std::map<std::string, Expected> WriteFolder(const fs::path& folder) {
    std::map<std::string, Expected> expected;
    for (int i = 0; i < 49; ++i)
        WriteMachine(i, folder, expected);
    WriteAll(folder / "old-PC-50.txt",
             "\xEF\xBB\xBFVelmora Runwright run report, version 1.2.140\r\nComputer: PC-50\r\nUser: admin\r\n"
             "Started: 2026-12-01 21:40:12\r\n\r\nPackage 1/2 Office\r\nScenario: D:\\Office.SCN\r\n"
             "Result: failed: window not found, step 3\r\nScreenshot: \\\\srv\\r\\old-PC-50-1-step3.png\r\n"
             "Installer exit code: the installer and the processes it started were ended\r\n"
             "Duration: 0:02:31\r\n\r\nPackage 2/2 7-Zip\r\nResult: scenario played to the end\r\n"
             "Installer exit code: 3010 (restart required)\r\nDuration: 0:00:40\r\n\r\n"
             "Ended: 2026-12-01 21:47:55\r\nRun exit code: 2\r\n");
    expected["PC-50"] = {{"admin", "2026-12-01 21:40:12", "2"},
                         {{"Office", "failed: window not found, step 3; installer ended; 0:02:31"},
                          {"7-Zip", "done; exit 3010; 0:00:40"}}};
    WriteAll(folder / "PC-51.txt", "Velmora Runwright Bericht, Version 1.2.140\r\nComputer: PC-51\r\n");
    return expected;
}

TEST(FleetReportsE2eTest, FiftyMachinesReportsBecomeOneTableWhoseCellsSayWhatEachReportSaid) {
    const fs::path folder = "fleet-reports", out = "fleet-out";
    fs::remove_all(folder);
    fs::remove_all(out);
    fs::create_directories(folder);
    fs::create_directories(out);
    std::map<std::string, Expected> expected = WriteFolder(folder);

    const std::string command =
        std::string(SCNTOOL) + " reports fleet-reports -o fleet-out/summary 2>fleet-out/err";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_NE(ReadAll(out / "err").find("PC-51.txt: not a run report"), std::string::npos)
        << ReadAll(out / "err");

    const std::vector<Row> rows = ParseCsv(ReadAll(out / "summary.csv"));
    ASSERT_EQ(rows.size(), 51u);
    EXPECT_EQ(Row(rows[0].begin(), rows[0].begin() + 4),
              (Row{std::string("\xEF\xBB\xBF") + "Computer", "User", "Started", "Run exit code"}));
    int failedCells = 0, seenWithoutFailure = 0;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        ASSERT_EQ(rows[r].size(), rows[0].size());
        ASSERT_EQ(expected.count(rows[r][0]), 1u) << rows[r][0];
        const Expected& e = expected[rows[r][0]];
        EXPECT_EQ(Row(rows[r].begin() + 1, rows[r].begin() + 4), e.run) << rows[r][0];
        bool failed = rows[r][3] == "2" || rows[r][3] == "unfinished";
        for (std::size_t c = 4; c < rows[0].size(); ++c) {
            const auto cell = e.cells.find(rows[0][c]);
            EXPECT_EQ(rows[r][c], cell == e.cells.end() ? "" : cell->second)
                << rows[r][0] << " " << rows[0][c];
            failed = failed || rows[r][c].starts_with("failed");
            failedCells += rows[r][c].starts_with("failed");
        }
        EXPECT_TRUE(!failed || seenWithoutFailure == 0)
            << rows[r][0] << " comes after a run without failures";
        seenWithoutFailure += !failed;
        expected.erase(rows[r][0]);
    }
    EXPECT_TRUE(expected.empty()) << expected.size() << " runs are missing from the table";
    EXPECT_EQ(rows[0].size(), 8u);

    const std::string html = ReadAll(out / "summary.html");
    EXPECT_EQ(html.find("<script"), std::string::npos) << "a computer's name got into the page as markup";
    EXPECT_NE(html.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
    std::size_t failedInPage = 0, links = 0;
    for (std::size_t at = 0; (at = html.find("<td class=\"failed\">", at)) != std::string::npos; ++at)
        ++failedInPage;
    for (std::size_t at = 0; (at = html.find("-step3.png\">screenshot</a>", at)) != std::string::npos; ++at)
        links += html.compare(html.rfind("href=\"", at), 23, "href=\"../fleet-reports/") == 0;
    EXPECT_EQ(failedInPage, static_cast<std::size_t>(failedCells));
    const auto shots =
        std::count_if(fs::directory_iterator(folder), fs::directory_iterator(),
                      [](const fs::directory_entry& f) { return f.path().extension() == ".png"; });
    EXPECT_EQ(links, static_cast<std::size_t>(shots))
        << "each screenshot beside the reports is linked, no other";
}

}  // namespace
}  // namespace velmora
