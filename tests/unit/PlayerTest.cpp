#include "playback/Player.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <sstream>

#include "base/Settings.h"
#include "platform/doubles/FakeWindowSystem.h"
#include "platform/doubles/Fakes.h"
#include "platform/doubles/MemoryProtectedFiles.h"
#include "playback/ResumeRecord.h"
#include "playback/WindowChain.h"
#include "scenario/AnsiCodePage.h"
#include "tests/unit/TextDoubles.h"

namespace velmora {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;

class FakeHost : public PlayerHost {
  public:
    void SetStepTimer(bool enabled, int intervalMs) override {
        stepOn = enabled;
        stepInterval = intervalMs;
    }
    void SetNextPackageTimer(bool enabled, int intervalMs) override {
        exitOn = enabled;
        exitInterval = intervalMs;
    }
    void SetQuickTryTimer(bool enabled, int intervalMs) override {
        quickOn = enabled;
        quickInterval = intervalMs;
    }
    void SetTopMost(bool topMost) override { topMostCalls.push_back(topMost); }
    bool IsOwnWindow(WindowId window) override { return window != 0 && window == panel; }
    void PanelChanged() override {}
    void RunEnded(bool stopped) override { ended.push_back(stopped); }

    bool stepOn = false;
    int stepInterval = 0;
    bool exitOn = false;
    int exitInterval = 0;
    bool quickOn = false;
    int quickInterval = 0;
    std::vector<bool> topMostCalls;
    WindowId panel = 0;
    std::vector<bool> ended;
};

const WindowRef kDialog{"#32770", "Setup 1.1", 0};
const WindowRef kNext{"Button", "Next", 1};
const MouseEventRec kPress{kButtonLeft, kKindPress, 10, 5};
const MouseEventRec kRelease{kButtonLeft, kKindRelease, 4, 2};
const StepState kClickNext{{kDialog, kNext}, {kPress, {kButtonLeft, kKindMove, 3, 1}, kRelease}, ""};
constexpr unsigned kLeftUp = kMouseLeftUp | kMouseAbsolute;

class PlayerTest : public ::testing::Test, public TextDoubles {
  protected:
    PlayerTest() {
        files.AddFile("C:\\Setup\\app.exe");
        files.AddFile("C:\\Setup\\run.bat");
        shared.mouseScaleX = 64;
        shared.mouseScaleY = 85;
        dialog = windows.AddTopLevel("#32770", "Setup 1.1", 100, 100, 400, 300);
        next = windows.AddChild(dialog, "Button", "Next", 300, 350, 80, 25);
    }

    // The unscrambled bytes of a scenario file as the recorder writes it.
    std::string Bytes(const std::vector<StepState>& steps,
                      const std::string& installer = "C:\\Setup\\app.exe",
                      const std::string& commandLine = "") {
        ScenarioImage writer(*codec, pathVars);
        writer.NewImage(installer, "test", 1024, 768);
        writer.SetRecordedDpi(recordedDpi);
        for (StepState s : steps) {
            s.hasText = !s.text.empty();
            writer.AppendStep(s);
        }
        EXPECT_TRUE(writer.AppendInstallerPath(installer));
        writer.AppendCommandLine(commandLine);
        writer.AppendRecordStamp(LocalTime{});
        return writer.Bytes();
    }
    void AddFile(const std::string& name, std::string bytes) {
        for (char& c : bytes)
            c = static_cast<char>(c ^ 0xA3);
        files.AddFile("C:\\Scn\\" + name + ".SCN", bytes);
        shared.runList.push_back("C:\\Scn\\" + name + ".SCN");
    }
    void AddScenario(const std::string& name, const std::vector<StepState>& steps,
                     const std::string& installer = "C:\\Setup\\app.exe", const std::string& cmd = "") {
        AddFile(name, Bytes(steps, installer, cmd));
    }
    // The panel's load, then the first tick of the next-package timer.
    void Start() {
        shared.currentScenario = shared.runList.empty() ? "" : shared.runList[0];
        player.LoadPlaySpeed();
        player.Play();
        ASSERT_TRUE(host.exitOn);
        player.OnNextPackageTimer();
    }
    // Plays ticks and returns a '.' for a tick without a foreground attempt, 'F' for one with.
    std::string CoveredTicks(int ticks) {
        std::string result;
        for (int i = 0; i < ticks; ++i) {
            const std::size_t before = windows.foregroundCalls.size();
            player.OnStepTimer();
            result += windows.foregroundCalls.size() > before ? 'F' : '.';
        }
        return result;
    }
    void StepTicks(int ticks) {
        for (int i = 0; i < ticks; ++i)
            player.OnStepTimer();
    }
    // A report in C:\Logs\run.txt, and the installer started in a job whose process owns the dialog.
    void ReportFromTheInstallersJob() {
        files.AddFolder("C:\\Logs");
        shared.reportLog = "C:\\Logs\\run.txt";
        shell.startedJob = {501};
        windows.Get(dialog).process = 501;
    }
    std::uint8_t Result(int i) const { return stats.records.at(static_cast<std::size_t>(i)).result; }

    int recordedDpi = 0;  // of the scenarios written next
    std::unique_ptr<SingleByteCodec> codec = SingleByteCodec::Create(1251);
    PathVariables pathVars{files};
    ScenarioImage scenario{*codec, pathVars};
    StepState step;
    SharedState shared;
    FakeClock clock;
    Statistics stats{clock};
    PanelModel panel{language};
    FakeWindowSystem windows;
    FakeShell shell;
    MemorySettingsStore settings;
    FakeSystemInfo system;
    FakeHost host;
    FakeDesktopInfo desktop;
    RunReport report{RunReportPorts{files, clock, system, language}};
    Player player{PlayerPorts{windows, shell, files, system, settings, language, pathVars, scenario, step,
                              shared, stats, report, panel, host, desktop}};
    WindowId dialog = 0;
    WindowId next = 0;
};

TEST_F(PlayerTest, StartsTheExpandedInstallerAndReplaysEveryGestureAndText) {
    SaveSetting(settings, kSettingSpeed, "7");  // no level: played at the slowest
    pathVars.variables[4].second = "C:\\Setup";
    const WindowId edit = windows.AddChild(dialog, "Edit", "", 120, 150, 200, 20);
    // Steps with one event or none need no input but still get their text.
    AddScenario(
        "First",
        {kClickNext, {{kDialog, kNext}, {kPress}, "C:\\Users\\x"}, {{kDialog, {"Edit", "", 1}}, {}, "none"}},
        "%PROGRAMFILES%\\app.exe", "/S");
    Start();
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].file, "C:\\Setup\\app.exe");
    StepTicks(3);
    const std::vector<FakeWindowSystem::MouseInput> gesture{
        {kMouseLeftDown | kMouseAbsolute, 310 * 64, 355 * 85, {310, 355}},
        {kMouseMove | kMouseAbsolute, 313 * 64, 356 * 85, {310, 355}},
        {kLeftUp, 314 * 64, 357 * 85, {314, 357}},
    };
    EXPECT_EQ(windows.mouseEvents, gesture);
    EXPECT_EQ(windows.textsSet,
              (std::vector<FakeWindowSystem::TextSet>{{next, "C:\\Users\\x"}, {edit, "none"}}));
    EXPECT_EQ(host.stepInterval, 500);
}

