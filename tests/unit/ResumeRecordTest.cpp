// The resume record a run leaves before it restarts Windows, what "/resume" makes of it, and the runs that
// play nothing because no click could land.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/UnattendedRun.h"
#include "platform/doubles/MemoryProtectedFiles.h"
#include "tests/unit/TextDoubles.h"

namespace velmora {
namespace {

const std::string kParent = "C:\\ProgramData\\Velmora Runwright";
const std::string kFolder = kParent + "\\Resume";
const std::string kPath = kFolder + "\\S-1-5-21-7-8-9-1001.txt";
const std::string kTask = "Velmora Runwright resume S-1-5-21-7-8-9-1001";

ResumeRecord Sample() {
    const std::string hash(64, 'a');
    return ResumeRecord("S-1-5-21-7-8-9-1001", LocalTime{2026, 12, 5, 14, 3, 9}, 2, false, 3, 1,
                        "\\\\server\\reports\\PC-01.txt", 1, 15, false,
                        {{"C:\\Velmora\\packages\\B.SCN", hash, "C:\\Setups\\b.msi", "-"},
                         {"\\\\server\\p\\C & D.SCN", "-", "", "-"}});
}

class ResumeRecordTest : public ::testing::Test, public TextDoubles {
  protected:
    ResumeRecordTest() {
        files.AddFolder("C:\\ProgramData");
        tasks.tasks[kTask] = "<Task/>";
    }
    void Write(const ResumeRecord& record) { ASSERT_TRUE(WriteResumeRecord(store, record)); }
    std::optional<ResumeRefusal> Take() { return TakeResumeRecord(ports, state); }
    // Sleeping a second passes a second of the clock.
    void Wait(int ms) {
        ++waits;
        clock.now.second += ms / 1000;
        if (clock.now.second >= 60) {
            clock.now.minute += clock.now.second / 60;
            clock.now.second %= 60;
        }
    }
    ResumeStart Start() {
        return StartResumedRun(ports, language, state, report, choice, [this](int ms) { Wait(ms); });
    }
    std::string Report() { return files.Contents("C:\\Logs\\run.txt").value_or(""); }

