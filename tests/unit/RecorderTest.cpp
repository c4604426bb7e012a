#include "recording/Recorder.h"

#include <gtest/gtest.h>

#include "platform/doubles/FakeWindowSystem.h"
#include "scenario/AnsiCodePage.h"
#include "tests/unit/TextDoubles.h"

namespace velmora {
namespace {

class RecorderTest : public ::testing::Test, public TextDoubles {
  protected:
    RecorderTest() {
        vars.variables[4].second = "C:\\Program Files";
        files.AddFolder("C:\\scn");
        shared.scenarioFolder = "C:\\scn";
        shared.packageName = "Архиватор";
        shared.installerPath = "C:\\Program Files\\setup.exe";
        shared.installerCommandLine = "/S";
        recorder.Begin({800, 600});
    }

    void Click(WindowId window, Point at, bool onPanel = false) {
        recorder.OnMouse({kKindPress, kButtonLeft, at, window}, onPanel);
        recorder.OnMouse({kKindRelease, kButtonLeft, at, 0}, onPanel);
    }
    std::vector<StepState> Steps() {
        std::vector<StepState> steps;
        scenario.ResetReadCursor();
        for (StepState read; scenario.ReadNextStep(read);)
            steps.push_back(read);
        return steps;
    }

    std::unique_ptr<SingleByteCodec> codec = SingleByteCodec::Create(1251);
    FakeClock clock;
    FakeWindowSystem windows;
    PathVariables vars{files};
    ScenarioImage scenario{*codec, vars};
    StepState step;
    SharedState shared;
    Recorder recorder{{windows, files, dialogs, clock, language, vars, scenario, step, shared}};

    WindowId dialog = windows.AddTopLevel("#32770", "Установка", 100, 100, 400, 300);
    WindowId field = windows.AddChild(dialog, "Edit", "", 120, 150, 200, 20);
    WindowId next = windows.AddChild(dialog, "Button", "Далее", 300, 350, 80, 25);
};

TEST_F(RecorderTest, GesturesOutsideThePanelBecomeStepsWithTheirWindowChain) {
    windows.Get(field).dpi = 144;  // the first press gives the scenario its DPI; the later ones do not
    recorder.OnMouse({kKindMove, kButtonLeft, {10, 10}, 0}, false);  // no button held: not recorded
    Click(field, {130, 155});
    recorder.OnMouse({kKindRelease, kButtonLeft, {10, 10}, 0}, false);  // its press was never seen
    Click(dialog, {5, 5}, true);
    recorder.OnMouse({kKindMove, kButtonLeft, {7, 7}, 0}, false);  // still the panel's gesture
    recorder.OnMouse({kKindPress, kButtonRight, {310, 360}, next}, false);
    recorder.OnMouse({kKindMove, kButtonLeft, {330, 362}, 0}, false);
    recorder.OnMouse({kKindRelease, kButtonRight, {350, 365}, 0}, false);

    const std::vector<StepState> steps = Steps();
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0].windows, (std::vector<WindowRef>{{"#32770", "Установка", 1}, {"Edit", "", 1}}));
    EXPECT_EQ(steps[0].events, (std::vector<MouseEventRec>{{kButtonLeft, kKindPress, 10, 5},
                                                           {kButtonLeft, kKindRelease, 0, 0}}));
    // A drag whose release lies the drag's distance from the press.
    EXPECT_EQ(steps[1].events, (std::vector<MouseEventRec>{{kButtonRight, kKindPress, 10, 10},
                                                           {kButtonRight, kKindMove, 20, 2},
                                                           {kButtonRight, kKindRelease, 40, 5}}));
    EXPECT_EQ(shared.lastWindow, next);
    EXPECT_EQ(scenario.RecordedDpi(), 144);
}