TEST_F(PlayerTest, ScenariosThatCannotStartAreRecordedAsFailedAndTheRunGoesOn) {
    shared.runList.push_back("C:\\Scn\\Missing.SCN");
    std::string newer = Bytes({kClickNext});
    newer[8] = 2;  // versionMajor
    AddFile("Newer", newer);
    AddFile("Short", newer.substr(0, 30));
    std::string negative = Bytes({kClickNext});
    negative.replace(20, 4, 4, '\xFF');  // stepCount -1
    AddFile("Negative", negative);
    AddScenario("NoInstaller", {kClickNext}, "C:\\Setup\\gone.exe");
    AddScenario("ShellFails", {kClickNext});
    AddScenario("Empty", {}, "C:\\Setup\\run.bat");
    std::string cut = Bytes({kClickNext});
    cut[20] = 2;  // stepCount claims a second step that is not there
    AddFile("Cut", cut);

    shell.result = false;
    Start();
    for (int i = 0; i < 6; ++i) {
        shell.result = i == 5;  // only the last one starts
        EXPECT_FALSE(host.stepOn);
        player.OnNextPackageTimer();
    }
    // An empty scenario (a recorded batch file) starts its installer and is done at once.
    EXPECT_EQ(shell.calls.size(), 2u);
    EXPECT_EQ(Result(6), kStatDone);
    // A file cut after its first step replays that step and then counts as failed, not done.
    player.OnNextPackageTimer();
    player.OnStepTimer();
    EXPECT_EQ(windows.mouseEvents.size(), 3u);
    ASSERT_EQ(stats.RecordCount(), 8);
    for (int i : {0, 1, 2, 3, 4, 5, 7})
        EXPECT_EQ(Result(i), kStatFailed) << i;
    EXPECT_TRUE(dialogs.messages.empty());
    player.OnNextPackageTimer();
    EXPECT_EQ(host.ended, std::vector<bool>{false});
}

TEST_F(PlayerTest, CoveredPointBacksOffBeforeAndAfterTheFirstSuccess) {
    AddScenario("Two", {kClickNext, kClickNext});
    const WindowId popup = windows.AddTopLevel("Popup", "Ad", 290, 340, 100, 50);
    Start();
    // Before any success: three attempts at once, one tick re-arming, thirteen waiting ticks.
    EXPECT_EQ(CoveredTicks(18), "FFF" + std::string(14, '.') + "F");
    EXPECT_EQ(windows.foregroundCalls.back(), next);
    EXPECT_TRUE(windows.mouseEvents.empty());

    windows.Remove(popup);
    player.OnStepTimer();
    EXPECT_EQ(windows.mouseEvents.size(), 3u);
    windows.Get(next).coveredBy = dialog;
    // After a success: the first attempt on the fourth covered tick.
    EXPECT_EQ(CoveredTicks(21), "...FFF" + std::string(14, '.') + "F");
    EXPECT_EQ(windows.mouseEvents.size(), 3u);
}

// The slower speeds keep their pacing: 500 ms a tick until a window is seen, the speed's period then, 500 ms
// again after ten missed ticks; window events and quick tries do nothing there.
TEST_F(PlayerTest, SearchSlowsDownAfterTenMissedTicksAndWithoutATimeOutNeverGivesUp) {
    SaveSetting(settings, kSettingSpeed, "1");
    AddScenario("Two", {kClickNext, {{kDialog, {"Button", "Finish", 1}}, {kPress, kRelease}, ""}});
    Start();
    EXPECT_EQ(host.stepInterval, 500);  // until a window has been seen
    EXPECT_EQ(host.exitInterval, Player::kNextPackageIntervalMs);
    player.WindowsChanged();
    EXPECT_TRUE(windows.mouseEvents.empty()) << "a window event played a step at a slower speed";
    StepTicks(10);
    EXPECT_EQ(host.stepInterval, 250);
    EXPECT_FALSE(host.quickOn);
    player.OnStepTimer();
    EXPECT_EQ(host.stepInterval, 500);
    StepTicks(10000);  // no time-out: the step is still searched for, and played below

    windows.AddChild(dialog, "Button", "Finish", 150, 350, 80, 25);
    player.WindowsChanged();
    EXPECT_EQ(windows.mouseEvents.size(), 3u) << "a window event played a step at a slower speed";
    player.OnStepTimer();
    EXPECT_EQ(host.stepInterval, 250);
    EXPECT_EQ(Result(0), kStatDone);
}

// At the fastest speed a step goes as soon as its window is there and takes input, on the window event (or
// quick try) that tells, without waiting for a tick; the next package starts without a pause.
TEST_F(PlayerTest, AtTheFastestSpeedAStepGoesOnTheWindowEventOnceItsWindowTakesInput) {
    SaveSetting(settings, kSettingSpeed, "0");
    AddScenario("Two", {kClickNext, {{kDialog, {"Button", "Finish", 1}}, {kPress, kRelease}, ""}});
    Start();
    EXPECT_EQ(host.stepInterval, 100);  // from the first tick: the ticks only count the wait
    EXPECT_TRUE(host.quickOn);
    EXPECT_EQ(host.quickInterval, Player::kQuickTryIntervalMs);
    windows.Get(next).enabled = false;  // the installer enables Next later
    for (int i = 0; i < 30; ++i) {
        player.WindowsChanged();
        player.OnStepTimer();
    }
    EXPECT_TRUE(windows.mouseEvents.empty()) << "a disabled button was pressed";
    EXPECT_EQ(host.stepInterval, 100) << "slowed down after missed ticks";
    windows.Get(next).enabled = true;
    player.WindowsChanged();
    EXPECT_EQ(windows.mouseEvents.size(), 3u);

    const WindowId finish = windows.AddChild(dialog, "Button", "Finish", 150, 350, 80, 25);
    windows.Get(dialog).visible = false;  // a page that is still being built
    player.WindowsChanged();
    EXPECT_EQ(windows.mouseEvents.size(), 3u);
    windows.Get(dialog).visible = true;
    player.WindowsChanged();
    ASSERT_EQ(windows.mouseEvents.size(), 5u);
    EXPECT_EQ(windows.mouseEvents[3].cursorAtEvent, windows.ClientToScreen(finish, {10, 5}));
    EXPECT_EQ(Result(0), kStatDone);
    EXPECT_FALSE(host.quickOn);
    EXPECT_EQ(host.exitInterval, Player::kFastNextPackageIntervalMs);
}

