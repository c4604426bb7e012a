// Reading damaged and hostile scenario files: every length and offset is checked against the image.
#include <gtest/gtest.h>

#include "platform/doubles/MemoryFileSystem.h"
#include "scenario/AnsiCodePage.h"
#include "scenario/ScenarioImage.h"
#include "scenario/ScenarioLayout.h"

namespace velmora {
namespace {

class ScenarioReadingTest : public ::testing::Test {
  protected:
    std::unique_ptr<SingleByteCodec> codec = SingleByteCodec::Create(1252);
    MemoryFileSystem files;
    PathVariables vars{files};
    ScenarioImage image{*codec, vars};

    // An unscrambled image with two steps, a path, a command line and a stamp.
    std::string Valid() {
        ScenarioImage writer{*codec, vars};
        writer.NewImage("C:\\setup.exe", "desc", 800, 600);
        for (int i = 0; i < 2; ++i) {
            StepState step{{{"Top", "Setup", 0}, {"Button", "Next", 1}},
                           {{kButtonLeft, kKindPress, 1, 2}},
                           "typed",
                           true};
            writer.AppendStep(step);
        }
        writer.AppendInstallerPath("C:\\setup.exe");
        writer.AppendCommandLine("/S");
        writer.AppendRecordStamp(LocalTime{});
        return writer.Bytes();
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
    const std::int32_t pathOffset = layout::GetI32(valid, 28);
    for (std::size_t length = 0; length < valid.size(); ++length) {
        std::string cut = valid.substr(0, length);
        int read = ReadAll(cut);
        EXPECT_EQ(image.ReadHeader(), length >= 39u);
        // Both steps end before the path; a file cut inside them reads only the whole steps before the cut.
        EXPECT_LE(read, 2);
        if (length <= static_cast<std::size_t>(pathOffset)) {
            EXPECT_EQ(image.StepReadFailed(), length >= 39u && read < 2) << length;
            EXPECT_EQ(image.GetInstallerPath(), "") << length;
        }
        // The path, command line and spare byte must all be there for the getters to answer.
        bool whole = length >= static_cast<std::size_t>(pathOffset) + 12 + 2 + 1;
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

TEST_F(ScenarioReadingTest, NegativeAndOversizedLengthsFailTheRead) {
    const std::string valid = Valid();
    // Offsets inside the first step: its header at 239, then the first link's header at 251.
    for (const auto& [at, value] : std::vector<std::pair<std::size_t, std::int32_t>>{{239, -1},
                                                                                     {239, 0x7FFFFFFF},
                                                                                     {243, 0x7FFFFFFF},
                                                                                     {247, -5},
                                                                                     {247, 0x7FFFFFF0},
                                                                                     {251, -1},
                                                                                     {255, 0x7FFFFFFF},
                                                                                     {255, -3}}) {
        std::string bytes = valid;
        SetI32(bytes, at, value);
        EXPECT_EQ(ReadAll(bytes), 0) << at << " " << value;
        EXPECT_TRUE(image.StepReadFailed());
        EXPECT_EQ(image.ReadPosition, 239);
    }
    // A huge step count with only two steps in the file reads the two and then stops.
    std::string bytes = valid;
    SetI32(bytes, 20, 0x7FFFFFFF);
    EXPECT_EQ(ReadAll(bytes), 2);
    EXPECT_TRUE(image.StepReadFailed());
    // A negative count reads nothing.
    SetI32(bytes, 20, -7);
    EXPECT_EQ(ReadAll(bytes), 0);
    EXPECT_FALSE(image.StepReadFailed());
}

TEST_F(ScenarioReadingTest, PathAndCommandLineOutsideTheImageAreRefusedAndNothingChanges) {
    const std::string valid = Valid();
    const std::int32_t pathOffset = layout::GetI32(valid, 28);
    // Path offset (28) and length (24), command line length (32); only the last row's command line still ends
    // before the spare byte (its own two bytes and the stamp).
    for (const auto& [at, value] : std::vector<std::pair<std::size_t, std::int32_t>>{{28, 0},
                                                                                     {28, 238},
                                                                                     {28, -1},
                                                                                     {28, 0x7FFFFFFF},
                                                                                     {24, -1},
                                                                                     {24, 0x7FFFFFFF},
                                                                                     {32, -1},
                                                                                     {32, 0x7FFFFFFF},
                                                                                     {32, 22},
                                                                                     {32, 21}}) {
        std::string bytes = valid;
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
