#include "playback/Statistics.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/Utilities.h"
#include "tests/unit/TextDoubles.h"

namespace velmora {
namespace {

std::string Clock24(const LocalTime& t) {
    return PadTwo(t.hour) + ":" + PadTwo(t.minute) + ":" + PadTwo(t.second);
}

class StatisticsTest : public ::testing::Test, public TextDoubles {
  protected:
    // Starts and ends one package that ran `seconds` long.
    void Run(const std::string& name, int seconds, PackageEnd result) {
        clock.now = {2026, 12, 5, 10, 0, 0};
        stats.StartPackage(name);
        clock.now.minute += seconds / 60;
        clock.now.second += seconds % 60;
        stats.EndPackage(result);
    }

    FakeClock clock;
    Statistics stats{clock};
};

TEST(DurationTest, CountsOverTheWholeDateAndNeverWrapsOrGoesNegative) {
    EXPECT_EQ(SecondsBetween({2026, 12, 31, 23, 0, 0}, {2027, 1, 1, 1, 0, 0}), 7200);
    EXPECT_EQ(SecondsBetween({2028, 2, 28, 12, 0, 0}, {2028, 3, 1, 12, 0, 0}), 2 * 86400);  // leap day
    EXPECT_EQ(SecondsBetween({2026, 12, 5, 10, 0, 0}, {2026, 12, 5, 9, 59, 0}), 0);  // the clock was set back
    EXPECT_EQ(FormatDuration(90000), "25:00:00");
    EXPECT_EQ(FormatDuration(-5), "0:00:00");
}

TEST_F(StatisticsTest, APackageAcrossMidnightAndASecondEndOverwriteTheDuration) {
    stats.EndPackage(PackageEnd::Stopped);  // a stop before the first package
    EXPECT_EQ(stats.RecordCount(), 0);
    Run("a", 59, PackageEnd::Played);
    clock.now = {2026, 12, 5, 23, 59, 0};
    stats.StartPackage("night");
    clock.now = {2026, 12, 6, 0, 1, 0};
    stats.EndPackage(PackageEnd::Played);
    clock.now.second += 5;
    stats.EndPackage(PackageEnd::Skipped);  // skipped after it had ended
    ASSERT_EQ(stats.RecordCount(), 2);
    EXPECT_EQ(stats.records[1].duration, "0:02:05");
    EXPECT_EQ(TotalLine(stats, language), "Общее время установки - 0:03:04");
}

TEST_F(StatisticsTest, ColumnsLineUpInCharactersForCyrillicLongNamesAndTwoDigitNumbers) {
    for (int i = 1; i <= 12; ++i) {
        const std::string name = i == 5 ? std::string(40, 'x') : i == 7 ? "Пакет" : "p" + std::to_string(i);
        Run(name, 75, i == 3 ? PackageEnd::InstallerMissing : PackageEnd::Played);
    }
    const auto lines = StatisticsLines(stats.records, language, Clock24);
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[0], "1   ОК  p1" + std::string(28, ' ') + "  0:01:15  10:00:00  10:01:15");
    EXPECT_EQ(lines[2].substr(0, 6), "3   NO");
    EXPECT_EQ(lines[4], "5   ОК  " + std::string(27, 'x') + "...  0:01:15  10:00:00  10:01:15");
    EXPECT_EQ(lines[11], "12  ОК  p12" + std::string(27, ' ') + "  0:01:15  10:00:00  10:01:15");
    for (std::size_t i = 0; i < 12; ++i)
        EXPECT_EQ(CharCount(lines[i]), CharCount(lines[0])) << lines[i];
    EXPECT_EQ(lines[13], "Общее время установки - 0:15:00");
}

TEST_F(StatisticsTest, InstallerExitCodesShowInTheListAndARestartEndsACompleteRunWith3010) {
    struct Case {
        std::vector<std::pair<PackageEnd, std::optional<int>>> packages;  // result, installer exit code
        int runExitCode;
        std::string lastOutcome;
    };
    const Case cases[] = {
        {{{PackageEnd::Played, 0}, {PackageEnd::Played, std::nullopt}}, 0, ""},
        {{{PackageEnd::Played, 3010}, {PackageEnd::Played, 0}}, 3010, ""},
        {{{PackageEnd::Played, 0}, {PackageEnd::Played, 1641}}, 3010, "требуется перезагрузка"},
        {{{PackageEnd::Played, 3010}, {PackageEnd::Skipped, std::nullopt}}, 1, ""},  // not all played
        {{{PackageEnd::Played, 1641}, {PackageEnd::Damaged, 3010}}, 2, "требуется перезагрузка"},
        {{{PackageEnd::Played, 1603}}, 0, "код выхода 1603"},
        {{{PackageEnd::Played, -1073741510}}, 0, "код выхода -1073741510"},
    };
    EXPECT_EQ(stats.ExitCode(), 1);  // stopped before the first package
    for (const Case& c : cases) {
        stats.Reset();
        for (const auto& [result, code] : c.packages) {
            Run("p", 1, result);
            if (code)
                stats.SetInstallerEnd(InstallerEnd::Exited, *code);
        }
        EXPECT_EQ(stats.ExitCode(), c.runExitCode) << c.packages.size() << " " << c.lastOutcome;
        EXPECT_EQ(OutcomeText(stats.records.back(), language), c.lastOutcome);
        const std::string line = StatisticsLines(stats.records, language, Clock24)[c.packages.size() - 1];
        EXPECT_TRUE(EndsWith(line, c.lastOutcome)) << line;
    }
    // A time-out names the step and counts as a failure; the code the installer was then ended with is not
    // its own and is not shown. The list's tip over it names the windows awaited.
    Run("p", 1, PackageEnd::Played);
    stats.EndPackage(PackageEnd::WindowCovered, 4, "#32770 \"Setup\" > Button \"Next\"");
    stats.SetInstallerEnd(InstallerEnd::EndedAfterTimeOut, 1);
    EXPECT_EQ(stats.records.back().result, kStatFailed);
    EXPECT_EQ(OutcomeText(stats.records.back(), language), "окно закрыто другим окном, шаг 4");
    EXPECT_EQ(stats.ExitCode(), 2);
    StatisticsWindowModel window(stats, language, false);
    window.Load(Clock24);
    EXPECT_EQ(window.tips,
              (std::vector<std::string>{"", "ожидаемое окно: #32770 \"Setup\" > Button \"Next\"", "", ""}));
}

// A report that was written is offered; one that could not be is said in the list, never offered.
TEST_F(StatisticsTest, TheWindowOffersAWrittenReportAndSaysWhenItCouldNotBeWritten) {
    Run("a", 1, PackageEnd::Played);
    StatisticsWindowModel window(stats, language, false);
    window.Load(Clock24);
    EXPECT_TRUE(window.openReportCaption.empty());
    window.SetReport("D:\\Logs\\run.txt", false);
    window.Load(Clock24);
    EXPECT_EQ(window.openReportCaption, "Открыть отчёт");
    EXPECT_EQ(window.reportPath, "D:\\Logs\\run.txt");
    EXPECT_EQ(window.lines.size(), 3u);
    window.SetReport("D:\\Logs\\run.txt", true);
    window.Load(Clock24);
    EXPECT_TRUE(window.openReportCaption.empty());
    EXPECT_EQ(window.lines.back(), "Отчёт не удалось записать: D:\\Logs\\run.txt");
}

TEST_F(StatisticsTest, DirectRunWindowCountsDownFourTicksAndKeepsTheExitCodeAfterClose) {
    Run("a", 1, PackageEnd::InstallerNotStarted);
    StatisticsWindowModel window(stats, language, true);
    window.Load(Clock24);
    for (int left = 3; left >= 1; --left) {
        EXPECT_FALSE(window.Tick());
        EXPECT_THAT(window.countdownLine, ::testing::EndsWith(" " + std::to_string(left) + " сек"));
    }
    EXPECT_TRUE(window.Tick());
    EXPECT_TRUE(window.CloseClicked());
    EXPECT_EQ(window.exitCode, 2);
}

}  // namespace
}  // namespace velmora