// Window events and quick tries come at any rate: they never bring a step's time-out nearer, nor the back-off
// of a covered window; only the ticks count.
TEST_F(PlayerTest, TriesBetweenTheTicksCountNothing) {
    SaveSetting(settings, kSettingSpeed, "0");
    SaveSetting(settings, kSettingTimeout, "1");
    shell.startedExitCode = std::nullopt;
    AddScenario("A", {kClickNext});
    Start();
    windows.Get(next).coveredBy = dialog;
    for (int i = 0; i < 1000; ++i)
        player.WindowsChanged();
    EXPECT_TRUE(windows.foregroundCalls.empty());
    EXPECT_EQ(CoveredTicks(2), "FF");
    windows.Remove(next);
    for (int i = 0; i < 100000; ++i)
        player.WindowsChanged();
    StepTicks(597);  // a minute is 600 ticks of 100 ms
    EXPECT_TRUE(host.stepOn);
    EXPECT_FALSE(shell.ProcessOf(1).endedByAll);
    player.OnStepTimer();
    EXPECT_EQ(stats.records[0].end, PackageEnd::WindowNotFound);
    EXPECT_TRUE(shell.ProcessOf(1).endedByAll);
}

TEST_F(PlayerTest, WindowChainResolvesMatchIndexZeroNthAndDesktop) {
    const WindowId second = windows.AddChild(dialog, "Button", "Next", 390, 350, 80, 25);
    windows.AddTopLevel("#32770", "Other", 0, 0, 50, 50);  // in front of the Setup dialog
    auto chain = [&](const std::vector<WindowRef>& links) { return FindChainWindow(windows, links).window; };
    EXPECT_EQ(chain({kDialog, {"Button", "Next", 3}}), 0u);
    EXPECT_EQ(chain({{"#32770", "", 0}}), windows.FindWindowEx(0, 0, "#32770", "Other"));
    EXPECT_EQ(chain({{"#32770", " ", 2}, {"button", std::string("Next\0", 5), 1}}), next);
    EXPECT_EQ(chain({{"#32770", std::string(1, '\0'), 2}, {"Button", "", 2}}), second);
    EXPECT_EQ(chain({{"Progman", "x", -1}, {"#32770", "Setup 1.1", 1}, kNext}), next);
    EXPECT_EQ(chain({}), 0u);

    // A huge matchIndex from a damaged file costs no more searches than there are windows.
    windows.findCalls = 0;
    EXPECT_EQ(chain({kDialog, {"Button", "", INT32_MAX}}), 0u);
    EXPECT_LE(windows.findCalls, 4);
}

// Points recorded at another DPI are scaled to the window's; one that still lies off the window (an older
// file) is brought inside it, unless it is on the window's own frame. A covering window still covers it.
TEST_F(PlayerTest, PressPointsFollowTheDpiAndComeInsideTheirWindow) {
    EXPECT_EQ(ScaleToDpi({85, 3}, 144, 96), (Point{128, 5}));  // 127.5 and 4.5 round away from zero
    EXPECT_EQ(ScaleToDpi({112, 30}, 96, 0), (Point{112, 30}));
    EXPECT_EQ(BringInside({-4, 10}, {80, 25}), (Point{10, 10}));
    EXPECT_EQ(BringInside({5, -5}, {0, 0}), (Point{5, -5}));

    auto click = [](Point at) {
        return StepState{{kDialog, kNext}, {{kButtonLeft, kKindPress, at.x, at.y}, kRelease}, ""};
    };
    recordedDpi = 144;
    AddScenario("Laptop", {click({112, 30})});
    recordedDpi = 0;
    AddScenario("Older", {click({100, 30})});  // brought an eighth of the size inside the edge
    AddScenario("Frame", {click({-1, -1})});
    AddScenario("Covered", {click({100, 30})});
    Start();
    player.OnStepTimer();
    windows.Get(next).clientOrigin = {302, 352};  // a border: the client area is 78 by 23
    for (int package = 0; package < 3; ++package) {
        player.OnNextPackageTimer();
        if (package == 2)
            windows.AddTopLevel("Popup", "Ad", 360, 365, 20, 20);
        player.OnStepTimer();
    }
    std::vector<Point> presses, releases;
    for (const FakeWindowSystem::MouseInput& input : windows.mouseEvents)
        (input.flags == kLeftUp ? releases : presses).push_back(input.cursorAtEvent);
    EXPECT_EQ(presses, (std::vector<Point>{{375, 370}, {370, 372}, {301, 351}}));
    EXPECT_EQ(releases, (std::vector<Point>{{378, 371}, {374, 374}, {305, 353}}));  // the offset scaled too
    EXPECT_EQ(panel.action, panel.Text(PanelText::WindowCovered));
}

// While the installer of a scenario played to its end is waited for, skip and stop leave the package played
// and its installer running; after a failure they mark the failed one interrupted, as the list has always
// shown it.
TEST_F(PlayerTest, SkipOrStopBetweenScenarios) {
    files.AddFolder("C:\\Logs");
    shared.reportLog = "C:\\Logs\\run.txt";
    shell.startedExitCode = std::nullopt;  // installers run on
    AddScenario("Played", {}, "C:\\Setup\\run.bat");
    AddScenario("Fails", {}, "C:\\Setup\\gone.bat");
    AddScenario("Waits", {}, "C:\\Setup\\run.bat");
    Start();
    player.OnNextPackageTimer();
    EXPECT_EQ(panel.action, "Ожидание завершения программы установки...");
    player.Skip();
    EXPECT_EQ(Result(0), kStatDone);
    EXPECT_EQ(stats.records[0].installer, InstallerEnd::StillRunning);
    player.OnNextPackageTimer();  // no more waiting: the next one starts at once
    EXPECT_EQ(Result(1), kStatFailed);
    player.Skip();
    EXPECT_EQ(Result(1), kStatInterrupted);
    player.OnNextPackageTimer();
    player.Stop();
    EXPECT_EQ(Result(2), kStatDone);
    EXPECT_EQ(host.ended, std::vector<bool>{true});
    EXPECT_FALSE(host.exitOn || host.stepOn);
    EXPECT_FALSE(shell.ProcessOf(1).endedByAll || shell.ProcessOf(2).endedByAll);
    player.OnNextPackageTimer();  // a tick already queued does nothing any more
    player.Stop();
    EXPECT_EQ(host.ended.size(), 1u);
    EXPECT_EQ(stats.RecordCount(), 3);
    // One result line each for the played ones, followed by what became of their installers.
    const std::string report = files.Contents("C:\\Logs\\run.txt").value_or("");
    const std::string played =
        "Результат: сценарий выполнен до конца\r\nКод выхода установщика: установщик ещё работает\r\n";
    EXPECT_NE(report.rfind(played), report.find(played));  // neither is npos
}

