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
        StepState step;
        step.windows.push_back({"#32770", caption, 0});
        step.windows.push_back({"Button", "&Далее >", 2});
        step.events.push_back({kButtonLeft, kKindPress, x, 12});
        step.events.push_back({kButtonLeft, kKindMove, 3, -4});
        step.events.push_back({kButtonLeft, kKindRelease, 3, -4});
        return step;
    }

    // What the recorder does when it stops.
    void Finish(const std::string& path, const std::string& commandLine) {
        ASSERT_TRUE(image.AppendInstallerPath(path));
        image.AppendCommandLine(commandLine);
        image.AppendRecordStamp(LocalTime{2026, 12, 5, 14, 3, 9});
    }

    // Saves, loads and unscrambles, as the player would find the file.
    void Reload() {
        image.ScrambleImage();
        ASSERT_TRUE(image.WriteImageFile(files, "C:\\scn\\a.SCN"));
        ASSERT_TRUE(image.LoadImageFile(files, "C:\\scn\\a.SCN"));
        image.UnscrambleImage();
        ASSERT_TRUE(image.ReadHeader());
    }

    std::string Tail(std::size_t n) const { return image.Bytes().substr(image.Bytes().size() - n); }
};

TEST_F(ScenarioImageTest, BatScenarioWithoutStepsHasItsPathRightAfterTheDescription) {
    files.AddFolder("C:\\scn");
    image.NewImage("%DRIVEAPP%\\setup.bat", "Пакет", 1920, 1080);
    Finish("%DRIVEAPP%\\setup.bat", "/S");
    Reload();

    const std::string& bytes = image.Bytes();
    ASSERT_EQ(bytes.size(), 240u + 20 + 2 + 19);
    EXPECT_EQ(layout::GetI32(bytes, 0), 1920);
    EXPECT_EQ(layout::GetI32(bytes, 4), 1080);
    EXPECT_EQ(layout::GetI16(bytes, 8), 1);
    EXPECT_EQ(layout::GetI16(bytes, 10), 2);
    EXPECT_EQ(image.Header().StepCount, 0);
    EXPECT_EQ(image.Header().InstallerPathOffset, 239);
    EXPECT_EQ(image.Header().InstallerPathLength, 20);
    EXPECT_EQ(image.Header().CommandLineLength, 2);
    EXPECT_EQ(bytes.substr(39, 6), "\xCF\xE0\xEA\xE5\xF2" + std::string(1, '\0'));  // cp1251, zero-padded
    EXPECT_EQ(bytes.substr(239, 22), "%DRIVEAPP%\\setup.bat/S");
    EXPECT_EQ(Tail(20), std::string("05.12.2026 14:03:09") + '\0');
    EXPECT_EQ(image.GetDescription(), "Пакет");
    EXPECT_EQ(image.GetInstallerPath(), "%DRIVEAPP%\\setup.bat");
    EXPECT_EQ(image.GetCommandLine(), "/S");
    StepState step;
    image.ResetReadCursor();
    EXPECT_FALSE(image.ReadNextStep(step));
    EXPECT_FALSE(image.StepReadFailed());
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
    EXPECT_EQ(image.GetInstallerPath(), "C:\\setup.exe");
}

TEST_F(ScenarioImageTest, DescriptionFillsTheFieldIsCutAndIsKeptWhenSetEmpty) {
    image.NewImage("x.bat", std::string(200, 'd'), 1, 1);
    EXPECT_EQ(image.Bytes().substr(39, 200), std::string(200, 'd'));
    EXPECT_EQ(image.Bytes()[239], '\0');
    EXPECT_EQ(image.GetDescription(), std::string(200, 'd'));

    std::string cyrillic;
    for (int i = 0; i < 250; ++i)
        cyrillic += "ж";
    image.SetDescription(cyrillic);
    EXPECT_EQ(image.Bytes().size(), 240u);
    EXPECT_EQ(image.GetDescription().size(), 400u);  // 200 characters of two UTF-8 bytes each

    image.SetDescription("short");
    EXPECT_EQ(image.GetDescription(), "short");
    EXPECT_EQ(image.Bytes().substr(44, 195), std::string(195, '\0'));
    image.SetDescription("");
    EXPECT_EQ(image.GetDescription(), "short");
}

TEST_F(ScenarioImageTest, StepsReadBackAsRecordedWithTextOnlyWhereStored) {
    files.AddFolder("C:\\scn");
    vars.variables[3].second = "C:\\Temp";
    image.NewImage("C:\\i.exe", "d", 800, 600);

    StepState first = Gesture("", 10);  // a caption of length 0
    first.text = "%TEMP%\\Папка";
    first.hasText = true;
    image.AppendStep(first);
    EXPECT_EQ(first.text, "");
    EXPECT_FALSE(first.hasText);

    StepState second = Gesture("Установка", 20);
    second.windows[0].MatchIndex = -1;
    image.AppendStep(second);
    StepState empty;
    image.AppendStep(empty);
    Finish("C:\\i.exe", "");
    Reload();
    EXPECT_EQ(image.Header().StepCount, 3);

    StepState read;
    image.ResetReadCursor();
    ASSERT_TRUE(image.ReadNextStep(read));
    EXPECT_EQ(read.windows, Gesture("", 10).windows);
    EXPECT_EQ(read.events, Gesture("", 10).events);
    EXPECT_EQ(read.text, "C:\\Temp\\Папка");
    EXPECT_TRUE(read.hasText);

    ASSERT_TRUE(image.ReadNextStep(read));
    EXPECT_EQ(read.windows, second.windows);
    EXPECT_EQ(read.text, "");  // the first step's text does not carry over
    EXPECT_FALSE(read.hasText);

    ASSERT_TRUE(image.ReadNextStep(read));
    EXPECT_EQ(read.WindowCount(), 0);
    EXPECT_EQ(read.EventCount(), 0);
    EXPECT_FALSE(image.ReadNextStep(read));
    EXPECT_FALSE(image.StepReadFailed());
    EXPECT_EQ(image.StepsRead, 4);
    EXPECT_EQ(image.ReadPosition, image.Header().InstallerPathOffset);
    EXPECT_EQ(image.GetCommandLine(), "");
}

