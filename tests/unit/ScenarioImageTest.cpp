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
}

TEST_F(ScenarioImageTest, StepsReadBackAsRecordedWithTextOnlyWhereStored) {
    vars.variables[3].second = "C:\\Temp";
    image.NewImage("C:\\i.exe", "d", 800, 600);
    StepState first = Gesture("Установка", 10);
    first.windows[0].matchIndex = -1;
    first.text = "%TEMP%\\Папка";
    first.hasText = true;
    image.AppendStep(first);
    StepState empty;
    image.AppendStep(empty);
    Finish("C:\\i.exe", "");
    Reload();

    StepState read;
    image.ResetReadCursor();
    ASSERT_TRUE(image.ReadNextStep(read));
    EXPECT_EQ(read.windows, first.windows);
    EXPECT_EQ(read.events, first.events);
    EXPECT_EQ(read.text, "C:\\Temp\\Папка");
    ASSERT_TRUE(image.ReadNextStep(read));
    EXPECT_EQ(read.WindowCount() + read.EventCount(), 0);
    EXPECT_FALSE(read.hasText);  // the first step's text does not carry over
    EXPECT_FALSE(image.ReadNextStep(read));
    EXPECT_FALSE(image.StepReadFailed());
}

// What the properties dialog changes; the description keeps its 200 bytes.
TEST_F(ScenarioImageTest, ChangingTheDescriptionPathOrCommandLineKeepsWhatFollows) {
    vars.variables[2].second = "C:\\WINDOWS";
    image.NewImage("C:\\a.exe", "d", 800, 600);
    StepState step = Gesture("Setup", 1);
    image.AppendStep(step);
    Finish("C:\\a.exe", "%WINDOWS%\\x");
    const std::string tail = Tail(20);
    std::string cyrillic;
    for (int i = 0; i < 250; ++i)
        cyrillic += "ж";
    const std::size_t before = image.Bytes().size();
    image.SetDescription(cyrillic);
    EXPECT_EQ(image.GetDescription(), cyrillic.substr(0, 400));  // 200 characters of two UTF-8 bytes each
    image.SetDescription("");
    EXPECT_EQ(image.GetDescription(), cyrillic.substr(0, 400));  // an empty text changes nothing
    EXPECT_EQ(image.Bytes().size(), before);
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
        std::string bytes = image.Bytes(), version;
        layout::PutI16(version, major);
        layout::PutI16(version, minor);
        image.LoadImageBytes(bytes.replace(8, 4, version));
        ASSERT_TRUE(image.ReadHeader());
        EXPECT_EQ(image.IsVersionSupported(), supported) << major << "." << minor;
    }
}

// Damaged and hostile files: every length and offset is checked against the image.
class ScenarioReadingTest : public ScenarioImageTest {
  protected:
    using Patch = std::pair<std::size_t, std::int32_t>;
    // An unscrambled image with two steps that have texts, a path, a command line and a stamp.
    std::string Valid() {
        image.NewImage("C:\\setup.exe", "desc", 800, 600);
        for (int i = 0; i < 2; ++i) {
            StepState step = Gesture("Setup", i);
            step.text = "typed";
            step.hasText = true;
            image.AppendStep(step);
        }
        Finish("C:\\setup.exe", "/S");
        return image.Bytes();
    }
    static void SetI32(std::string& bytes, std::size_t at, std::int32_t value) {
        std::string encoded;
        layout::PutI32(encoded, value);
        bytes.replace(at, 4, encoded);
    }

    // Loads the bytes and reads every step; the number of steps read.
    int ReadAll(const std::string& bytes) {
        image.LoadImageBytes(bytes);
        image.ReadHeader();
        image.ResetReadCursor();
        StepState step;
        int read = 0;
        while (image.ReadNextStep(step))
            ++read;
        return read;
    }
};