// A skip or a stop comes from the message pump that a gesture runs between its events.
TEST_F(PlayerTest, SkipOrStopInTheMiddleOfAGestureReleasesTheButtonAndAbandonsTheStep) {
    AddScenario("A", {kClickNext, kClickNext});
    AddScenario("B", {kClickNext});
    Start();
    windows.onPump = [&] {
        windows.onPump = nullptr;
        player.Skip();
        player.OnStepTimer();  // a tick dispatched by the pump must not run
        player.OnNextPackageTimer();
    };
    player.OnStepTimer();
    ASSERT_EQ(windows.mouseEvents.size(), 2u);
    EXPECT_EQ(windows.mouseEvents[1].flags, kLeftUp);
    EXPECT_EQ(Result(0), kStatInterrupted);
    EXPECT_EQ(stats.RecordCount(), 1);
    EXPECT_FALSE(host.stepOn);
    EXPECT_EQ(panel.action, "Запуск следующей инсталяции");  // not taken for a covered window

    player.OnStepTimer();  // a late tick of the abandoned step
    EXPECT_EQ(windows.mouseEvents.size(), 2u);
    player.OnNextPackageTimer();
    EXPECT_EQ(panel.counter, "2/2");
    EXPECT_TRUE(host.stepOn);

    // A stop ends the run only after the tick has unwound.
    std::size_t endedDuringPump = 99;
    windows.onPump = [&] {
        windows.onPump = nullptr;
        player.Stop();
        endedDuringPump = host.ended.size();
    };
    player.OnStepTimer();
    EXPECT_EQ(endedDuringPump, 0u);
    EXPECT_EQ(host.ended, std::vector<bool>{true});
    EXPECT_EQ(windows.mouseEvents.back().flags, kLeftUp);
    EXPECT_EQ(Result(1), kStatInterrupted);
}

TEST_F(PlayerTest, PauseDuringAGestureFinishesItAndHoldsTheNextStepsUntilResume) {
    AddScenario("A", {kClickNext});
    AddScenario("B", {}, "C:\\Setup\\gone.bat");
    AddScenario("C", {kClickNext});
    Start();
    windows.onPump = [&] {
        windows.onPump = nullptr;
        player.Pause();
    };
    player.OnStepTimer();
    EXPECT_EQ(windows.mouseEvents.size(), 3u);  // the button is not left down
    EXPECT_EQ(Result(0), kStatDone);
    // B fails while paused; resuming must not replay A's last step.
    player.OnNextPackageTimer();
    player.Resume();
    EXPECT_FALSE(host.stepOn);
    player.OnStepTimer();
    EXPECT_EQ(windows.mouseEvents.size(), 3u);
    // The pending start still happens while paused, but C waits for the play button.
    player.Pause();
    player.OnNextPackageTimer();
    EXPECT_EQ(shell.calls.size(), 2u);
    EXPECT_FALSE(host.stepOn);
    player.Resume();
    EXPECT_TRUE(host.stepOn);
    EXPECT_EQ(panel.caption, "C");
}

TEST_F(PlayerTest, PanelCoveringThePressPointGivesUpTopMostUntilTheNextScenario) {
    AddScenario("A", {kClickNext});
    AddScenario("B", {}, "C:\\Setup\\run.bat");
    host.panel = windows.AddTopLevel("ThunderRT6FormDC", "", 283, 340, 457, 43);
    Start();
    player.OnStepTimer();
    EXPECT_EQ(host.topMostCalls, (std::vector<bool>{true, false}));
    EXPECT_TRUE(windows.mouseEvents.empty());
    player.Skip();
    player.OnNextPackageTimer();
    EXPECT_EQ(host.topMostCalls.back(), true);
}

TEST_F(PlayerTest, TimeOutCountsOnlySearchingTimeThenEndsTheInstaller) {
    SaveSetting(settings, kSettingTimeout, "1");
    shell.startedExitCode = std::nullopt;  // installers keep running until ended
    const StepState never{
        {{"#32770", "Repair?", 0}, {"RichEdit20W", "typed serial", 1}}, {kPress, kRelease}, ""};
    AddScenario("A", {kClickNext, never});
    Start();
    player.OnStepTimer();  // step 1 played; step 2 searches at 500 ms a tick: a minute is 120 ticks
    StepTicks(60);
    player.Pause();
    StepTicks(200);  // a tick already queued when the pause came
    player.Resume();
    StepTicks(59);
    EXPECT_TRUE(host.stepOn);
    EXPECT_FALSE(shell.ProcessOf(1).endedByAll);
    player.OnStepTimer();
    EXPECT_FALSE(host.stepOn);
    EXPECT_EQ(stats.records[0].end, PackageEnd::WindowNotFound);
    EXPECT_EQ(stats.records[0].step, 2);
    EXPECT_EQ(stats.records[0].awaited, "#32770 \"Repair?\" > RichEdit20W");  // a field's text is left out
    EXPECT_TRUE(shell.ProcessOf(1).endedByAll);
    EXPECT_TRUE(shell.ProcessOf(1).released);
    EXPECT_TRUE(windows.screenshots.empty()) << "no report, so no screenshot to keep with it";
}

// A locked session takes no input: a press it refuses is no press, the step waits (its time-out counting as
// for a covered window) and the report says why once a step.
TEST_F(PlayerTest, APressTheSystemRefusesLeavesTheStepWaitingAndIsReportedOnce) {
    ReportFromTheInstallersJob();
    SaveSetting(settings, kSettingTimeout, "1");
    AddScenario("A", {kClickNext, kClickNext});
    windows.inputRefused = true;
    Start();
    StepTicks(3);
    EXPECT_TRUE(windows.mouseEvents.empty());
    windows.inputRefused = false;
    player.OnStepTimer();
    EXPECT_EQ(windows.mouseEvents.size(), 3u);
    // Step 2: the press goes out, then the session locks; the ticks after it place no cursor. 500 ms a tick
    // gives the minute in 120 ticks.
    windows.onPump = [&] { windows.inputRefused = true; };
    StepTicks(119);
    EXPECT_EQ(windows.mouseEvents.size(), 4u);
    EXPECT_TRUE(host.stepOn);
    player.OnStepTimer();
    EXPECT_FALSE(host.stepOn);
    EXPECT_EQ(stats.records[0].end, PackageEnd::WindowCovered);
    EXPECT_EQ(stats.records[0].step, 2);

    std::vector<std::string> steps;
    std::istringstream lines(files.Contents("C:\\Logs\\run.txt").value_or(""));
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("Шаг "))
            steps.push_back(line.substr(0, line.size() - 1));
    }
    const std::string refused =
        ": система не приняла нажатие (компьютер заблокирован или ввод идёт на другой "
        "рабочий стол), шаг ждёт";
    EXPECT_EQ(steps,
              (std::vector<std::string>{"Шаг 1" + refused,
                                        "Шаг 1: окно найдено (Button \"Next\"), нажатие воспроизведено мышью",
                                        "Шаг 2" + refused}));
}

