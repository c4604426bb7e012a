#include "scenario/ScenarioText.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/doubles/MemoryFileSystem.h"
#include "scenario/AnsiCodePage.h"
#include "scenario/ScenarioImage.h"
#include "scenario/TextQuoting.h"

namespace velmora {
namespace {

using namespace std::string_literals;

// Random texts that mix what captions and paths hold: Latin and Cyrillic letters, blanks, quotes,
// backslashes, path variables, control characters and characters no single-byte code page has.
std::string RandomText(std::mt19937& random, int maxLength) {
    static const std::vector<std::string> pieces = {
        "a", "Z", "7", " ",  "\"", "\\",   "%TEMP%",    "&Далее >",          "ж",    "Ё", "ў",
        "€", "№", "é", "中", "\t", "\x7F", "Установка", "C:\\Program Files", ".bat", "",  "'",
        "—"};
    std::string text;
    int length = std::uniform_int_distribution<int>(0, maxLength)(random);
    for (int i = 0; i < length; ++i)
        text += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
    return text;
}

// A scenario made by the program's own write path, scrambled as it is saved.
std::string RandomScenario(std::mt19937& random, Codec& codec, PathVariables& vars) {
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    ScenarioImage image(codec, vars);
    image.NewImage(RandomText(random, 5), RandomText(random, 40), pick(640, 3840), pick(480, 2160));
    image.SetRecordedDpi(pick(0, 1) ? pick(72, 288) : 0);
    int steps = pick(0, 6);
    for (int s = 0; s < steps; ++s) {
        StepState step;
        for (int w = pick(0, 4); w > 0; --w)
            step.windows.push_back({RandomText(random, 3), RandomText(random, 6), pick(-1, 5)});
        for (int e = pick(0, 5); e > 0; --e)
            step.events.push_back({static_cast<std::int16_t>(1 << pick(0, 2)),
                                   static_cast<std::int16_t>(pick(1, 3)), pick(-5000, 5000),
                                   pick(-5000, 5000)});
        step.hasText = pick(0, 2) == 0;
        step.text = RandomText(random, 8);
        image.AppendStep(step);
    }
    std::string path = RandomText(random, 6) + (pick(0, 1) ? ".bat" : ".exe");
    if (!image.AppendInstallerPath(path))
        image.AppendInstallerPath(path + ".bat");
    image.AppendCommandLine(pick(0, 1) ? RandomText(random, 6) : "");
    if (pick(0, 3) != 0)
        image.AppendRecordStamp(
            LocalTime{pick(1990, 2100), pick(1, 12), pick(1, 28), pick(0, 23), pick(0, 59), pick(0, 59)});
    // Some are then edited as the properties dialog and the path editor do.
    if (pick(0, 2) == 0) {
        image.SetDescription(RandomText(random, 80));
        image.ChangeInstallerPath(RandomText(random, 9));
        image.ChangeCommandLine(RandomText(random, 4));
    }
    image.ScrambleImage();
    return image.Bytes();
}

TEST(ScenarioTextTest, DumpThenBuildReproducesEveryScenarioTheProgramWrites) {
    MemoryFileSystem files;
    PathVariables vars(files);
    std::mt19937 random(20261206);
    for (int codePage : {1251, 1252}) {
        auto codec = SingleByteCodec::Create(codePage);
        for (int i = 0; i < 200; ++i) {
            std::string file = RandomScenario(random, *codec, vars);
            std::string text = DumpScenario(file, *codec, codePage);
            ASSERT_EQ(text.find("\nraw "), std::string::npos) << text;  // written files read as structure
            std::string rebuilt, error;
            ASSERT_TRUE(BuildScenario(text, *codec, rebuilt, error)) << error << "\n" << text;
            ASSERT_EQ(rebuilt, file) << text;
        }
    }
}

// Escapes only where a byte has no letter, so a person can read and edit the text.
TEST(ScenarioTextTest, TextsReadAsLettersWhereExactAndAsEscapesWhereNot) {
    auto cyrillic = SingleByteCodec::Create(1251);
    EXPECT_EQ(QuoteBytes("\xC4\xE0\xEB\xE5\xE5 >", *cyrillic), "\"Далее >\"");
    // 0x98 has no letter in Windows-1251; a tab and a zero are control bytes.
    EXPECT_EQ(QuoteBytes("C:\\\"\xC0\x98\t\0z"s, *cyrillic), R"("C:\\\"А\x98\x09\x00z")");
    EXPECT_EQ(QuoteBytes("\xC0\x81", *SingleByteCodec::Create(1252)), R"("À\x81")");
}

TEST(ScenarioTextTest, MistakesAreReportedWithTheirLine) {
    auto codec = SingleByteCodec::Create(1251);
    for (const auto& [text, message] : std::vector<std::pair<std::string, std::string>>{
             {"", "the text is empty"},
             {"screen 1 2\n", "line 1: the text must start with \"format 1\""},
             {"format 1\ndescription \"" + std::string(201, 'x') + "\"\n",
              "line 2: the description has 201 bytes; the file holds 200"},
             {"format 1\ncommandline \"中\"\n",
              "line 2: the text \"中\" has a character the code page cannot store; write its byte as \\xHH"},
             {"format 1\nstep\nevent left press 1 99999999999\n",
              "line 3: expected a whole number from -2147483648 to 2147483647, found \"99999999999\""},
             {"format 1\nscreen 1 2\nraw 0\n",
              "line 3: \"raw\" cannot be mixed with other parts of a scenario"},
             {"format 1\nraw 2\nhex 00\n", "\"raw\" promises 2 bytes; the \"hex\" lines hold 1"},
             {"format 1\ndpi 65536\n", "line 2: expected a whole number from 0 to 65535, found \"65536\""}}) {
        std::string bytes, error;
        EXPECT_FALSE(BuildScenario(text, *codec, bytes, error)) << text;
        EXPECT_EQ(error, message);
    }
}

// The DPI lives in the header's first reserved bytes: every rewrite keeps it, a text without "dpi" leaves it
// 0 (or whatever an older "reserved" line says) and the bytes still reserved show apart from it.
TEST(ScenarioTextTest, TheRecordedDpiSurvivesRewritesAndShowsAsItsOwnLine) {
    MemoryFileSystem files;
    PathVariables vars(files);
    auto codec = SingleByteCodec::Create(1252);
    ScenarioImage image(*codec, vars);
    image.NewImage("setup.exe", "", 1280, 1024);
    image.SetRecordedDpi(144);
    StepState step{{{"#32770", "Setup", 0}}, {{kButtonLeft, kKindPress, 1, 2}}, ""};
    image.AppendStep(step);
    image.AppendInstallerPath("setup.exe");
    image.ChangeInstallerPath("D:\\setup.exe");
    image.SetDescription("edited");
    image.ScrambleImage();
    std::vector<std::pair<std::string, std::string>> cases{
        {"", "2\ndescription"},
        {"reserved 9000000000000000 000000\n", "2\ndpi 144\ndescription"},
        {"reserved 0000AA0000000000 0000BB\ndpi 120\n", "2\ndpi 120\nreserved 0000AA0000000000 0000BB\n"}};
    for (const auto& [lines, shown] : cases) {
        std::string bytes, error;
        ASSERT_TRUE(BuildScenario("format 1\n" + lines + "installer \"a.bat\"\n", *codec, bytes, error))
            << error;
        EXPECT_NE(DumpScenario(bytes, *codec, 1252).find("version 1 " + shown), std::string::npos) << lines;
    }
    EXPECT_NE(DumpScenario(image.Bytes(), *codec, 1252).find("version 1 2\ndpi 144\ndescription \"edited\""),
              std::string::npos);
}

TEST(ScenarioTextTest, TheTextNamesItsCodePageAndMayHaveWindowsLineEnds) {
    EXPECT_EQ(TextCodePage("format 1\n  codepage 1251\r\n"), 1251);
    EXPECT_EQ(TextCodePage("format 1\n# codepage 1251\n"), std::nullopt);
    auto codec = SingleByteCodec::Create(1251);
    std::string bytes, error;
    ASSERT_TRUE(BuildScenario("format 1\r\n\r\ndescription \"Тест\"\r\ninstaller \"a.bat\"\r\n", *codec,
                              bytes, error))
        << error;
    EXPECT_NE(DumpScenario(bytes, *codec, 1251).find("\ndescription \"Тест\"\n\ninstaller \"a.bat\"\n"),
              std::string::npos);
}

}  // namespace
}  // namespace velmora
