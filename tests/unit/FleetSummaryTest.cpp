#include "reports/FleetSummary.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace velmora {
namespace {

using ::testing::HasSubstr;

std::string ReportText(const std::string& computer, const std::string& end, const std::string& package = "A",
                       const std::string& screenshot = "") {
    return "velmora-run-report 2\n#run " + computer + " | u | 2026-12-07 08:00:00\n#package 1/1 " + package +
           " | done | 0 | 0:00:03" + (screenshot.empty() ? "" : " | \\\\srv\\r\\" + screenshot) + "\n" + end +
           "\n";
}

// A /LOG file kept across an upgrade: a Russian run of the old format, then one of the new format whose last
// package was marked again by a stop.
TEST(FleetSummaryTest, OneLogFileHoldsRunsOfBothFormatsAndASecondSummaryReplacesTheFirst) {
    std::string error;
    const std::string text =
        "\xEF\xBB\xBFОтчёт Velmora Runwright, версия 1.2.9\r\nКомпьютер: PC-1\r\nПакет 1/2 A\r\n"
        "Результат: ошибка: сценарий повреждён\r\nКод выхода установщика: -5\r\nПакет 2/2 B\r\n\r\n"
        "velmora-run-report 2\nRechner: PC-1\n#run PC-1 | u | 2026-12-07 08:00:00\n"
        "#package 1/1 A | done | 0 | 0:00:03\n#package 1/1 A | interrupted stopped | 0 | 0:00:03\n";
    const auto runs = ReadRunReport(text, error);
    ASSERT_TRUE(runs) << error;
    ASSERT_EQ(runs->size(), 2u);
    EXPECT_EQ((*runs)[0].computer, "PC-1");
    ASSERT_EQ((*runs)[0].packages.size(), 1u) << "B never ended";
    EXPECT_EQ(CellText((*runs)[0].packages[0]), "failed: сценарий повреждён; exit -5");
    EXPECT_EQ((*runs)[0].exitCode, std::nullopt);
    ASSERT_EQ((*runs)[1].packages.size(), 1u);
    EXPECT_EQ(CellText((*runs)[1].packages[0]), "interrupted: stopped; exit 0; 0:00:03");
    FleetTableBuilder builder;
    builder.Add("PC-1.txt", text);
    EXPECT_EQ(builder.Finish().rows.size(), 2u) << "A again: the next night's row";

    EXPECT_FALSE(ReadRunReport("velmora-run-report 3\r\n#run PC-1 | u | x\r\n", error));
    EXPECT_NE(error.find("format \"3\""), std::string::npos) << error;
}

// Only 0, 1 and 3010 are runs that went as they should; a run that played nothing did not.
TEST(FleetSummaryTest, ARunEndingWithACodeOtherThan0_1Or3010StandsWithTheFailures) {
    const struct {
        const char* end;
        RowRank rank;
    } cases[] = {
        {"#end 0", RowRank::Done},    {"#end 3010", RowRank::Done},      {"#end 1", RowRank::Interrupted},
        {"", RowRank::Unfinished},    {"#end 2", RowRank::Failed},       {"#end 4", RowRank::Failed},
        {"#end 5", RowRank::Failed},  {"#end 6", RowRank::Failed},       {"#end 77", RowRank::Failed},
        {"#end -1", RowRank::Failed}, {"#end crashed", RowRank::Failed}, {"#end ", RowRank::Failed},
    };
    for (const auto& c : cases) {
        FleetTableBuilder builder;
        builder.Add("a.txt", ReportText("PC-1", c.end));
        builder.Add("b.txt", ReportText("PC-2", "#end 0"));
        const FleetTable table = builder.Finish();
        ASSERT_EQ(table.rows.size(), 2u) << c.end;
        EXPECT_EQ(table.rows[0].rank, c.rank) << c.end;
        EXPECT_EQ(table.rows[0].computer, "PC-1") << c.end;
        const bool bad = c.rank == RowRank::Failed || c.rank == RowRank::Unfinished;
        EXPECT_EQ(FleetHtml(table, {}).find("<td class=\"bad\">") != std::string::npos, bad) << c.end;
    }
}

TEST(FleetSummaryTest, AReportPastALimitIsNamedAndLeftOutAndTheOthersStay) {
    FleetLimits limits;
    limits.report = {1000, 3, 2, 3, 5};
    limits.runs = 5;
    const std::string good = ReportText("PC-1", "#end 0");
    const std::string twoPackages = ReportText("PC-2", "#package 2/2 B | done | 0 | 0:00:01\n#end 0");
    const struct {
        std::string name, text, error;
    } cases[] = {
        {"bytes.txt", good + std::string(1001 - good.size(), ' '), "larger than 1000 bytes"},
        {"runs.txt", good + good + good + good, "more than 3 runs"},
        {"packages.txt", ReportText("PC-3", "#package 2/3 B | done | 0 | x\n#package 3/3 C | done | 0 | x"),
         "a run of more than 2 packages"},
        {"names.txt", twoPackages + ReportText("PC-2", "#package 2/2 C | done | 0 | 0:00:01", "D"),
         "more than 3 package names"},
        {"all.txt", twoPackages + twoPackages + twoPackages, "more than 5 packages"},
        {"folder.txt", good + good + good, "with it the folder's reports pass 5 runs"},
    };
    FleetTableBuilder builder(limits);
    builder.Add("first.txt", good + good + good);
    for (const auto& c : cases)
        EXPECT_THAT(builder.Add(c.name, c.text).error, HasSubstr(c.error)) << c.name;
    builder.Add("last.txt", ReportText("PC-9", "#end 0"));
    const FleetTable table = builder.Finish();
    ASSERT_EQ(table.rows.size(), 4u) << "first.txt's three nights and last.txt";
    EXPECT_EQ(table.rows.back().computer, "PC-9");
    EXPECT_EQ(table.files.size(), 8u);
    EXPECT_TRUE(table.files[6].pastFolderLimits);
    const std::string html = FleetHtml(table, {});
    EXPECT_THAT(html, HasSubstr("<li><b>names.txt</b>: more than 3 package names"));
    EXPECT_THAT(html, HasSubstr("1 left out: the folder holds more than one table takes"));
}

// A row holds only the packages it played; the page joins the columns between them, the CSV cannot.
TEST(FleetSummaryTest, CellsAreSparseAndThePageJoinsTheEmptyOnes) {
    FleetTableBuilder builder;
    builder.Add("a.txt",
                ReportText("PC-1", "#package 2/3 B | done | 0 | x\n#package 3/3 C | failed damaged | - | x"));
    builder.Add("b.txt", ReportText("PC-2", "#package 2/2 C | done | 0 | x\n#end 0", "D"));
    const FleetTable table = builder.Finish();
    ASSERT_EQ(table.packages, (std::vector<std::string>{"A", "B", "C", "D"}));
    ASSERT_EQ(table.rows.at(1).cells.size(), 2u);
    EXPECT_EQ(table.rows[1].cells[0].column, 2u) << "sorted by column";
    EXPECT_THAT(FleetHtml(table, {}),
                HasSubstr("<th>PC-2<small>u · 2026-12-07 08:00:00</small></th><td>0</td>"
                          "<td colspan=\"2\"></td><td class=\"done\">"));
    EXPECT_THAT(FleetCsv(table), HasSubstr("\"PC-2\",\"u\",\"2026-12-07 08:00:00\",\"0\",\"\",\"\",\"done"));
}

// Reports come through a share anyone may write to: a screenshot's name is no reason to link to that file.
TEST(FleetSummaryTest, ThePageLinksOnlyToScreenshotsAndToFilesReadAsReports) {
    FleetTableBuilder builder;
    for (const char* shot : {"a.txt shot.png", "b.txt evil.hta", "c.txt page.html", "d.txt setup.exe",
                             "e.txt unread.txt", "f.txt a.txt"})
        builder.Add(std::string(shot, 5), ReportText("PC", "#end 0", "A", shot + 6));
    builder.Add("unread.txt", "not a report");
    const std::vector<std::string> present{"a.txt",     "b.txt",     "SHOT.PNG",   "evil.hta",
                                           "page.html", "setup.exe", "unread.txt", "a.txt.lnk"};
    const std::string html = FleetHtml(builder.Finish(), {"../r/", present});
    std::vector<std::string> links;
    for (std::size_t at = 0; (at = html.find("href=\"", at)) != std::string::npos; ++at)
        links.push_back(html.substr(at + 6, html.find('"', at + 6) - at - 6));
    EXPECT_THAT(links, ::testing::UnorderedElementsAre("../r/SHOT.PNG", "../r/a.txt", "../r/b.txt"));
}

TEST(FleetSummaryTest, CsvQuotesEveryFieldAndKeepsFormulasOut) {
    FleetTableBuilder builder;
    builder.Add("a.txt",
                "velmora-run-report 2\n#run -PC | @u | 2026\n#package 1/1 Say \"hi\", then | done | - "
                "| \n#end 0\n");
    EXPECT_EQ(FleetCsv(builder.Finish()),
              "\xEF\xBB\xBF\"Computer\",\"User\",\"Started\",\"Run exit code\",\"Say \"\"hi\"\", then\"\r\n"
              "\"'-PC\",\"'@u\",\"2026\",\"0\",\"done\"\r\n");
}

TEST(FleetSummaryTest, TheReportsFolderAsSeenFromThePage) {
    EXPECT_EQ(RelativeFolder("reports", "reports/"), "");
    EXPECT_EQ(RelativeFolder("out/fleet", "./reports"), "../../reports/");
    EXPECT_EQ(RelativeFolder("C:\\Pages", "C:\\Reports\\Night"), "../Reports/Night/");
    EXPECT_EQ(RelativeFolder("c:\\pages", "C:\\Reports"), "../Reports/");
    EXPECT_EQ(RelativeFolder("\\\\srv\\pages", "\\\\SRV\\Pages\\r"), "r/");
    for (const char* other : {"", "/srv/reports", "D:\\Reports", "\\\\srv\\reports"})
        EXPECT_EQ(RelativeFolder("C:\\Pages", other), std::nullopt) << other;
    EXPECT_EQ(RelativeFolder("../up", "reports"), std::nullopt);
}

}  // namespace
}  // namespace velmora