// The step lines of the report at C:\Logs\run.txt, without their CR.
std::vector<std::string> ReportLines(MemoryFileSystem& files, const std::string& start) {
    std::vector<std::string> found;
    std::istringstream lines(files.Contents("C:\\Logs\\run.txt").value_or(""));
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with(start))
            found.push_back(line.substr(0, line.size() - 1));
    }
    return found;
}

// Where no click can land, or when asked to, a button gets its own click and a text field mouse messages at
// its client points; the cursor never moves. The mouse alone where no click can land is refused.
struct DeliveryCase {
    DesktopFacts facts;
    const char* setting;
    const char* press;  // what the report says of both presses; nullptr: refused
};
class PlayerDeliveryTest : public PlayerTest, public ::testing::WithParamInterface<DeliveryCase> {};

TEST_P(PlayerDeliveryTest, EachStepGoesWithTheMouseOrByMessagesAsTheDesktopAndTheSettingSay) {
    const DeliveryCase& c = GetParam();
    const WindowId edit = windows.AddChild(dialog, "Edit", "", 120, 150, 200, 20);
    windows.Get(next).kind = ControlKind::PushButton;
    windows.Get(edit).textField = true;
    windows.cursor = Point{7, 7};
    ReportFromTheInstallersJob();
    SaveSetting(settings, kSettingInput, c.setting);
    desktop.facts = c.facts;
    // A drag in the field: the press, a move with the button held, the release 4 and 2 pixels on.
    const StepState typeKey{{kDialog, {"Edit", "", 1}},
                            {{kButtonLeft, kKindPress, 10, 5}, {kButtonLeft, kKindMove, 3, 1}, kRelease},
                            "C:\\App"};
    AddScenario("A", {kClickNext, typeKey});
    Start();
    StepTicks(2);

    const std::vector<std::string> steps = ReportLines(files, "Шаг ");
    if (c.press == nullptr) {
        EXPECT_TRUE(windows.mouseEvents.empty() && windows.clicksPosted.empty() &&
                    windows.mousePosted.empty());
        EXPECT_THAT(steps, ::testing::ElementsAre(HasSubstr("система не приняла нажатие")));
        return;
    }
    const std::string press = std::string("нажатие воспроизведено ") + c.press;
    EXPECT_EQ(steps, (std::vector<std::string>{
                         "Шаг 1: окно найдено (Button \"Next\"), " + press,
                         "Шаг 2: окно найдено (Edit), " + press + ", вставлен текст, символов: 6"}));
    EXPECT_EQ(windows.textEntriesEnded, std::vector<WindowId>{edit});
    if (std::string(c.press) == "мышью") {
        EXPECT_EQ(windows.mouseEvents.size(), 6u);
        EXPECT_TRUE(windows.clicksPosted.empty() && windows.mousePosted.empty());
        return;
    }
    EXPECT_TRUE(windows.mouseEvents.empty());
    EXPECT_EQ(windows.cursor, (Point{7, 7}));
    EXPECT_EQ(windows.clicksPosted, std::vector<WindowId>{next});
    const std::vector<FakeWindowSystem::PostedMouse> drag{{edit, kMessageLeftDown, {10, 5}, kKeyLeft},
                                                          {edit, kMessageMouseMove, {13, 6}, kKeyLeft},
                                                          {edit, kMessageLeftUp, {14, 7}, 0}};
    EXPECT_EQ(windows.mousePosted, drag);
}

const DesktopFacts kHere{1, true, "Default", SessionConnection::Active};
const DesktopFacts kLocked{1, true, std::nullopt, SessionConnection::Active};
INSTANTIATE_TEST_SUITE_P(Settings, PlayerDeliveryTest,
                         ::testing::Values(DeliveryCase{kHere, "AUTO", "мышью"},
                                           DeliveryCase{kLocked, "AUTO", "сообщениями окну"},
                                           DeliveryCase{kHere, "MESSAGES", "сообщениями окну"},
                                           DeliveryCase{kLocked, "MOUSE", nullptr}));

// A disabled control, or a window above it, holds its step, by messages as by the mouse; once enabled it is
// pressed, and one that stays disabled ends its package at the time-out.
TEST_F(PlayerTest, AStepWaitsForItsWindowToBeEnabledAndTimesOutAsDisabled) {
    ReportFromTheInstallersJob();
    SaveSetting(settings, kSettingTimeout, "1");
    SaveSetting(settings, kSettingInput, "MESSAGES");
    windows.Get(next).kind = ControlKind::PushButton;
    windows.Get(next).enabled = false;
    AddScenario("A", {kClickNext, kClickNext});
    Start();
    StepTicks(3);
    EXPECT_TRUE(windows.clicksPosted.empty());
    windows.Get(next).enabled = true;
    player.OnStepTimer();
    EXPECT_EQ(windows.clicksPosted, std::vector<WindowId>{next});
    windows.Get(dialog).enabled = false;  // a modal box of the installer's own disables its wizard
    StepTicks(119);
    EXPECT_TRUE(host.stepOn);
    player.OnStepTimer();
    EXPECT_FALSE(host.stepOn);
    EXPECT_EQ(windows.clicksPosted.size(), 1u);
    EXPECT_EQ(stats.records[0].end, PackageEnd::WindowDisabled);
    EXPECT_EQ(stats.records[0].step, 2);
    const std::string waits = ": окно или окно над ним скрыто либо недоступно, шаг ждёт";
    EXPECT_EQ(ReportLines(files, "Шаг "),
              (std::vector<std::string>{"Шаг 1" + waits,
                                        "Шаг 1: окно найдено (Button \"Next\"), нажатие воспроизведено "
                                        "сообщениями окну",
                                        "Шаг 2" + waits}));
    EXPECT_THAT(ReportLines(files, "Результат: "),
                ::testing::ElementsAre(HasSubstr("ошибка: окно недоступно, шаг 2, ожидаемое окно:")));
}