// What resuming stores after a pause on the last pressed window, by its class and the two boxes.
TEST_F(RecorderTest, ResumeStoresTheCapturedTextAsTheFilterAndAutoReplaceSay) {
    const std::string x = "C:\\Program Files\\X";
    struct Case {
        const char* className;
        bool filter, autoReplace, keepText;
        std::string typed;
        int steps;            // after the click's own step
        const char* stored;   // the text step's text; nullptr: no text
        CaptureNote note;     // right after the pause
        bool fieldGetsTyped;  // or is left alone
    };
    const Case cases[] = {
        {"Edit", true, true, true, x, 2, "%PROGRAMFILES%\\X", CaptureNote::ChangesMade, true},
        {"RichEdit20W", true, false, true, x, 2, "C:\\Program Files\\X", CaptureNote::ChangesMade, true},
        {"Button", true, true, true, x, 1, nullptr, CaptureNote::NotTextField, false},
        {"Button", false, false, true, x, 2, "%PROGRAMFILES%\\X", CaptureNote::NotTextField, true},
        {"Edit", true, true, true, "", 2, nullptr, CaptureNote::ChangesMade, false},
        {"Edit", true, true, false, x, 1, nullptr, CaptureNote::ChangesMade, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.className) + " typed '" + c.typed + "'");
        recorder.Begin({800, 600});
        windows.textsSet.clear();
        const WindowId target = windows.AddChild(dialog, c.className, c.typed, 120, 200, 200, 20);
        Click(target, {125, 205});
        recorder.Pause();
        EXPECT_EQ(recorder.capturedText, c.typed);
        EXPECT_EQ(recorder.note, c.note);
        EXPECT_EQ(recorder.filterEnabled, c.note == CaptureNote::NotTextField);
        recorder.filterChecked = c.filter;
        recorder.autoReplaceChecked = c.autoReplace;
        recorder.Resume(c.keepText);

        const std::vector<StepState> steps = Steps();
        ASSERT_EQ(static_cast<int>(steps.size()), c.steps);
        if (c.steps == 2) {
            EXPECT_EQ(steps[1].windows, steps[0].windows);
            EXPECT_EQ(steps[1].events, steps[0].events);
            EXPECT_EQ(steps[1].hasText, c.stored != nullptr);
            // Read back, a text is expanded; the image holds the stored form.
            EXPECT_EQ(scenario.Bytes().find(c.stored ? c.stored : "%PROGRAMFILES%") != std::string::npos,
                      c.stored != nullptr);
        }
        using TextSets = std::vector<FakeWindowSystem::TextSet>;
        EXPECT_EQ(windows.textsSet, (c.fieldGetsTyped ? TextSets{{target, c.typed}} : TextSets{}));
        windows.Remove(target);
    }
}

TEST_F(RecorderTest, AutoReplaceIsOfferedOnlyForTextsHoldingAPathValueAndPastingReplacesTheSelection) {
    recorder.SetCapturedText("D:\\Games");
    EXPECT_FALSE(recorder.autoReplaceEnabled) << "an unknown (empty) value is in every text";
    EXPECT_EQ(recorder.InsertCapturedText("c:\\program files", 0, 2), 0u);
    EXPECT_EQ(recorder.capturedText, "c:\\program files\\Games");
    EXPECT_TRUE(recorder.autoReplaceEnabled) << "letter case does not matter";
    const std::size_t size = recorder.capturedText.size();
    EXPECT_EQ(recorder.InsertCapturedText("!", 500, 9), size);
    EXPECT_EQ(recorder.capturedText, "c:\\program files\\Games!");
}

TEST_F(RecorderTest, StopSavesThePackageWithAPortableInstallerPathOrNothingWithoutASingleStep) {
    EXPECT_FALSE(recorder.Stop(0));
    EXPECT_FALSE(files.Exists("C:\\scn\\Архиватор.SCN"));

    Click(next, {310, 360});
    ASSERT_TRUE(recorder.Stop(0));
    ScenarioImage saved{*codec, vars};
    ASSERT_TRUE(saved.LoadImageFile(files, "C:\\scn\\Архиватор.SCN"));
    saved.UnscrambleImage();
    ASSERT_TRUE(saved.ReadHeader());
    EXPECT_EQ(saved.Header().stepCount, 1);
    EXPECT_EQ(saved.GetInstallerPath(), "%PROGRAMFILES%\\setup.exe");

    // A batch file may do its work without a single click.
    shared.installerPath = "C:\\scripts\\tools.bat";
    shared.packageName = "tools";
    recorder.Begin({800, 600});
    EXPECT_TRUE(recorder.Stop(0));
    EXPECT_TRUE(files.Exists("C:\\scn\\tools.SCN"));
}

}  // namespace
}  // namespace velmora