TEST_F(ScenarioReadingTest, EveryTruncationFailsCleanly) {
    const std::string valid = Valid();
    const auto pathOffset = static_cast<std::size_t>(layout::GetI32(valid, 28));
    for (std::size_t length = 0; length < valid.size(); ++length) {
        std::string cut = valid.substr(0, length);
        int read = ReadAll(cut);
        EXPECT_EQ(image.ReadHeader(), length >= 39u);
        // Both steps end before the path; a file cut inside them reads only the whole steps before the cut.
        EXPECT_LE(read, 2);
        EXPECT_EQ(image.StepReadFailed(), length >= 39u && read < 2) << length;
        // The path reads only whole; a list's summary of the scrambled file must agree (the scenario fuzzer).
        EXPECT_EQ(image.GetInstallerPath(), length > pathOffset + 12 ? "C:\\setup.exe" : "") << length;
        // The path, command line and spare byte must all be there for the getters to answer.
        bool whole = length >= pathOffset + 12 + 2 + 1;
        EXPECT_EQ(image.GetCommandLine(), whole ? "/S" : "") << length;
        EXPECT_EQ(image.ChangeInstallerPath("x"), whole) << length;
        if (length < 240u) {  // no spare byte: nothing appends, and only the whole field reads
            EXPECT_EQ(image.GetDescription(), length == 239u ? "desc" : "") << length;
            image.SetDescription("new");
            image.AppendCommandLine("c");
            StepState step;
            image.AppendStep(step);
            EXPECT_FALSE(image.AppendInstallerPath("x.bat"));
            EXPECT_EQ(image.Bytes(), cut);
        }
    }
    EXPECT_EQ(ReadAll(valid), 2);
}

TEST_F(ScenarioReadingTest, LengthsAndOffsetsOutsideTheImageFailTheReadAndChangeNothing) {
    const std::string valid = Valid();
    // Offsets inside the first step: its header at 239, then the first link's header at 251.
    const Patch inStep[] = {{239, -1},         {239, 0x7FFFFFFF}, {243, 0x7FFFFFFF}, {247, -5},
                            {247, 0x7FFFFFF0}, {251, -1},         {255, 0x7FFFFFFF}, {255, -3}};
    for (const auto& [at, value] : inStep) {
        std::string bytes = valid;
        SetI32(bytes, at, value);
        EXPECT_EQ(ReadAll(bytes), 0) << at << " " << value;
        EXPECT_TRUE(image.StepReadFailed());
        EXPECT_EQ(image.readPosition, 239);
    }
    // A negative step count reads nothing.
    std::string bytes = valid;
    SetI32(bytes, 20, -7);
    EXPECT_EQ(ReadAll(bytes), 0);
    EXPECT_FALSE(image.StepReadFailed());

    const std::int32_t pathOffset = layout::GetI32(valid, 28);
    // Path offset (28) and length (24), command line length (32); only the last row's command line still ends
    // before the spare byte (its own two bytes and the stamp).
    const Patch inHeader[] = {{28, 0},          {28, 238}, {28, -1},         {28, 0x7FFFFFFF}, {24, -1},
                              {24, 0x7FFFFFFF}, {32, -1},  {32, 0x7FFFFFFF}, {32, 22},         {32, 21}};
    for (const auto& [at, value] : inHeader) {
        bytes = valid;
        SetI32(bytes, at, value);
        image.LoadImageBytes(bytes);
        ASSERT_TRUE(image.ReadHeader());
        EXPECT_EQ(image.GetInstallerPath() == "C:\\setup.exe", at == 32) << at;
        const bool commandLineOk = at == 32 && value == 21;
        EXPECT_EQ(image.GetCommandLine() != "", commandLineOk) << at;
        EXPECT_EQ(image.ChangeInstallerPath("D:\\other.exe"), commandLineOk);
        EXPECT_EQ(image.ChangeCommandLine("/q"), commandLineOk);
        if (!commandLineOk) {
            EXPECT_EQ(image.Bytes(), bytes);
        }
    }
    image.LoadImageBytes(valid);
    image.ReadHeader();
    EXPECT_FALSE(image.ReplaceRange(-1, "x", pathOffset));
    EXPECT_FALSE(image.ReplaceRange(1, "x", -1));
    EXPECT_FALSE(image.ReplaceRange(2, "x", static_cast<std::int64_t>(valid.size()) - 2));  // the spare byte
    EXPECT_FALSE(image.ReplaceRange(0x7FFFFFFF, "x", 0x7FFFFFFF));
    EXPECT_EQ(image.Bytes(), valid);
}

}  // namespace
}  // namespace velmora
