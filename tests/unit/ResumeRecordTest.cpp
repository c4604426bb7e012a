// The resume record a run leaves before it restarts Windows, what "/resume" makes of it, and the runs that
// play nothing because no click could land.
#include <gtest/gtest.h>

#include "app/UnattendedRun.h"
#include "tests/unit/TextDoubles.h"

namespace velmora {
namespace {

ResumeRecord Sample() {
    return ResumeRecord("S-1-5-21-7-8-9-1001", LocalTime{2026, 12, 5, 14, 3, 9}, 2, 3, 1,
                        "\\\\server\\reports\\PC-01.txt", 1, 15, false,
                        {"C:\\Velmora\\packages\\B.SCN", "\\\\server\\p\\C & D.SCN"});
}

class ResumeRecordTest : public ::testing::Test, public TextDoubles {
  protected:
    ResumeRecordTest() {
        files.AddFolder(system.localAppDataFolder);
        tasks.tasks[kResumeTaskName] = "<Task/>";
    }
    std::string Path() { return ResumeRecordPath(system); }
    // Takes the record; it and the task are gone whatever it held.
    std::optional<ResumeRefusal> Take() {
        const std::optional<ResumeRefusal> refusal = TakeResumeRecord(ports, state);
        EXPECT_FALSE(files.Exists(Path()));
        EXPECT_TRUE(tasks.tasks.empty());
        return refusal;
    }