TEST_F(ScenarioImageTest, ChangingThePathKeepsCommandLineStampAndSpareByte) {
    vars.variables[2].second = "C:\\WINDOWS";
    image.NewImage("C:\\a.exe", "d", 800, 600);
    StepState step = Gesture("Setup", 1);
    image.AppendStep(step);
    Finish("C:\\a.exe", "%WINDOWS%\\x");
    std::string tail = Tail(20);
    std::int32_t offset = image.Header().InstallerPathOffset;

    for (const std::string path : {"%PROGRAMFILES%\\Very long folder name\\Установка.exe", "b.exe", ""}) {
        ASSERT_TRUE(image.ChangeInstallerPath(path));
        EXPECT_EQ(image.GetInstallerPath(), path);
        EXPECT_EQ(image.Header().InstallerPathOffset, offset);
        EXPECT_EQ(image.GetCommandLine(), "C:\\WINDOWS\\x");
        EXPECT_EQ(Tail(20), tail);
        EXPECT_EQ(image.AppendPosition, static_cast<std::int64_t>(image.Bytes().size()) - 1);
        // The header in the image follows the change, not just the copy.
        EXPECT_EQ(layout::GetI32(image.Bytes(), 24), static_cast<std::int32_t>(codec->ToAnsi(path).size()));
    }
    ASSERT_TRUE(image.ChangeCommandLine("/quiet /norestart"));
    EXPECT_EQ(image.GetCommandLine(), "/quiet /norestart");
    EXPECT_EQ(Tail(20), tail);
    std::size_t size = image.Bytes().size();
    ASSERT_TRUE(image.ChangeCommandLine(""));
    EXPECT_EQ(image.GetCommandLine(), "");
    EXPECT_EQ(image.Bytes().size(), size - 17);
    EXPECT_EQ(Tail(20), tail);
}

TEST_F(ScenarioImageTest, ScramblingRoundTripsAndTurnsZeroIntoA3) {
    image.NewImage("s.bat", "Описание", 640, 480);
    Finish("s.bat", "-x");
    std::string plain = image.Bytes();
    image.ScrambleImage();
    EXPECT_EQ(Tail(1), "\xA3");
    for (std::size_t i = 0; i < plain.size(); ++i)
        ASSERT_EQ(static_cast<unsigned char>(image.Bytes()[i]), static_cast<unsigned char>(plain[i]) ^ 0xA3);
    image.UnscrambleImage();
    EXPECT_EQ(image.Bytes(), plain);
}

TEST_F(ScenarioImageTest, VersionCheckComparesOnlyTheMajorVersion) {
    auto withVersion = [&](std::int16_t major, std::int16_t minor) {
        image.NewImage("s.bat", "", 1, 1);
        std::string bytes = image.Bytes();
        bytes.replace(8, 4,
                      std::string{static_cast<char>(major), static_cast<char>(major >> 8),
                                  static_cast<char>(minor), static_cast<char>(minor >> 8)});
        image.LoadImageBytes(bytes);
        EXPECT_TRUE(image.ReadHeader());
        return image.IsVersionSupported();
    };
    EXPECT_TRUE(withVersion(1, 2));
    EXPECT_TRUE(withVersion(1, 32767));
    EXPECT_TRUE(withVersion(0, 9));
    EXPECT_TRUE(withVersion(-1, 0));
    EXPECT_FALSE(withVersion(2, 0));
    EXPECT_FALSE(withVersion(32767, 0));
}

TEST_F(ScenarioImageTest, FailedWriteLeavesThePreviousFileAsItWas) {
    files.AddFile("C:\\scn\\a.SCN", "previous bytes");
    image.NewImage("s.bat", "", 1, 1);
    Finish("s.bat", "");
    files.FailNextWriteAfter(100);
    EXPECT_FALSE(image.WriteImageFile(files, "C:\\scn\\a.SCN"));
    EXPECT_EQ(files.Contents("C:\\scn\\a.SCN"), "previous bytes");
    EXPECT_EQ(files.FileCount(), 1u);

    files.SetReadOnly("C:\\scn\\a.SCN");
    EXPECT_FALSE(image.WriteImageFile(files, "C:\\scn\\a.SCN"));
    EXPECT_EQ(files.Contents("C:\\scn\\a.SCN"), "previous bytes");

    files.SetReadOnly("C:\\scn\\a.SCN", false);
    EXPECT_TRUE(image.WriteImageFile(files, "C:\\scn\\a.SCN"));
    EXPECT_EQ(files.Contents("C:\\scn\\a.SCN"), image.Bytes());
}

}  // namespace
}  // namespace velmora
