#include "app/Startup.h"

#include <gtest/gtest.h>

#include "packages/FrameTexts.h"
#include "platform/doubles/Fakes.h"
#include "platform/doubles/MemoryFileSystem.h"
#include "platform/doubles/MemoryProfileFile.h"

namespace velmora {
namespace {

const char* kLanguageKey = "Software\\VB and VBA Program Settings\\Velmora\\Language";

class StartupTest : public ::testing::Test {
  protected:
    StartupTest() {
        system.langId = 1049;  // Russian: a missing language file is not reported
        system.driveRoots = {"C:\\", "E:\\"};
        system.driveTypes = {{"C:\\", DriveType::Fixed}, {"E:\\", DriveType::CdRom}};
        settings.Save("Install", "Speed", "2");
    }
    void StartFromDisc() {
        system.programFolder = "E:\\";
        files.AddFolder("E:\\Folder SCN");
    }
    StartupOutcome Start() { return Main(ports, state, vars, language); }

    std::set<std::string> heldNames;
    FakeInstanceLock lock{heldNames};
    FakeSystemInfo system;
    MemoryFileSystem files;
    MemoryProfileFile profile{files};
    MemorySettingsStore settings;
    MemoryRegistry registry;
    FakeDialogs dialogs;
    StartupPorts ports{lock, system, files, profile, settings, registry, dialogs};
    SharedState state;
    PathVariables vars{files};
    Language language{files, profile, dialogs};
};

TEST_F(StartupTest, SecondInstanceShowsTheMessageAndDoesNothingElse) {
    heldNames.insert("Velmora");
    system.commandLine = "/nostat /speed=0";
    EXPECT_EQ(Start(), StartupOutcome::SecondInstance);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Velmora Runwright is started");
    EXPECT_EQ(dialogs.messages[0].title, "Velmora Runwright");
    EXPECT_EQ(dialogs.messages[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(vars.Value("%WINDOWS%"), "");
    EXPECT_FALSE(state.noStatistics);
    EXPECT_EQ(settings.Get("Install", "Speed", "?"), "2");
    EXPECT_EQ(language.languageFile, "");
    EXPECT_EQ(heldNames.count("Velmora"), 1u);
}

TEST_F(StartupTest, RemovableStartByDriveType) {
    system.programFolder = "E:\\Velmora";
    EXPECT_TRUE(IsRemovableStart(system));
    system.driveTypes["F:\\"] = DriveType::Removable;
    system.programFolder = "F:\\";
    EXPECT_TRUE(IsRemovableStart(system));
    system.programFolder = "C:\\Tools";
    EXPECT_FALSE(IsRemovableStart(system));
    // A network path is never removable, whatever its first characters answer.
    system.driveTypes["\\\\s"] = DriveType::Removable;
    system.programFolder = "\\\\server\\share";
    EXPECT_FALSE(IsRemovableStart(system));
    system.programFolder = "";
    EXPECT_FALSE(IsRemovableStart(system));
}

TEST_F(StartupTest, FixedDiskStartNeverReadsTheDiscSettings) {
    system.programFolder = "C:\\Tools";
    files.AddFile("C:\\Tools\\velmora.ini", "[General]\r\nSpeedInstall=0\r\n");
    EXPECT_EQ(Start(), StartupOutcome::ShowMainWindow);
    EXPECT_EQ(settings.Get("Install", "Speed", "?"), "2");
    EXPECT_EQ(state.discSettingsStatus, "");
    EXPECT_EQ(MakeFrameTexts(state).statusText, "");
}

TEST_F(StartupTest, DiscWithoutSettingsFileShowsTheStatus) {
    StartFromDisc();
    EXPECT_EQ(Start(), StartupOutcome::ShowMainWindow);
    FrameTexts texts = MakeFrameTexts(state);
    EXPECT_EQ(texts.statusText, "Не найден файл настроек velmora.ini");
    EXPECT_FALSE(texts.commandVisible);
}

TEST_F(StartupTest, CommandLineOverridesTheDiscSettings) {
    StartFromDisc();
    files.AddFile("E:\\velmora.ini", "[General]\r\nSpeedInstall=1\r\nSCNFolder=%CDROM%\\Folder SCN\r\n");
    system.commandLine = "/SPEED=0 /nostat";
    EXPECT_EQ(Start(), StartupOutcome::ShowMainWindow);
    EXPECT_EQ(settings.Get("Install", "Speed", "?"), "0");
    EXPECT_EQ(settings.Get("Path", "FolderSCN", "?"), "E:\\Folder SCN");
    FrameTexts texts = MakeFrameTexts(state);
    EXPECT_TRUE(texts.commandVisible);
    EXPECT_EQ(texts.commandText, "/nostat /speed");
}

TEST_F(StartupTest, LanguageFromRegistryWinsOverTheDisc) {
    StartFromDisc();
    files.AddFile("E:\\velmora.ini", "[General]\r\nLanguage=German\r\n");
    registry.SetString(RegistryRoot::CurrentUser, kLanguageKey, "Language", "English");
    files.AddFile("E:\\language\\English.lng", "[main]\r\n1=Packages\r\n");
    Start();
    EXPECT_EQ(language.languageName, "English");
    EXPECT_EQ(language.GetLangText("main", 1), "Packages");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(StartupTest, DiscLanguageAppliesWhenTheUserChoseNone) {
    StartFromDisc();
    files.AddFile("E:\\velmora.ini", "[General]\r\nLanguage=German\r\n");
    Start();
    EXPECT_EQ(language.languageName, "German");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Отсутствует файл перевода E:\\language\\German.lng");
}

TEST_F(StartupTest, UserDefaultLanguageWhenNothingIsChosen) {
    system.programFolder = "C:\\Tools";
    system.langId = 1033;
    Start();
    EXPECT_EQ(language.languageFile, "C:\\Tools\\language\\English.lng");
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST_F(StartupTest, DirectRunLoadsTheLanguageSilentlyAndSkipsTheMainWindow) {
    system.programFolder = "C:\\Tools";
    system.langId = 1033;
    files.AddFile("C:\\Setups\\one.scn");
    system.commandLine = "/inst \"C:\\Setups\\one.scn\" /nostat";
    EXPECT_EQ(Start(), StartupOutcome::DirectRun);
    EXPECT_TRUE(state.directRun);
    EXPECT_TRUE(state.noStatistics);
    EXPECT_EQ(state.currentScenario, "C:\\SETUPS\\ONE.SCN");
    EXPECT_EQ(language.languageFile, "C:\\Tools\\language\\English.lng");
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace velmora
