#include "playback/Statistics.h"

#include <gtest/gtest.h>

#include "base/Utilities.h"
#include "platform/doubles/Fakes.h"
#include "platform/doubles/MemoryFileSystem.h"
#include "platform/doubles/MemoryProfileFile.h"

namespace velmora {
namespace {

std::string Clock24(const LocalTime& t) {
    return PadTwo(t.hour) + ":" + PadTwo(t.minute) + ":" + PadTwo(t.second);
}

class StatisticsTest : public ::testing::Test {
  protected:
    // Starts and ends one package that ran `seconds` long.
    void Run(const std::string& name, int seconds, std::uint8_t result) {
        clock.now = {2026, 12, 5, 10, 0, 0};
        stats.StartPackage(name);
        clock.now.hour += seconds / 3600;
        clock.now.minute += (seconds / 60) % 60;
        clock.now.second += seconds % 60;
        stats.EndPackage(result);
    }

    void LoadEnglish(const std::string& statisticSection) {
        files.AddFile("C:\\Tools\\language\\English.lng", "[Statistic]\r\n" + statisticSection);
        language.languageName = "English";
        language.LoadLanguage("C:\\Tools", 1033, false);
    }

    MemoryFileSystem files;
    MemoryProfileFile profile{files};
    FakeDialogs dialogs;
    Language language{files, profile, dialogs};
    FakeClock clock;
    Statistics stats{clock};
};

TEST(FormatDuration, HoursMinutesSecondsWithoutWrappingAtADay) {
    EXPECT_EQ(FormatDuration(3725), "1:02:05");
    EXPECT_EQ(FormatDuration(45), "0:00:45");
    EXPECT_EQ(FormatDuration(0), "0:00:00");
    EXPECT_EQ(FormatDuration(90000), "25:00:00");
    EXPECT_EQ(FormatDuration(-5), "0:00:00");
    EXPECT_EQ(PadTwo(5), "05");
    EXPECT_EQ(PadTwo(12), "12");
    EXPECT_EQ(PadTwo(123), "0123");
}

TEST(SecondsBetween, CountsAcrossMidnightMonthAndYearAndNeverGoesNegative) {
    EXPECT_EQ(SecondsBetween({2026, 12, 5, 23, 59, 30}, {2026, 12, 6, 0, 0, 45}), 75);
    EXPECT_EQ(SecondsBetween({2026, 12, 31, 23, 0, 0}, {2027, 1, 1, 1, 0, 0}), 7200);
    EXPECT_EQ(SecondsBetween({2028, 2, 28, 12, 0, 0}, {2028, 3, 1, 12, 0, 0}), 2 * 86400);  // leap day
    EXPECT_EQ(SecondsBetween({2026, 12, 5, 10, 0, 0}, {2026, 12, 5, 9, 59, 0}), 0);
}

TEST_F(StatisticsTest, RecordsDurationsAndTotalAndAPackageAcrossMidnight) {
    Run("a", 59, kStatDone);
    Run("b", 61, kStatDone);
    Run("c", 3600, kStatDone);
    clock.now = {2026, 12, 5, 23, 59, 0};
    stats.StartPackage("night");
    clock.now = {2026, 12, 6, 0, 1, 0};
    stats.EndPackage(kStatDone);

    ASSERT_EQ(stats.RecordCount(), 4);
    EXPECT_EQ(stats.records[0].Duration, "0:00:59");
    EXPECT_EQ(stats.records[1].Duration, "0:01:01");
    EXPECT_EQ(stats.records[2].Duration, "1:00:00");
    EXPECT_EQ(stats.records[3].Duration, "0:02:00");
    EXPECT_EQ(stats.TotalTime(), "1:04:00");
    EXPECT_EQ(TotalLine(stats, language), "Общее время установки - 1:04:00");

    stats.Reset();
    EXPECT_EQ(stats.RecordCount(), 0);
    EXPECT_EQ(stats.TotalTime(), "");
}

TEST_F(StatisticsTest, EndingTwiceOverwritesAndEndingBeforeAnyStartTouchesOnlyThePlaceholder) {
    stats.EndPackage(kStatInterrupted);
    EXPECT_EQ(stats.RecordCount(), 0);
    EXPECT_TRUE(StatisticsLines(stats.records, language, Clock24).empty());

    Run("a", 10, kStatDone);
    clock.now.second += 5;
    stats.EndPackage(kStatInterrupted);
    ASSERT_EQ(stats.RecordCount(), 1);
    EXPECT_EQ(stats.records[0].Result, kStatInterrupted);
    EXPECT_EQ(stats.records[0].Duration, "0:00:15");
}

TEST_F(StatisticsTest, TwelvePackagesWithALongNameLineUpInCharacterColumns) {
    const std::string longName(40, 'x');
    for (int i = 1; i <= 12; ++i)
        Run(i == 5   ? longName
            : i == 7 ? "Пакет"
                     : "p" + std::to_string(i),
            75, i == 3 ? kStatFailed : kStatDone);

    const auto lines = StatisticsLines(stats.records, language, Clock24);
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[0], "1   ОК  p1" + std::string(28, ' ') + "  0:01:15  10:00:00  10:01:15");
    EXPECT_EQ(lines[2].substr(0, 6), "3   NO");
    EXPECT_EQ(lines[4], "5   ОК  " + std::string(27, 'x') + "...  0:01:15  10:00:00  10:01:15");
    EXPECT_EQ(lines[6], "7   ОК  Пакет" + std::string(25, ' ') + "  0:01:15  10:00:00  10:01:15");
    EXPECT_EQ(lines[11], "12  ОК  p12" + std::string(27, ' ') + "  0:01:15  10:00:00  10:01:15");
    for (std::size_t i = 0; i < 12; ++i)
        EXPECT_EQ(CharCount(lines[i]), CharCount(lines[0])) << lines[i];
    EXPECT_EQ(lines[12], "");
    EXPECT_EQ(lines[13], "Общее время установки - 0:15:00");
}

TEST_F(StatisticsTest, ShortNamesMakeANarrowColumnAndTheLanguageFileNamesTheTotal) {
    LoadEnglish("3=Total time\r\n");
    Run("ab", 5, kStatInterrupted);
    Run("abcdefg", 5, kStatDone);
    const auto lines = StatisticsLines(stats.records, language, Clock24);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "1   MB  ab       0:00:05  10:00:00  10:00:05");
    EXPECT_EQ(lines[1], "2   ОК  abcdefg  0:00:05  10:00:00  10:00:05");
    EXPECT_EQ(lines[3], "Total time - 0:00:10");
}

