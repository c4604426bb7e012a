#include "app/Startup.h"

#include <gtest/gtest.h>

#include "packages/FrameTexts.h"
#include "tests/unit/TextDoubles.h"

namespace velmora {
namespace {

class StartupTest : public ::testing::Test, public TextDoubles {
  protected:
    StartupTest() {
        system.langId = 1049;  // Russian: a missing language file is not reported
        system.driveRoots = {"C:\\", "E:\\"};
        system.driveTypes = {{"C:\\", DriveType::Fixed}, {"E:\\", DriveType::CdRom}};
        settings.Save("Install", "Speed", "2");
    }
    void StartFromDisc(const std::string& iniText) {
        system.programFolder = "E:\\";
        files.AddFolder("E:\\Folder SCN");
        if (!iniText.empty())
            files.AddFile("E:\\velmora.ini", "[General]\r\n" + iniText);
    }
    StartupOutcome Start() { return Main(ports, state, vars, language); }

    std::set<std::string> heldNames;
    FakeInstanceLock lock{heldNames};
    FakeSystemInfo system;
    MemorySettingsStore settings;
    MemoryRegistry registry;
    StartupPorts ports{lock, system, files, profile, settings, registry, dialogs};
    SharedState state;
    PathVariables vars{files};
};

// Another instance holds the marker: a person starting the program again is told so, an unattended start
// never waits on a message (its report says why), and neither stores anything of its command line.
TEST_F(StartupTest, SecondInstanceShowsTheMessageOnlyToAPersonAndStoresNothing) {
    heldNames.insert(kInstanceName);
    system.langId = 1033;  // English: the language file an unattended start loads is named
    files.AddFile("C:\\Setups\\one.scn");
    const struct {
        const char* line;
        StartupOutcome outcome;
        const char* reportLog;
    } cases[] = {
        {"/nostat /speed=0", StartupOutcome::SecondInstance, ""},
        {"/speed=0 /inst \"C:\\Setups\\gone.scn\"", StartupOutcome::InstanceHeld, ""},  // a run that fails
        {"/LOG=\"C:\\Logs\\r.txt\" /speed=0 /inst \"C:\\Setups\\one.scn\"", StartupOutcome::InstanceHeld,
         "C:\\Logs\\r.txt"},
        {"/resume /speed=0", StartupOutcome::InstanceHeld, ""},
    };
    for (const auto& c : cases) {
        state = SharedState{};
        dialogs.messages.clear();
        system.commandLine = c.line;
        EXPECT_EQ(Start(), c.outcome) << c.line;
        const bool person = c.outcome == StartupOutcome::SecondInstance;
        EXPECT_EQ(dialogs.messages.size(), person ? 1u : 0u) << c.line;
        if (person) {
            EXPECT_EQ(dialogs.messages[0].text, "Velmora Runwright is started");
        }
        EXPECT_EQ(state.directRun, !person) << c.line;
        EXPECT_EQ(state.reportLog, c.reportLog) << c.line;
        EXPECT_EQ(settings.Get("Install", "Speed", "?"), "2") << c.line;
        EXPECT_EQ(language.languageFile.empty(), person) << c.line;
    }
    EXPECT_EQ(heldNames.size(), 1u);
}

TEST_F(StartupTest, RemovableStartByDriveTypeButNeverFromANetworkPath) {
    system.driveTypes["F:\\"] = DriveType::Removable;
    system.driveTypes["\\\\s"] = DriveType::Removable;  // whatever its first characters answer
    for (const char* folder : {"E:\\Velmora", "F:\\"}) {
        system.programFolder = folder;
        EXPECT_TRUE(IsRemovableStart(system)) << folder;
    }
    for (const char* folder : {"C:\\Tools", "\\\\server\\share", ""}) {
        system.programFolder = folder;
        EXPECT_FALSE(IsRemovableStart(system)) << folder;
    }
}

TEST_F(StartupTest, FixedDiskStartNeverReadsTheDiscSettings) {
    files.AddFile("C:\\Tools\\velmora.ini", "[General]\r\nSpeedInstall=0\r\n");
    EXPECT_EQ(Start(), StartupOutcome::ShowMainWindow);
    EXPECT_EQ(settings.Get("Install", "Speed", "?"), "2");
    EXPECT_EQ(MakeFrameTexts(state).statusText, "");
}

TEST_F(StartupTest, DiscWithoutSettingsFileShowsTheStatusAndCopiesNothing) {
    StartFromDisc("");
    EXPECT_EQ(Start(), StartupOutcome::ShowMainWindow);
    EXPECT_EQ(MakeFrameTexts(state).statusText, "Не найден файл настроек velmora.ini");
    EXPECT_EQ(settings.Get("Path", "FolderSCN", "none"), "none");  // not even the default folder
}

TEST_F(StartupTest, CommandLineOverridesTheDiscSettingsAndTheDiscLanguageAppliesWhenTheUserChoseNone) {
    StartFromDisc("SpeedInstall=1\r\nSCNFolder=%CDROM%\\Folder SCN\r\nLanguage=German\r\n");
    system.commandLine = "/SPEED=0 /nostat";
    EXPECT_EQ(Start(), StartupOutcome::ShowMainWindow);
    EXPECT_EQ(settings.Get("Install", "Speed", "?"), "0");
    EXPECT_EQ(MakeFrameTexts(state).commandText, "/nostat /speed");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Отсутствует файл перевода E:\\language\\German.lng");
}

TEST_F(StartupTest, LanguageChosenByTheUserWinsOverTheDisc) {
    StartFromDisc("Language=German\r\n");
    registry.SetString(RegistryRoot::CurrentUser, kLanguageRegistryKey, "Language", "English");
    files.AddFile("E:\\language\\English.lng", "[main]\r\n1=Packages\r\n");
    Start();
    EXPECT_EQ(language.GetLangText("main", 1), "Packages");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(StartupTest, DirectRunLoadsTheLanguageSilentlyAndSkipsTheMainWindow) {
    system.langId = 1033;
    files.AddFile("C:\\Setups\\one.scn");
    system.commandLine = "/inst \"C:\\Setups\\one.scn\" /nostat";
    EXPECT_EQ(Start(), StartupOutcome::DirectRun);
    EXPECT_EQ(language.languageFile, "C:\\Tools\\language\\English.lng");
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace velmora
