#include "scenario/ScenarioImage.h"

#include <gtest/gtest.h>

#include "platform/doubles/MemoryFileSystem.h"
#include "scenario/AnsiCodePage.h"
#include "scenario/ScenarioLayout.h"

namespace velmora {
namespace {

class ScenarioImageTest : public ::testing::Test {
  protected:
    std::unique_ptr<SingleByteCodec> codec = SingleByteCodec::Create(1251);
    MemoryFileSystem files;
    PathVariables vars{files};
    ScenarioImage image{*codec, vars};

    static StepState Gesture(const std::string& caption, int x) {
        return {{{"#32770", caption, 0}, {"Button", "&Далее >", 2}},
                {{kButtonLeft, kKindPress, x, 12}, {kButtonLeft, kKindRelease, 3, -4}},
                "",
                false};
    }
    // What the recorder does when it stops.
    void Finish(const std::string& path, const std::string& commandLine) {
        ASSERT_TRUE(image.AppendInstallerPath(path));
        image.AppendCommandLine(commandLine);
        image.AppendRecordStamp(LocalTime{2026, 12, 5, 14, 3, 9});
    }
    // Saves, loads and unscrambles, as the player would find the file.
    void Reload() {
        files.AddFolder("C:\\scn");
        image.ScrambleImage();
        ASSERT_TRUE(image.WriteImageFile(files, "C:\\scn\\a.SCN"));
        ASSERT_TRUE(image.LoadImageFile(files, "C:\\scn\\a.SCN"));
        image.UnscrambleImage();
        ASSERT_TRUE(image.ReadHeader());
    }
    std::string Tail(std::size_t n) const { return image.Bytes().substr(image.Bytes().size() - n); }
};

// Files of the earlier program must read, and files written here must read there: the layout is fixed.
TEST_F(ScenarioImageTest, BatScenarioWithoutStepsHasItsPathRightAfterTheDescription) {
    image.NewImage("%DRIVEAPP%\\setup.bat", "Пакет", 1920, 1080);
    Finish("%DRIVEAPP%\\setup.bat", "/S");
    Reload();
    EXPECT_EQ(files.Contents("C:\\scn\\a.SCN")->back(), '\xA3');  // the zero spare byte, scrambled

    // Screen, version 1.2, reserved, no steps, path length and offset, command line length.
    std::string header;
    for (std::int32_t value : {1920, 1080, 0x00020001, 0, 0, 0, 20, 239, 2})
        layout::PutI32(header, value);
    const std::string& bytes = image.Bytes();
    EXPECT_EQ(bytes.substr(0, 39), header + std::string(3, '\0'));
    EXPECT_EQ(bytes.substr(39, 6), "\xCF\xE0\xEA\xE5\xF2" + std::string(1, '\0'));  // cp1251, zero-padded
    EXPECT_EQ(bytes.substr(239), std::string("%DRIVEAPP%\\setup.bat/S05.12.2026 14:03:09") + '\0');
}

TEST_F(ScenarioImageTest, RecordingWithoutStepsIsKeptOnlyForBatchFilesNamedInLowerCase) {
    for (const char* path : {"C:\\setup.exe", "C:\\SETUP.BAT", "C:\\setup.Bat", "bat"}) {
        image.NewImage(path, "", 800, 600);
        std::string before = image.Bytes();
        EXPECT_FALSE(image.AppendInstallerPath(path)) << path;
        EXPECT_EQ(image.Bytes(), before) << path;
    }
    StepState step = Gesture("Setup", 5);
    image.AppendStep(step);
    EXPECT_TRUE(image.AppendInstallerPath("C:\\setup.exe"));
}

TEST_F(ScenarioImageTest, DescriptionIsCutToTheFieldInBytesAndKeptWhenSetEmpty) {
    std::string cyrillic;
    for (int i = 0; i < 250; ++i)
        cyrillic += "ж";
    image.NewImage("x.bat", cyrillic, 1, 1);
    EXPECT_EQ(image.Bytes().size(), 240u);
    EXPECT_EQ(image.GetDescription().size(), 400u);  // 200 characters of two UTF-8 bytes each
    image.SetDescription("short");
    EXPECT_EQ(image.Bytes().substr(44, 195), std::string(195, '\0'));
    image.SetDescription("");
    EXPECT_EQ(image.GetDescription(), "short");
}

TEST_F(ScenarioImageTest, StepsReadBackAsRecordedWithTextOnlyWhereStored) {
    vars.variables[3].second = "C:\\Temp";
    image.NewImage("C:\\i.exe", "d", 800, 600);
    StepState first = Gesture("", 10);  // a caption of length 0
    first.text = "%TEMP%\\Папка";
    first.hasText = true;
    image.AppendStep(first);
    StepState second = Gesture("Установка", 20);
    second.windows[0].MatchIndex = -1;
    image.AppendStep(second);
    StepState empty;
    image.AppendStep(empty);
    Finish("C:\\i.exe", "");
    Reload();

    StepState read;
    image.ResetReadCursor();
    ASSERT_TRUE(image.ReadNextStep(read));
    EXPECT_EQ(read.windows, Gesture("", 10).windows);
    EXPECT_EQ(read.events, Gesture("", 10).events);
    EXPECT_EQ(read.text, "C:\\Temp\\Папка");
    ASSERT_TRUE(image.ReadNextStep(read));
    EXPECT_EQ(read.windows, second.windows);
    EXPECT_FALSE(read.hasText);  // the first step's text does not carry over
    ASSERT_TRUE(image.ReadNextStep(read));
    EXPECT_EQ(read.WindowCount() + read.EventCount(), 0);
    EXPECT_FALSE(image.ReadNextStep(read));
    EXPECT_FALSE(image.StepReadFailed());
}

TEST_F(ScenarioImageTest, ChangingThePathOrCommandLineKeepsWhatFollows) {
    vars.variables[2].second = "C:\\WINDOWS";
    image.NewImage("C:\\a.exe", "d", 800, 600);
    StepState step = Gesture("Setup", 1);
    image.AppendStep(step);
    Finish("C:\\a.exe", "%WINDOWS%\\x");
    const std::string tail = Tail(20);
    for (const std::string path : {"%PROGRAMFILES%\\Very long folder name\\Установка.exe", "b.exe", ""}) {
        ASSERT_TRUE(image.ChangeInstallerPath(path));
        EXPECT_EQ(image.GetInstallerPath(), path);
        EXPECT_EQ(image.GetCommandLine(), "C:\\WINDOWS\\x");
        EXPECT_EQ(Tail(20), tail);
        // The header in the image follows the change, not just the copy.
        EXPECT_EQ(layout::GetI32(image.Bytes(), 24), static_cast<std::int32_t>(codec->ToAnsi(path).size()));
    }
    const std::size_t size = image.Bytes().size();
    for (const std::string commandLine : {"/quiet /norestart", ""}) {
        ASSERT_TRUE(image.ChangeCommandLine(commandLine));
        EXPECT_EQ(image.GetCommandLine(), commandLine);
        EXPECT_EQ(Tail(20), tail);
    }
    EXPECT_EQ(image.Bytes().size(), size - std::string("%WINDOWS%\\x").size());
}

TEST_F(ScenarioImageTest, OnlyANewerMajorVersionIsRefused) {
    for (const auto& [major, minor, supported] : std::vector<std::tuple<std::int16_t, std::int16_t, bool>>{
             {1, 32767, true}, {0, 9, true}, {2, 0, false}}) {
        image.NewImage("s.bat", "", 1, 1);
        std::string bytes = image.Bytes();
        std::string version;
        layout::PutI16(version, major);
        layout::PutI16(version, minor);
        image.LoadImageBytes(bytes.replace(8, 4, version));
        ASSERT_TRUE(image.ReadHeader());
        EXPECT_EQ(image.IsVersionSupported(), supported) << major << "." << minor;
    }
}

TEST_F(ScenarioImageTest, FailedWriteLeavesThePreviousFileAsItWas) {
    files.AddFile("C:\\scn\\a.SCN", "previous bytes");
    image.NewImage("s.bat", "", 1, 1);
    Finish("s.bat", "");
    files.FailNextWriteAfter(100);
    EXPECT_FALSE(image.WriteImageFile(files, "C:\\scn\\a.SCN"));
    EXPECT_EQ(files.FileCount(), 1u);  // no temporary file left behind
    files.SetReadOnly("C:\\scn\\a.SCN");
    EXPECT_FALSE(image.WriteImageFile(files, "C:\\scn\\a.SCN"));
    EXPECT_EQ(files.Contents("C:\\scn\\a.SCN"), "previous bytes");
}

}  // namespace
}  // namespace velmora