TEST_F(StatisticsTest, ExitCodeOfADirectRun) {
    EXPECT_EQ(stats.ExitCode(), 1);  // stopped before the first package
    Run("a", 1, kStatDone);
    EXPECT_EQ(stats.ExitCode(), 0);
    Run("b", 1, kStatInterrupted);
    EXPECT_EQ(stats.ExitCode(), 1);
    Run("c", 1, kStatFailed);
    EXPECT_EQ(stats.ExitCode(), 2);
    Run("d", 1, kStatDone);
    EXPECT_EQ(stats.ExitCode(), 2);
}

TEST_F(StatisticsTest, DirectRunWindowCountsDownFourTicksAndKeepsTheExitCodeAfterClose) {
    Run("a", 1, kStatFailed);
    StatisticsWindowModel window(stats, language, true);
    window.Load(Clock24);
    EXPECT_EQ(window.Caption, "Статистика");
    EXPECT_EQ(window.CloseCaption, "Закрыть");
    EXPECT_TRUE(window.CountdownVisible);
    EXPECT_EQ(window.CountdownLine, "Автоматическое завершение программы через 4 сек");
    EXPECT_FALSE(window.Tick());
    EXPECT_EQ(window.CountdownLine, "Автоматическое завершение программы через 3 сек");
    EXPECT_FALSE(window.Tick());
    EXPECT_FALSE(window.Tick());
    EXPECT_EQ(window.CountdownLine, "Автоматическое завершение программы через 1 сек");
    EXPECT_TRUE(window.Tick());

    EXPECT_TRUE(window.CloseClicked());
    EXPECT_EQ(stats.RecordCount(), 0);
    EXPECT_EQ(window.ExitCode, 2);
}

TEST_F(StatisticsTest, NormalRunWindowHasNoCountdownAndItsButtonOnlyCloses) {
    LoadEnglish("1=Statistics\r\n4=Closing in %s s\r\n");
    Run("a", 1, kStatDone);
    StatisticsWindowModel window(stats, language, false);
    window.Load(Clock24);
    EXPECT_EQ(window.Caption, "Statistics");
    EXPECT_FALSE(window.CountdownVisible);
    EXPECT_FALSE(window.TimerEnabled);
    for (int i = 0; i < 6; ++i)
        EXPECT_FALSE(window.Tick());
    EXPECT_FALSE(window.CloseClicked());
    EXPECT_EQ(stats.RecordCount(), 0);
    EXPECT_EQ(CountdownText(language, 2), "Closing in 2 s");
}

}  // namespace
}  // namespace velmora
