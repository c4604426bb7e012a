#include "reports/FleetSummary.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

// A /LOG file kept across an upgrade: a Russian run of the old format, then one of the new format whose last
// package was marked again by a stop.
TEST(FleetSummaryTest, OneLogFileHoldsRunsOfBothFormatsAndASecondSummaryReplacesTheFirst) {
    std::string error;
    const auto runs = ReadRunReport(
        "\xEF\xBB\xBFОтчёт Velmora Runwright, версия 1.2.9\r\nКомпьютер: PC-1\r\nПакет 1/1 A\r\n"
        "Результат: ошибка: сценарий повреждён\r\nКод выхода установщика: -5\r\n\r\n"
        "velmora-run-report 2\nRechner: PC-1\n#run PC-1 | u | 2026-12-07 08:00:00\n"
        "#package 1/1 A | done | 0 | 0:00:03\n#package 1/1 A | interrupted stopped | 0 | 0:00:03\n",
        error);
    ASSERT_TRUE(runs) << error;
    ASSERT_EQ(runs->size(), 2u);
    EXPECT_EQ((*runs)[0].computer, "PC-1");
    EXPECT_EQ(CellText((*runs)[0].packages.at(0)), "failed: сценарий повреждён; exit -5");
    EXPECT_EQ((*runs)[0].exitCode, "");
    ASSERT_EQ((*runs)[1].packages.size(), 1u);
    EXPECT_EQ(CellText((*runs)[1].packages[0]), "interrupted: stopped; exit 0; 0:00:03");
    EXPECT_EQ(BuildFleetTable({{"PC-1.txt", *runs, {}}}).rows.size(), 2u) << "A again: the next night's row";

    EXPECT_FALSE(ReadRunReport("velmora-run-report 3\r\n#run PC-1 | u | x\r\n", error));
    EXPECT_NE(error.find("format \"3\""), std::string::npos) << error;
}

TEST(FleetSummaryTest, CsvQuotesEveryFieldAndKeepsFormulasOut) {
    const ReportedPackage quoted{"1/1", "Say \"hi\", then\r\nbye", "done", "", "-", "", ""};
    const std::vector<ReportFile> files{{"a.txt", {{"-PC", "@u", "2026", "0", {quoted}}}, {}}};
    EXPECT_EQ(
        FleetCsv(BuildFleetTable(files)),
        "\xEF\xBB\xBF\"Computer\",\"User\",\"Started\",\"Run exit code\",\"Say \"\"hi\"\", then\r\nbye\"\r\n"
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