    FakeSystemInfo system;
    FakeClock clock;
    FakeLogonTasks tasks;
    ResumePorts ports{files, system, clock, tasks};
    SharedState state;
};

TEST_F(ResumeRecordTest, WrittenWhereTheUserKeepsLocalDataAndTakenBackWhole) {
    ASSERT_TRUE(WriteResumeRecord(files, system, Sample()));
    EXPECT_EQ(Path(), "C:\\Users\\admin\\AppData\\Local\\Velmora Runwright\\resume.txt");
    clock.now = {2026, 12, 12, 14, 3, 9};  // a week to the second is not too old
    EXPECT_FALSE(Take());
    EXPECT_EQ(state.runList, Sample().packages);
    EXPECT_EQ(state.currentScenario, "C:\\Velmora\\packages\\B.SCN");
    EXPECT_EQ(state.reportLog, "\\\\server\\reports\\PC-01.txt");
    EXPECT_TRUE(state.noStatistics);
    ASSERT_TRUE(state.resumed);
    const ResumedRun& run = *state.resumed;
    EXPECT_EQ(std::tuple(run.restarts, run.packagesDone, run.exitCode, run.speed, run.timeoutMinutes),
              std::tuple(2, 3u, 1, 1, 15));

    ResumeRecord noReport = Sample();
    noReport.report.clear();
    EXPECT_EQ(ParseResumeRecord(FormatResumeRecord(noReport)), noReport);
}

TEST_F(ResumeRecordTest, ADamagedRecordIsRefusedWhateverIsWrongWithIt) {
    const std::string good = FormatResumeRecord(Sample());
    const auto with = [&good](const std::string& from, const std::string& to) {
        std::string text = good;
        return text.replace(text.find(from), from.size(), to);
    };
    std::string unix = good;
    std::erase(unix, '\r');
    // A value out of its range or in the wrong form.
    for (const std::string& text :
         {with("resume 1", "resume 2"), with("restarts 2", "restarts 6"), with("restarts 2", "restarts 0"),
          with("done 3", "done -3"), with("exit 1", "exit 3010"), with("speed 1", "speed 3"),
          with("timeout 15", "timeout 15x"), with("2026-12-05", "2026-13-05"), with("14:03:09", "14:3:09"),
          with("user S-1-5", "user admin"), with("C:\\Velmora", "Velmora"), with("report \\\\", "report "),
          with("B.SCN", std::string("B\0.SCN", 6))})
        EXPECT_FALSE(ParseResumeRecord(text)) << text;
    // Lines swapped, doubled, added or missing, the last one cut short, LF line ends, nothing.
    for (const std::string& text :
         {with("speed 1\r\ntimeout 15", "timeout 15\r\nspeed 1"),
          with("statistics 0\r\n", "statistics 0\r\nstatistics 0\r\n"), good + "note\r\n",
          good.substr(0, good.find("package")), good.substr(0, good.size() - 1), unix, std::string()})
        EXPECT_FALSE(ParseResumeRecord(text)) << text;
    files.AddFile(Path(), with("exit 1", "exit 3010"));
    EXPECT_EQ(Take(), ResumeRefusal::Damaged);
    EXPECT_TRUE(state.runList.empty());
    EXPECT_FALSE(state.resumed);
}

TEST_F(ResumeRecordTest, AnotherUsersStaleOrMissingRecordIsRefusedAndSaysWhy) {
    const std::tuple<std::string, LocalTime, ResumeRefusal> cases[] = {
        {"S-1-5-21-7-8-9-500", Sample().written, ResumeRefusal::Foreign},
        {Sample().user, {2026, 12, 12, 14, 3, 10}, ResumeRefusal::Stale},
        {Sample().user, {2026, 11, 28, 14, 3, 8}, ResumeRefusal::Stale}};
    for (const auto& [user, now, why] : cases) {
        ResumeRecord record = Sample();
        record.user = user;
        ASSERT_TRUE(WriteResumeRecord(files, system, record));
        tasks.tasks[kResumeTaskName] = "<Task/>";
        clock.now = now;
        EXPECT_EQ(Take(), why);
        EXPECT_TRUE(state.runList.empty());
    }
    EXPECT_EQ(Take(), ResumeRefusal::Missing);
}

// A resume start where no click can land keeps the record for a later logon; one without a record to play
// ends with its own code and says why.
TEST_F(ResumeRecordTest, AResumeStartPlaysTheRecordOrEndsWithItsOwnExitCode) {
    ASSERT_TRUE(WriteResumeRecord(files, system, Sample()));
    const DesktopFacts locked{2, true, std::nullopt, SessionConnection::Active};
    EXPECT_EQ(StartResumedRun(ports, locked, language, state).exitCode, kNoDesktopExitCode);
    EXPECT_TRUE(files.Exists(Path()));
    EXPECT_FALSE(tasks.tasks.empty());

    const DesktopFacts desktop{1, true, "Default", SessionConnection::Active};
    const ResumeStart played = StartResumedRun(ports, desktop, language, state);
    EXPECT_FALSE(played.exitCode);
    EXPECT_TRUE(played.message.empty());
    EXPECT_EQ(state.runList, Sample().packages);
    const ResumeStart refused = StartResumedRun(ports, desktop, language, state);
    EXPECT_EQ(refused.exitCode, kNoResumeExitCode);
    EXPECT_EQ(refused.message, ResumeRefusalText(ResumeRefusal::Missing, Path(), language));
}

TEST(ResumeTaskTest, StartsTheProgramElevatedInTheUsersSessionAtTheirLogon) {
    const std::string task = ResumeTaskDefinition("D:\\R & D\\velmora.exe", "S-1-5-21-7");
    for (const char* part :
         {"<LogonTrigger>\r\n      <UserId>S-1-5-21-7</UserId>", "<LogonType>InteractiveToken</LogonType>",
          "<RunLevel>HighestAvailable</RunLevel>", "<Command>D:\\R &amp; D\\velmora.exe</Command>",
          "<Arguments>/resume</Arguments>", "\"D:\\R &amp; D\\velmora.exe\" /resume</Description>",
          "<ExecutionTimeLimit>PT0S</ExecutionTimeLimit>"})
        EXPECT_NE(task.find(part), std::string::npos) << part;
    EXPECT_EQ(task.find("Password"), std::string::npos);
}

TEST(NoDesktopTest, ARunWhereNoClickCanLandSaysWhy) {
    using C = SessionConnection;
    const std::pair<DesktopFacts, std::optional<NoDesktop>> cases[] = {
        {{1, true, "Default", C::Active}, std::nullopt},
        {{1, true, "default", std::nullopt}, std::nullopt},  // Wine tells no connection
        {{std::nullopt, true, "Default", C::Connected}, std::nullopt},
        {{0, true, "Default", C::Active}, NoDesktop::Service},
        {{2, false, std::nullopt, C::Active}, NoDesktop::HiddenWindowStation},
        {{2, true, "Default", C::Disconnected}, NoDesktop::Disconnected},
        {{2, true, std::nullopt, C::Active}, NoDesktop::Locked},
        {{2, true, "Winlogon", C::Active}, NoDesktop::OtherDesktop}};
    for (const auto& [facts, why] : cases)
        EXPECT_EQ(WhyNoDesktop(facts), why) << facts.inputDesktop.value_or("-");

    // The refused run's report and exit code are checked end to end; the desktop's name is said only here.
    const TextDoubles doubles;
    EXPECT_TRUE(NoDesktopText(NoDesktop::OtherDesktop, {2, true, "Winlogon", C::Active}, doubles.language)
                    .ends_with(": Winlogon"));
}

}  // namespace
}  // namespace velmora
