#include "scenario/SaveScenario.h"

#include <gtest/gtest.h>

#include "tests/unit/TextDoubles.h"
#include "scenario/AnsiCodePage.h"

namespace velmora {
namespace {

class SaveScenarioTest : public ::testing::Test, public TextDoubles {
  protected:
    SaveScenarioTest() {
        files.AddFolder("C:\\scn");
        files.AddFolder("C:\\other");
        image.NewImage("a.bat", "", 800, 600);
        image.AppendInstallerPath("a.bat");
        image.ScrambleImage();
    }

    bool Save() { return SaveScenarioFile(image, files, dialogs, language, 77, path, "C:\\scn"); }

    std::unique_ptr<SingleByteCodec> codec = SingleByteCodec::Create(1251);
    PathVariables vars{files};
    ScenarioImage image{*codec, vars};
    std::string path = "C:\\scn\\Пакет.SCN";
};

TEST_F(SaveScenarioTest, FailureIsExplainedAndNoGivesUp) {
    EXPECT_TRUE(Save());
    EXPECT_TRUE(dialogs.messages.empty());

    files.AddFile(path, "old");
    files.SetReadOnly(path);
    EXPECT_FALSE(Save());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    const FakeDialogs::Shown& shown = dialogs.messages[0];
    EXPECT_NE(shown.text.find("\r\n'C:\\scn\\Пакет.SCN'.\r\n"), std::string::npos) << shown.text;
    EXPECT_EQ(shown.buttons, MsgButtons::YesNo);
    EXPECT_TRUE(dialogs.fileDialogs.empty());
    EXPECT_EQ(files.Contents(path), "old");
}

TEST_F(SaveScenarioTest, ThePlaceChosenGetsTheSuffixUnlessItHasItExactly) {
    const std::pair<std::string, std::string> cases[] = {
        {std::string("C:\\other\\name") + '\0', "C:\\other\\name.SCN"},
        {"C:\\other\\x.scn", "C:\\other\\x.scn.SCN"},
        {"C:\\other\\y.SCN", "C:\\other\\y.SCN"}};
    for (const auto& [typed, saved] : cases) {
        path = "C:\\missing\\a.SCN";
        dialogs.answers = {MsgResult::Yes};
        dialogs.fileAnswers = {typed};
        EXPECT_TRUE(Save());
        EXPECT_EQ(path, saved);
        EXPECT_EQ(files.Contents(saved), image.Bytes());
    }
    EXPECT_EQ(std::get<2>(dialogs.fileDialogs.at(0)), "C:\\scn");  // the dialog opens on the scenario folder
}

TEST_F(SaveScenarioTest, CancellingAsksAgainAndNoRetriesTheSamePlace) {
    files.FailNextWriteAfter(10);  // the first write fails, the retry works
    dialogs.answers = {MsgResult::Yes, MsgResult::No};
    EXPECT_TRUE(Save());
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text, "Вы действительно не желаете сохранить файл?");
    EXPECT_EQ(files.Contents(path), image.Bytes());

    // Answering Yes to "really?" gives up; a place that keeps failing keeps asking.
    path = "C:\\missing\\a.SCN";
    dialogs.messages.clear();
    dialogs.answers = {MsgResult::Yes, MsgResult::No, MsgResult::Yes, MsgResult::Yes};
    EXPECT_FALSE(Save());
    EXPECT_EQ(dialogs.messages.size(), 4u);
    EXPECT_TRUE(dialogs.answers.empty());
}

}  // namespace
}  // namespace velmora