// Every result a package can have, as the player tells the report; the text typed into a field never appears
// in it.
TEST_F(PlayerTest, TheReportTellsEachPackageItsStepsResultAndInstallerAndTheRunsExitCode) {
    ReportFromTheInstallersJob();
    SaveSetting(settings, kSettingTimeout, "5");
    clock.now = {2026, 12, 6, 20, 0, 0};
    const StepState typeKey{{kDialog, {"Edit", "", 1}}, {kPress, kRelease}, "S3CR3T-K3Y"};
    const StepState never{{{"#32770", "Repair?", 0}}, {kPress, kRelease}, ""};
    const StepState olderVersion{{{"#32770", "Setup 1.0", 0}, kNext}, {kPress, kRelease}, ""};
    AddScenario("A", {olderVersion, typeKey}, "C:\\Setup\\app.exe", "/S");
    AddScenario("B", {kClickNext}, "C:\\Setup\\gone.exe");
    AddScenario("C", {kClickNext});
    AddScenario("D", {never});
    shell.startedExitCode = 3010;
    Start();
    player.OnStepTimer();
    StepTicks(130);  // the field comes after 65 s
    windows.AddChild(dialog, "Edit", "", 120, 150, 200, 20);
    player.OnStepTimer();
    shell.startedExitCode = std::nullopt;
    player.OnNextPackageTimer();                                 // A's installer has ended: B fails at once
    windows.AddTopLevel("#32770", "Error", 250, 300, 200, 100);  // an error box over Next
    player.OnNextPackageTimer();
    StepTicks(600);
    EXPECT_EQ(windows.screenshots, std::vector<std::string>{"C:\\Logs\\run-3-step1.png"});
    player.OnNextPackageTimer();
    player.Skip();
    player.Stop();  // between packages: D is marked again, and its summary follows the new result
    ASSERT_EQ(host.ended, std::vector<bool>{true});

    // What the player told of each package, in order. The lines every report has, and the installer's and the
    // run's exit code in words, are checked from real runs (RunReportE2eTest, FleetReportsE2eTest).
    const std::string text = files.Contents("C:\\Logs\\run.txt").value_or("");
    EXPECT_THAT(text, Not(HasSubstr("S3CR3T")));
    EXPECT_THAT(text, HasSubstr("Установщик: C:\\Setup\\app.exe\r\nКомандная строка: /S\r\n"));
    std::vector<std::string> told;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        for (const char* kind : {"Шаг ", "Результат: ", "Снимок экрана: ", "#package ", "#end "}) {
            if (line.starts_with(kind))
                told.push_back(line.substr(0, line.size() - 1));  // without its CR
        }
    }
    const std::vector<std::string> expected{
        "Шаг 1: окно найдено (Button \"Next\"), нажатие воспроизведено мышью",
        "Шаг 1: окно \"Setup 1.1\" принято несмотря на другой заголовок; записан: \"Setup 1.0\"",
        "Шаг 2: окна ждали 0:01:05",
        "Шаг 2: окно найдено (Edit), нажатие воспроизведено мышью, вставлен текст, символов: 10",
        "Результат: сценарий выполнен до конца",
        "#package 1/4 A | done | 3010 | 0:00:00",
        "Результат: ошибка: установщик не найден",
        "#package 2/4 B | failed installer-missing | - | 0:00:00",
        "Результат: ошибка: окно закрыто другим окном, шаг 1, ожидаемое окно: #32770 \"Setup 1.1\" > "
        "Button \"Next\"",
        "Снимок экрана: C:\\Logs\\run-3-step1.png",
        "#package 3/4 C | failed window-covered 1 | ended | 0:00:00 | C:\\Logs\\run-3-step1.png",
        "Результат: пропущен",
        "#package 4/4 D | interrupted skipped | running | 0:00:00",
        "Результат: остановлен",
        "#package 4/4 D | interrupted stopped | running | 0:00:00",
        "#end 2"};
    EXPECT_EQ(told, expected);
    EXPECT_FALSE(report.Failed());
    // A second run adds to the same file after an empty line.
    const std::size_t before = files.Contents("C:\\Logs\\run.txt")->size();
    report.Begin(shared.reportLog, "", "1.2.3");
    EXPECT_EQ(files.Contents("C:\\Logs\\run.txt")->substr(before, 24), "\r\nvelmora-run-report 2\r\n");
    // The report folder's path variables are expanded: one setting names each machine's own folder.
    settings.Save("Install", "ReportFolder", "C:\\Logs\\%COMPUTERNAME%");
    pathVars.variables[6].second = "PC-07";
    shared.reportLog.clear();
    player.Play();
    EXPECT_EQ(report.Path(), "C:\\Logs\\PC-07\\velmora-2026-12-06-200000.txt");
}

// A package's near matches keep to the version it accepted first, until the next package; a press on another
// program's window is reported.
TEST_F(PlayerTest, APackageKeepsItsVersionsUntilTheNextAndAPressOutsideTheInstallerIsReported) {
    ReportFromTheInstallersJob();
    SaveSetting(settings, kSettingTimeout, "1");
    const StepState older{{{"#32770", "Setup 1.0", 0}, kNext}, {kPress, kRelease}, ""};
    AddScenario("A", {older, older});
    AddScenario("B", {older, {{{"#32770", "Other", 0}, kNext}, {kPress, kRelease}, ""}});
    Start();
    player.OnStepTimer();
    windows.Get(dialog).caption = "Setup 1.2";
    StepTicks(120);  // a minute: 1.2 is not A's next version, which was 1.1
    player.OnNextPackageTimer();
    player.OnStepTimer();
    const WindowId other = windows.AddTopLevel("#32770", "Other", 600, 100, 200, 200);
    windows.Get(other).process = 777;
    windows.AddChild(other, "Button", "Next", 650, 150, 80, 25);
    player.OnStepTimer();
    player.OnNextPackageTimer();

    std::vector<std::string> told;  // but the windows found
    std::istringstream lines(files.Contents("C:\\Logs\\run.txt").value_or(""));
    for (std::string line; std::getline(lines, line);) {
        if ((line.starts_with("Шаг ") && line.find("найдено") == std::string::npos) ||
            line.starts_with("#package "))
            told.push_back(line.substr(0, line.size() - 1));  // without its CR
    }
    EXPECT_EQ(told,
              (std::vector<std::string>{
                  "Шаг 1: окно \"Setup 1.1\" принято несмотря на другой заголовок; записан: \"Setup 1.0\"",
                  "#package 1/2 A | failed window-not-found 2 | ended | 0:00:00 | C:\\Logs\\run-1-step2.png",
                  "Шаг 1: окно \"Setup 1.2\" принято несмотря на другой заголовок; записан: \"Setup 1.0\"",
                  "Шаг 2: окно принадлежит не установщику пакета и не запущенным им процессам",
                  "#package 2/2 B | done | 0 | 0:00:00"}));
}