    MemoryProtectedFiles vault{files};
    FakeSystemInfo system;
    FakeClock clock;
    FakeLogonTasks tasks;
    FakeDesktopInfo desktop;
    ResumeStorePorts store{vault, files, system, clock};
    ResumePorts ports{vault, files, system, clock, tasks, desktop};
    RunReport report{RunReportPorts{files, clock, system, language}};
    SharedState state;
    InputChoice choice = InputChoice::Mouse;
    int waits = 0;
};

TEST_F(ResumeRecordTest, WrittenWhereOnlyAdministratorsWriteAndTakenBackWhole) {
    // A user made the folder and planted a record: theirs is renamed aside, never entered.
    files.AddFile(kPath, "planted");
    vault.marks[kParent] = FileTrust::Owner;
    Write(Sample());
    EXPECT_EQ(files.Contents(kParent + " (untrusted 2026-12-05 140309)\\Resume\\S-1-5-21-7-8-9-1001.txt"),
              "planted");
    clock.now = {2026, 12, 12, 14, 3, 9};  // a week to the second is not too old
    EXPECT_FALSE(Take());
    EXPECT_EQ(state.runList,
              (std::vector<std::string>{"C:\\Velmora\\packages\\B.SCN", "\\\\server\\p\\C & D.SCN"}));
    EXPECT_EQ(state.currentScenario, "C:\\Velmora\\packages\\B.SCN");
    EXPECT_EQ(state.reportLog, "\\\\server\\reports\\PC-01.txt");
    EXPECT_TRUE(state.noStatistics);
    ASSERT_TRUE(state.resumed);
    const ResumedRun& run = *state.resumed;
    EXPECT_EQ(
        std::tuple(run.restarts, run.packagesDone, run.exitCode, run.speed, run.timeoutMinutes, run.pins),
        std::tuple(2, 3u, 1, 1, 15, Sample().packages));
    // The record and the task stay until the run ends: a power cut resumes it again, as one restart more.
    EXPECT_TRUE(files.Exists(kPath));
    EXPECT_EQ(tasks.tasks.count(kTask), 1u);
    ResumeRecord taken = Sample();
    taken.taken = true;
    Write(taken);
    EXPECT_FALSE(Take());
    EXPECT_EQ(state.resumed->restarts, 3);
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
         {with("resume 2", "resume 1"), with("restarts 2", "restarts 6"), with("restarts 2", "restarts 0"),
          with("taken 0", "taken 2"), with("done 3", "done -3"), with("exit 1", "exit 3010"),
          with("speed 1", "speed 3"), with("timeout 15", "timeout 15x"), with("2026-12-05", "2026-13-05"),
          with("14:03:09", "14:3:09"), with("user S-1-5", "user admin"), with("C:\\Velmora", "Velmora"),
          with("report \\\\", "report "), with("B.SCN", std::string("B\0.SCN", 6)), with("aaaa", "AAAA"),
          with("installer-sha256 -", "installer-sha256 ")})
        EXPECT_FALSE(ParseResumeRecord(text)) << text;
    // Lines swapped, doubled, added or missing, the last one cut short, LF line ends, nothing.
    for (const std::string& text :
         {with("speed 1\r\ntimeout 15", "timeout 15\r\nspeed 1"),
          with("statistics 0\r\n", "statistics 0\r\nstatistics 0\r\n"), good + "note\r\n",
          good.substr(0, good.find("package")), good.substr(0, good.rfind("installer-sha256")),
          good.substr(0, good.size() - 1), unix, std::string()})
        EXPECT_FALSE(ParseResumeRecord(text)) << text;
    ResumeRecord noReport = Sample();
    noReport.report.clear();
    EXPECT_EQ(ParseResumeRecord(FormatResumeRecord(noReport)), noReport);
}

// What "/resume" trusts, one case a line: which entry is not as it should be (nothing: the record as
// written), why the record is refused, and whether it is removed. Nothing is removed from a folder that is
// not trusted.
struct TrustCase {
    const char* what;
    std::string entry;
    FileTrust mark;
    std::optional<ResumeRefusal> refusal;
    bool removed;
};

TEST_F(ResumeRecordTest, TheRecordIsTrustedOnlyWhereOnlyAdministratorsCanChangeIt) {
    using R = ResumeRefusal;
    using T = FileTrust;
    const TrustCase cases[] = {
        {"the record as written", "", T::Trusted, std::nullopt, false},
        {"its owner is not an administrator", kPath, T::Owner, R::Untrusted, true},
        {"its DACL lets users write", kPath, T::Access, R::Untrusted, true},
        {"a link in the record's place", kPath, T::ReparsePoint, R::Untrusted, true},
        {"the folder's DACL lets users write", kFolder, T::Access, R::Untrusted, false},
        {"a user made the parent folder", kParent, T::Owner, R::Untrusted, false},
        {"a junction in the folder's place", kFolder, T::ReparsePoint, R::Untrusted, false},
        {"another user's record", "user", T::Trusted, R::Foreign, true},
        {"older than a week", "stale", T::Trusted, R::Stale, true},
        {"damaged", "damaged", T::Trusted, R::Damaged, true},
        {"taken as often as the run may restart", "taken", T::Trusted, R::TooManyRestarts, true},
        {"none", "none", T::Trusted, R::Missing, false}};
    for (const TrustCase& c : cases) {
        SCOPED_TRACE(c.what);
        ResumeRecord record = Sample();
        record.user = c.entry == "user" ? "S-1-5-21-7-8-9-500" : record.user;
        record.taken = c.entry == "taken";
        record.restarts = c.entry == "taken" ? kMostRestarts : record.restarts;
        vault.marks.clear();
        static_cast<void>(vault.Remove(kPath));  // the case's own record follows
        if (c.entry != "none")
            files.AddFile(kPath, c.entry == "damaged" ? "velmora-resume 2\r\n" : FormatResumeRecord(record));
        files.AddFolder(kFolder);
        vault.marks[c.entry] = c.mark;
        clock.now = c.entry == "stale" ? LocalTime{2026, 12, 12, 14, 3, 10} : Sample().written;
        tasks.tasks[kTask] = "<Task/>";
        state = {};
        EXPECT_EQ(Take(), c.refusal);
        EXPECT_EQ(state.resumed.has_value(), !c.refusal);
        EXPECT_EQ(files.Exists(kPath), c.entry != "none" && !c.removed);
        EXPECT_EQ(tasks.tasks.empty(), c.refusal.has_value()) << "a refused record's task goes with it";
    }
}

// A resume start waits for a desktop and for its packages' folders, no longer than they take or than its
// limit; where it cannot play, its report says why.
TEST_F(ResumeRecordTest, AResumeStartWaitsForItsDesktopAndPackagesAndReportsWhatItRefuses) {
    files.AddFolder("C:\\Logs");
    state.reportLog = "C:\\Logs\\run.txt";
    desktop.facts = {2, true, std::nullopt, SessionConnection::Active};
    Write(Sample());
    EXPECT_EQ(Start().exitCode, kNoDesktopExitCode);
    EXPECT_EQ(waits, kResumeWaitSeconds);
    EXPECT_TRUE(files.Exists(kPath)) << "kept for a logon where a click can land";
    EXPECT_THAT(Report(), testing::HasSubstr("компьютер заблокирован"));
    // Unless held to the mouse, the run plays there, by window messages: it waits only for the share.
    choice = InputChoice::Auto;
    waits = 0;
    EXPECT_FALSE(Start().exitCode);
    EXPECT_EQ(std::pair(waits, state.runList.size()), std::pair(kResumeWaitSeconds, std::size_t{2}));
    choice = InputChoice::Mouse;

    desktop.facts = {1, true, "Default", SessionConnection::Active};
    files.AddFolder("C:\\Velmora\\packages");
    clock.now = Sample().written;
    waits = 0;
    EXPECT_FALSE(Start().exitCode);
    EXPECT_EQ(waits, kResumeWaitSeconds) << "the share of the second package never came";
    EXPECT_EQ(state.runList.size(), 2u);
}

TEST(ResumeTaskTest, StartsTheProgramElevatedInTheUsersSessionAtTheirLogon) {
    const std::string task = ResumeTaskDefinition("D:\\R & D\\velmora.exe", "S-1-5-21-7", "C:\\Logs\\a.txt");
    for (const char* part :
         {"<LogonTrigger>\r\n      <UserId>S-1-5-21-7</UserId>\r\n      <Delay>PT30S</Delay>",
          "<LogonType>InteractiveToken</LogonType>", "<RunLevel>HighestAvailable</RunLevel>",
          "<Command>D:\\R &amp; D\\velmora.exe</Command>",
          "<Arguments>/resume /LOG=\"C:\\Logs\\a.txt\"</Arguments>",
          "<WorkingDirectory>D:\\R &amp; D</WorkingDirectory>",
          "\"D:\\R &amp; D\\velmora.exe\" /resume /LOG=\"C:\\Logs\\a.txt\"</Description>",
          "<ExecutionTimeLimit>PT0S</ExecutionTimeLimit>"})
        EXPECT_NE(task.find(part), std::string::npos) << part;
    EXPECT_EQ(task.find("Password"), std::string::npos);
    EXPECT_EQ(ResumeArguments(""), "/resume");
    // LocalSystem has no logon to wait for: its run goes on when Windows has started, with nobody logged on.
    const std::string boot = ResumeTaskDefinition("C:\\V\\velmora.exe", kLocalSystemSid, "");
    for (const auto& [definition, part, there] :
         {std::tuple(boot, "<BootTrigger>\r\n      <Delay>PT30S</Delay>", true),
          std::tuple(boot, "<UserId>S-1-5-18</UserId>\r\n      <LogonType>ServiceAccount</LogonType>", true),
          std::tuple(boot, "<LogonTrigger>", false), std::tuple(task, "<BootTrigger>", false),
          std::tuple(task, "ServiceAccount", false)})
        EXPECT_EQ(definition.find(part) != std::string::npos, there) << part;
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

    // Only a run held to the mouse refuses, and only where no click can land.
    const DesktopFacts user{1, true, "Default", C::Active}, service{0, false, "Default", C::Active};
    for (const auto& [facts, choice, why] :
         {std::tuple(user, InputChoice::Mouse, std::optional<NoDesktop>()),
          std::tuple(service, InputChoice::Mouse, std::optional(NoDesktop::Service)),
          std::tuple(service, InputChoice::Auto, std::optional<NoDesktop>()),
          std::tuple(service, InputChoice::Messages, std::optional<NoDesktop>())})
        EXPECT_EQ(WhyRunRefused(facts, choice), why) << InputChoiceText(choice);

    // The refused run's report and exit code are checked end to end; the desktop's name is said only here.
    const TextDoubles doubles;
    EXPECT_TRUE(NoDesktopText(NoDesktop::OtherDesktop, {2, true, "Winlogon", C::Active}, doubles.language)
                    .ends_with(": Winlogon"));
}

}  // namespace
}  // namespace velmora
