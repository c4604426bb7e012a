#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include "platform/doubles/Fakes.h"
#include "platform/doubles/MemoryFileSystem.h"

namespace velmora {
namespace {

class CommandLineTest : public ::testing::Test {
  protected:
    CommandLineTest() {
        system.programFolder = "C:\\Tools";
        vars.Init(system, registry);
        settings.Save("Install", "Speed", "9-untouched");
        settings.Save("Path", "FolderSCN", "untouched");
        files.AddFile("C:\\Setups\\one.scn");
        files.AddFile("C:\\My Setups\\one.scn");
        files.AddFile("C:\\Setups\\readme.txt");
    }
    void Parse(const std::string& line) {
        ParseCommandLine(line, CommandLineContext{state, settings, files, vars, [this] {
                                                      ++languageLoads;
                                                      directRunAtLoad = state.directRun;
                                                  }});
    }
    std::string Speed() { return settings.Get("Install", "Speed", "?"); }
    std::string Folder() { return settings.Get("Path", "FolderSCN", "?"); }

    MemoryFileSystem files;
    FakeSystemInfo system;
    MemoryRegistry registry;
    MemorySettingsStore settings;
    SharedState state;
    PathVariables vars{files};
    int languageLoads = 0;
    bool directRunAtLoad = false;
};

TEST_F(CommandLineTest, ShortOrEmptyLineChangesNothing) {
    for (const char* line : {"", "      ", "/add C", "  /add C  ", "/nosta"}) {
        Parse(line);
        EXPECT_EQ(state.acceptedSwitches, "") << line;
        EXPECT_FALSE(state.noStatistics) << line;
    }
    EXPECT_EQ(Folder(), "untouched");
}

TEST_F(CommandLineTest, NoStatMustStandAsAWord) {
    Parse("/NoStat");
    EXPECT_TRUE(state.noStatistics);
    EXPECT_EQ(state.acceptedSwitches, "/nostat");
    for (const char* line : {"/nostatx", "x/nostat", "/nostatx /nostat"}) {
        SharedState fresh;
        state = fresh;
        Parse(line);
        EXPECT_FALSE(state.noStatistics) << line;
    }
}

TEST_F(CommandLineTest, SpeedDigitsAndOtherCharacters) {
    Parse("/speed=2");
    EXPECT_EQ(Speed(), "2");
    EXPECT_EQ(state.acceptedSwitches, " /speed");
    state.acceptedSwitches.clear();
    Parse("/speed=1");
    EXPECT_EQ(Speed(), "1");
    EXPECT_EQ(state.acceptedSwitches, " /speed");

    state.acceptedSwitches.clear();
    Parse("/speed=7");
    EXPECT_EQ(Speed(), "2");
    EXPECT_EQ(state.acceptedSwitches, "");

    settings.Save("Install", "Speed", "0");
    Parse("/speed=a ");
    Parse("/nostat /SPEED=");
    Parse("/speed=Ж");
    EXPECT_EQ(Speed(), "0");
}

TEST_F(CommandLineTest, SpeedIsCutOutOfTheLine) {
    // What is left after the switch is the /add argument, which shows exactly what was cut.
    files.AddFolder("C:\\S2");
    Parse("/add C:\\S/SPEED=12");
    EXPECT_EQ(Speed(), "1");
    EXPECT_EQ(Folder(), "C:\\S2");
    files.AddFolder("C:\\T");
    Parse("/add C:\\T/speed=a");
    EXPECT_EQ(Folder(), "C:\\T");
    files.AddFolder("C:\\U");
    Parse("/add C:\\U/speed=Ж");
    EXPECT_EQ(Folder(), "C:\\U");
}

TEST_F(CommandLineTest, AddStoresFolderOrParentOfFileInUpperCase) {
    Parse("/add C:\\Setups\\one.scn");
    EXPECT_EQ(Folder(), "C:\\SETUPS");
    EXPECT_EQ(state.acceptedSwitches, "/add");

    Parse("/ADD \"C:\\My Setups\"");
    EXPECT_EQ(Folder(), "C:\\MY SETUPS");

    // The shell passes an unquoted path: the whole rest of the line is the argument.
    settings.Save("Path", "FolderSCN", "untouched");
    Parse("/add C:\\My Setups\\one.scn");
    EXPECT_EQ(Folder(), "C:\\MY SETUPS");
}

TEST_F(CommandLineTest, AddWithMissingPathKeepsTheFolderButNamesTheSwitch) {
    Parse("/add C:\\Nowhere\\x.scn");
    EXPECT_EQ(Folder(), "untouched");
    EXPECT_EQ(state.acceptedSwitches, "/add");
    // A relative file has no folder to store.
    files.currentDirectory = "C:\\Setups";
    files.AddFile("RELATIVE.SCN");
    Parse("/add relative.scn");
    EXPECT_EQ(Folder(), "untouched");
}

TEST_F(CommandLineTest, AddExpandsPathVariablesAndCyrillic) {
    files.AddFolder("C:\\TEMP\\PACKS");
    Parse("/add %TEMP%\\packs");
    EXPECT_EQ(Folder(), "C:\\TEMP\\PACKS");
    files.AddFolder("C:\\УСТАНОВКИ");
    Parse("/add C:\\установки");
    EXPECT_EQ(Folder(), "C:\\УСТАНОВКИ");
}

TEST_F(CommandLineTest, CombinedSwitchesInEitherOrder) {
    Parse("/add C:\\Setups /nostat /SPEED=1");
    EXPECT_TRUE(state.noStatistics);
    EXPECT_EQ(Speed(), "1");
    EXPECT_EQ(Folder(), "C:\\SETUPS");
    EXPECT_EQ(state.acceptedSwitches, "/nostat /speed/add");

    SharedState fresh;
    state = fresh;
    settings.Save("Path", "FolderSCN", "untouched");
    Parse("/nostat /speed=0 /add C:\\My Setups");
    EXPECT_EQ(Speed(), "0");
    EXPECT_EQ(Folder(), "C:\\MY SETUPS");
    EXPECT_EQ(state.acceptedSwitches, "/nostat /speed/add");
}

TEST_F(CommandLineTest, InstWithQuotedPathRunsDirectly) {
    Parse("/inst \"C:\\My Setups\\one.scn\"");
    EXPECT_TRUE(state.directRun);
    EXPECT_EQ(languageLoads, 1);
    EXPECT_TRUE(directRunAtLoad);
    EXPECT_EQ(state.runList, (std::vector<std::string>{"C:\\MY SETUPS\\ONE.SCN"}));
    EXPECT_EQ(state.currentScenario, "C:\\MY SETUPS\\ONE.SCN");
}

TEST_F(CommandLineTest, InstIsIgnoredForUnusablePaths) {
    files.AddFile("C:\\Setups\\two.txt");
    files.AddFolder("C:\\Setups\\dir.scn");
    for (const char* line :
         {"/inst C:\\My Setups\\one.scn", "/inst C:\\Setups\\missing.scn", "/inst C:\\Setups\\two.txt",
          "/inst \"C:\\Setups\\one.scn", "/inst C:\\Setups\\dir.scn", "/inst \"\" C:\\Setups\\one.scn",
          "/inst      ", "/installer x"}) {
        Parse(line);
        EXPECT_FALSE(state.directRun) << line;
        EXPECT_TRUE(state.runList.empty()) << line;
        EXPECT_EQ(state.currentScenario, "") << line;
    }
    EXPECT_EQ(languageLoads, 0);
}

TEST_F(CommandLineTest, InstAfterOtherSwitchesRunsTheCheckedFile) {
    Parse("/nostat /inst C:\\Setups\\one.scn");
    EXPECT_TRUE(state.noStatistics);
    EXPECT_EQ(state.currentScenario, "C:\\SETUPS\\ONE.SCN");

    SharedState fresh;
    state = fresh;
    Parse("/add C:\\Setups /inst C:\\Setups\\one.scn");
    EXPECT_TRUE(state.directRun);
    EXPECT_EQ(state.runList, (std::vector<std::string>{"C:\\SETUPS\\ONE.SCN"}));
    EXPECT_EQ(state.currentScenario, "C:\\SETUPS\\ONE.SCN");
}

TEST(RemoveSwitchTest, OnlyTheFirstOccurrenceAsAWholeWord) {
    bool found = false;
    EXPECT_EQ(RemoveSwitch("/add x /NOSTAT /speed=1", "/nostat", found), "/add x  /speed=1");
    EXPECT_TRUE(found);
    EXPECT_EQ(RemoveSwitch("/nostat", "/nostat", found), "");
    EXPECT_TRUE(found);
    EXPECT_EQ(RemoveSwitch("a/nostat /nostat", "/nostat", found), "a/nostat /nostat");
    EXPECT_FALSE(found);
    EXPECT_EQ(RemoveSwitch("x", "", found), "x");
    EXPECT_FALSE(found);
}

TEST(NextTokenTest, QuotedUnquotedAndFailures) {
    std::string text = "  \"C:\\a b\\x.scn\"  rest ";
    EXPECT_EQ(NextToken(text), "C:\\a b\\x.scn");
    EXPECT_EQ(text, "rest");

    text = "C:\\a\\x.scn/nostat more";
    EXPECT_EQ(NextToken(text), "C:\\a\\x.scn");
    EXPECT_EQ(text, "/nostat more");

    text = "C:\\x\"y";
    EXPECT_EQ(NextToken(text), "C:\\x");
    EXPECT_EQ(text, "\"y");

    for (const char* failing : {"\"unterminated", "\"", "\"  \"", "", "   ", "/x"}) {
        std::string t = failing;
        EXPECT_FALSE(NextToken(t).has_value()) << failing;
        EXPECT_EQ(t, failing);
    }
}

}  // namespace
}  // namespace velmora