TEST_F(PlayerTest, TheNextPackageWaitsAMinuteAtMostForTheInstallerAndKeepsItsExitCode) {
    shell.startedExitCode = std::nullopt;
    AddScenario("A", {}, "C:\\Setup\\run.bat");
    AddScenario("B", {}, "C:\\Setup\\run.bat");
    AddScenario("C", {}, "C:\\Setup\\run.bat");
    Start();
    EXPECT_EQ(Result(0), kStatDone);
    shell.ProcessOf(1).exitCode = 3010;
    player.OnNextPackageTimer();  // A ended: B starts at once
    EXPECT_EQ(stats.records[0].installerExitCode, 3010);
    EXPECT_EQ(stats.records[0].installer, InstallerEnd::Exited);
    EXPECT_TRUE(shell.ProcessOf(1).released);
    ASSERT_EQ(shell.calls.size(), 2u);
    // B never ends: after 600 ticks of 100 ms C starts anyway and B's code stays unknown.
    for (int tick = 0; tick < 600; ++tick)
        player.OnNextPackageTimer();
    EXPECT_EQ(shell.calls.size(), 2u);
    player.OnNextPackageTimer();
    EXPECT_EQ(shell.calls.size(), 3u);
    EXPECT_FALSE(stats.records[1].installerExitCode);
    EXPECT_FALSE(shell.ProcessOf(2).endedByAll);
    // The run ends only once the last installer has ended too.
    player.OnNextPackageTimer();
    EXPECT_TRUE(host.ended.empty());
    shell.ProcessOf(3).exitCode = 0;
    player.OnNextPackageTimer();
    EXPECT_EQ(host.ended, std::vector<bool>{false});
    EXPECT_TRUE(shell.ProcessOf(3).released);
}

TEST_F(PlayerTest, HostileCoordinatesStayInsideTheAbsoluteRange) {
    AddScenario("A", {{{kDialog, kNext},
                       {{kButtonLeft, kKindPress, 0, 0},
                        {kButtonLeft, kKindMove, INT32_MAX, INT32_MIN},
                        {9, kKindMove, -1, -1},
                        {kButtonLeft, kKindRelease, INT32_MIN, INT32_MAX}},
                       ""}});
    shared.mouseScaleX = shared.mouseScaleY = 0;  // a direct run: the main window never computed the scale
    system.screen = {26214, 768};
    Start();
    EXPECT_EQ(shared.mouseScaleX, 2);  // 2.5 rounds to even
    EXPECT_EQ(shared.mouseScaleY, 85);
    player.OnStepTimer();
    ASSERT_EQ(windows.mouseEvents.size(), 4u);
    EXPECT_EQ(std::make_pair(windows.mouseEvents[1].x, windows.mouseEvents[1].y), std::make_pair(65535, 0));
    EXPECT_EQ(std::make_pair(windows.mouseEvents[3].x, windows.mouseEvents[3].y), std::make_pair(0, 65535));
}

// A run that may restart Windows for an installer (/REBOOT), of three packages whose installers run until a
// test ends them.
class RestartingPlayerTest : public PlayerTest {
  protected:
    RestartingPlayerTest() {
        settings.Save("Install", "Reboot", "1");
        files.AddFolder("C:\\Logs");
        files.AddFolder(vault.commonDataFolder);
        files.AddFile(system.ProgramPath(), "MZ");
        files.AddFile("C:\\Tools\\language\\English.lng", "[Report]");
        shared.reportLog = "C:\\Logs\\run.txt";
        shell.startedExitCode = std::nullopt;
        for (const char* name : {"A", "B", "C"})
            AddScenario(name, {}, "C:\\Setup\\run.bat");
    }
    // Plays until the first installer has ended with the code.
    void FirstEndsWith(int code) {
        shared.currentScenario = shared.runList[0];
        restarting.LoadPlaySpeed();
        restarting.Play();
        restarting.OnNextPackageTimer();
        shell.ProcessOf(1).exitCode = code;
        restarting.OnNextPackageTimer();
    }
    void Ticks(int count) {
        for (int i = 0; i < count; ++i)
            restarting.OnNextPackageTimer();
    }
    std::string Report() const { return files.Contents("C:\\Logs\\run.txt").value_or(""); }
    std::optional<std::string> Record() const {
        return files.Contents(kFolder + system.userSid.value() + ".txt");
    }
    PackagePin Pin(const std::string& name) {
        const std::string scenarioPath = "C:\\Scn\\" + name + ".SCN";
        return {scenarioPath, *vault.Sha256(*files.Contents(scenarioPath)), "C:\\Setup\\run.bat",
                *vault.Sha256(*files.Contents("C:\\Setup\\run.bat"))};
    }
    // A run resumed with B and C still to play, as the run before the restart pinned them.
    void Resumed() {
        shared.runList.erase(shared.runList.begin());
        shared.resumed = ResumedRun{1, 1, 0, 2, 0, {Pin("B"), Pin("C")}};
        tasks.tasks[task] = "<Task/>";
    }

    const std::string kFolder = "C:\\ProgramData\\Velmora Runwright\\Resume\\";
    const std::string task = "Velmora Runwright resume S-1-5-21-7-8-9-1001";
    MemoryProtectedFiles vault{files};
    FakeLogonTasks tasks;
    FakeSystemRestart restart;
    RunRestart runRestart{RunRestartPorts{files, system, clock, settings, tasks, restart, shared, stats,
                                          report, vault, scenario, pathVars}};
    Player restarting{PlayerPorts{windows, shell, files, system, settings, language, pathVars, scenario, step,
                                  shared, stats, report, panel, host, desktop, &runRestart}};
};

TEST_F(RestartingPlayerTest, AnInstallerAsksTheRunRecordsItselfCountsDownAndAsksWindowsToRestart) {
    settings.Save("Install", "Speed", "0");
    settings.Save("Install", "Timeout", "15");
    FirstEndsWith(3010);
    const std::optional<ResumeRecord> record = ParseResumeRecord(Record().value_or(""));
    ASSERT_TRUE(record) << Record().value_or("no record");
    EXPECT_EQ(*record, (ResumeRecord{"S-1-5-21-7-8-9-1001",
                                     clock.now,
                                     1,
                                     false,
                                     1,
                                     0,
                                     "C:\\Logs\\run.txt",
                                     0,
                                     15,
                                     true,
                                     {Pin("B"), Pin("C")}}));
    // The task starts the program's protected copy, which has its language files beside it.
    const std::string copy = kFolder + "S-1-5-21-7-8-9-1001\\velmora.exe";
    EXPECT_EQ(tasks.Read(task), ResumeTaskDefinition(copy, record->user, "C:\\Logs\\run.txt"));
    EXPECT_EQ(files.Contents(copy), "MZ");
    EXPECT_EQ(files.Contents(kFolder + "S-1-5-21-7-8-9-1001\\language\\English.lng"), "[Report]");
    EXPECT_EQ(panel.action, "Перезагрузка Windows через 30 с. Стоп - отмена");
    Ticks(298);
    EXPECT_EQ(panel.action, "Перезагрузка Windows через 1 с. Стоп - отмена");
    EXPECT_FALSE(restarting.OwnRestartRequested()) << "the session may end only for the run's own restart";
    Ticks(1);
    EXPECT_EQ(restart.requests, 1);
    EXPECT_TRUE(restarting.OwnRestartRequested());
    EXPECT_EQ(panel.action, "Перезагрузка Windows...");
    restarting.Stop();
    restarting.Skip();
    Ticks(5);
    EXPECT_TRUE(host.ended.empty());
    EXPECT_EQ(shell.calls.size(), 1u);
    EXPECT_THAT(Report(), Not(HasSubstr("#end"))) << "the run is not over";

    // A program refused to end: the run ends as it would have without the restart.
    restarting.RestartRefused();
    EXPECT_FALSE(restarting.OwnRestartRequested());
    EXPECT_EQ(host.ended, std::vector<bool>{false});
    EXPECT_TRUE(tasks.tasks.empty());
    EXPECT_FALSE(Record());
    EXPECT_THAT(Report(), HasSubstr("Перезагрузка не выполнена: Windows отказала в перезагрузке"));
    EXPECT_THAT(Report(), EndsWith("#end 3010\r\n"));
}

TEST_F(RestartingPlayerTest, APauseHoldsTheCountdown) {
    FirstEndsWith(1641);
    restarting.Pause();
    Ticks(400);
    EXPECT_EQ(restart.requests, 0);
    restarting.Resume();
    Ticks(10);
    EXPECT_EQ(panel.action, "Перезагрузка Windows через 29 с. Стоп - отмена");
}

// Without the setting, the task, a folder for the record, or a program copy that only administrators can
// change, the run goes on without a restart, leaves nothing behind, and the report says why.
enum class Lacking { Setting, Task, Folder, ProtectedCopy };
class RestartNotMadeTest : public RestartingPlayerTest,
                           public ::testing::WithParamInterface<std::pair<Lacking, std::string>> {};

TEST_P(RestartNotMadeTest, TheRunGoesOnWithoutARestartAndLeavesNothing) {
    const std::string parent = "C:\\ProgramData\\Velmora Runwright";
    files.AddFolder(parent);
    vault.marks[parent] = FileTrust::Owner;  // a user made it: renamed aside
    const auto [lacking, said] = GetParam();
    if (lacking == Lacking::Setting)
        settings.Save("Install", "Reboot", "0");
    if (lacking == Lacking::Task)
        tasks.refused.insert(task);
    if (lacking == Lacking::Folder)
        vault.commonDataFolder.clear();
    if (lacking == Lacking::ProtectedCopy) {
        const std::string languages = kFolder + system.userSid.value() + "\\language";
        files.AddFolder(languages);
        vault.marks = {{languages, FileTrust::Access}};
    }
    FirstEndsWith(3010);
    EXPECT_EQ(shell.calls.size(), 2u);
    EXPECT_TRUE(tasks.tasks.empty());
    EXPECT_FALSE(Record());
    if (said.empty())
        EXPECT_THAT(Report(), Not(HasSubstr("Перезагрузка не выполнена")));
    else
        EXPECT_THAT(Report(), HasSubstr("Перезагрузка не выполнена: " + said));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RestartNotMadeTest,
    ::testing::Values(std::pair(Lacking::Setting, std::string()),
                      std::pair(Lacking::Task,
                                std::string("не удалось зарегистрировать задание продолжения")),
                      std::pair(Lacking::Folder, std::string("нет папки для файла продолжения")),
                      // Users may write where the task would start the program: no task starts it.
                      std::pair(Lacking::ProtectedCopy, std::string("не удалось скопировать программу"))));

// The run goes on after its fifth restart: its numbers and exit code go on from before, and an installer that
// asks again is not given a sixth.
TEST_F(RestartingPlayerTest, AResumedRunCountsOnFromBeforeTheRestartAndStopsRestartingAfterFive) {
    shared.resumed = ResumedRun{kMostRestarts, 4, 1, 2, 0, {}};
    FirstEndsWith(3010);
    shell.ProcessOf(2).exitCode = 3010;
    Ticks(1);
    shell.ProcessOf(3).exitCode = 0;
    Ticks(1);
    EXPECT_EQ(shell.calls.size(), 3u);
    EXPECT_EQ(restart.requests, 0);
    EXPECT_FALSE(Record());
    EXPECT_EQ(host.ended, std::vector<bool>{false});
    const std::string text = Report();
    const std::string limit = "Перезагрузка не выполнена: прогон уже сделал перезагрузок: 5";
    EXPECT_THAT(text, HasSubstr(limit));
    EXPECT_EQ(text.find(limit), text.rfind(limit)) << "said once";
    EXPECT_EQ(panel.counter, "7/7");
    EXPECT_THAT(text, EndsWith("#end 1\r\n")) << "the packages before the restart count";
}

// After each package the record holds what remains, so that a power cut resumes the rest; it and the task go
// only when the run ends.
TEST_F(RestartingPlayerTest, AResumedRunRewritesItsRecordAfterEachPackageAndRemovesItAtItsEnd) {
    Resumed();
    FirstEndsWith(0);
    const std::optional<ResumeRecord> record = ParseResumeRecord(Record().value_or(""));
    ASSERT_TRUE(record);
    EXPECT_EQ(std::tuple(record->packagesDone, record->taken, record->packages),
              std::tuple(std::size_t{2}, true, std::vector{Pin("C")}));
    EXPECT_EQ(tasks.tasks.count(task), 1u);
    shell.ProcessOf(2).exitCode = 0;
    Ticks(1);
    EXPECT_EQ(host.ended, std::vector<bool>{false});
    EXPECT_FALSE(Record());
    EXPECT_TRUE(tasks.tasks.empty());
    EXPECT_THAT(Report(), EndsWith("#end 0\r\n"));
}

// A package whose scenario or installer is not what the run pinned before its restart is not played; the
// report says which and why, and the run goes on with the next.
struct PinCase {
    const char* file;
    std::optional<std::string> bytes;  // nothing: removed
    const char* said;
};
class ChangedPackageTest : public RestartingPlayerTest, public ::testing::WithParamInterface<PinCase> {};

TEST_P(ChangedPackageTest, IsRefusedAndTheRunGoesOn) {
    Resumed();
    if (GetParam().bytes)
        files.AddFile(GetParam().file, *GetParam().bytes);
    else
        ASSERT_TRUE(files.Remove(GetParam().file));
    shared.currentScenario = shared.runList[0];
    restarting.LoadPlaySpeed();
    restarting.Play();
    Ticks(2);
    EXPECT_THAT(Report(), HasSubstr(std::string("Не выполнен: ") + GetParam().said));
    EXPECT_THAT(Report(), HasSubstr("#package 2/3 B | failed changed | - |"));
    // C is started, unless it is the installer, which C starts too, that is not as pinned.
    EXPECT_EQ(shell.calls.size(), std::string(GetParam().file).ends_with(".SCN") ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChangedPackageTest,
    ::testing::Values(PinCase{"C:\\Scn\\B.SCN", "changed", "сценарий изменён после того"},
                      PinCase{"C:\\Scn\\B.SCN", std::nullopt, "сценария больше нет"},
                      PinCase{"C:\\Setup\\run.bat", "changed", "установщик изменён после того"},
                      PinCase{"C:\\Setup\\run.bat", std::nullopt,
                              "установщика больше нет: C:\\Setup\\run.bat"}));

}  // namespace
}  // namespace velmora
