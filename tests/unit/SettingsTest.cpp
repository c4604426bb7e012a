#include "base/Settings.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/doubles/Fakes.h"
#include "platform/doubles/MemoryFileSystem.h"
#include "platform/doubles/MemoryProfileFile.h"

namespace velmora {
namespace {

// Relative folder names resolve against the current folder, which the double does not model.
class FilesWithRelativeFolders : public MemoryFileSystem {
  public:
    bool Exists(const std::string& path) override {
        return relative.count(path) > 0 || MemoryFileSystem::Exists(path);
    }
    bool IsDirectory(const std::string& path) override {
        return relative.count(path) > 0 || MemoryFileSystem::IsDirectory(path);
    }
    std::set<std::string> relative{"X", "Ж", "XY"};
};

// A disc in drive E: with the program at its root, and what the user had chosen before.
class SettingsTest : public ::testing::Test {
  protected:
    SettingsTest() {
        system.programFolder = "E:\\";
        system.driveRoots = {"C:\\", "E:\\"};
        system.driveTypes = {{"C:\\", DriveType::Fixed}, {"E:\\", DriveType::CdRom}};
        vars.Init(system, registry);
        files.AddFolder("E:\\Other");
        files.AddFile("E:\\notafolder.txt");
    }
    IniReadResult ReadIni(const std::string& general) {
        settings.Save("Install", "Speed", "0");
        settings.Save("Path", "FolderSCN", "C:\\Before");
        files.AddFile("E:\\velmora.ini", "[General]\r\n" + general);
        return ReadIniSettings("E:\\", files, profile, settings, vars);
    }

    FilesWithRelativeFolders files;
    MemoryProfileFile profile{files};
    FakeSystemInfo system;
    MemoryRegistry registry;
    MemorySettingsStore settings;
    FakeDialogs dialogs;
    PathVariables vars{files};
};

TEST_F(SettingsTest, DiscSettingsAreCopiedOverTheUsersOnes) {
    struct Case {
        std::string general, speed, folder, language;
    };
    // The default folder "%cdrom%\Folder SCN" does not exist yet; a folder of one character or a file is
    // ignored; speeds other than 0 and 1, or none, are the slowest; the language name is cut to 99.
    for (const Case& c : {
             Case{"SpeedInstall=1\r\n", "1", "C:\\Before", ""},
             Case{"SpeedInstall=0\r\nSCNFolder=%CDROM%\\Other\r\n", "0", "E:\\Other", ""},
             Case{"SpeedInstall=5\r\nSCNFolder=X\r\nLanguage=English\r\n", "2", "C:\\Before", "English"},
             Case{"SpeedInstall=abc\r\nSCNFolder=Ж\r\n", "2", "C:\\Before", ""},
             Case{"SCNFolder=XY\r\n", "2", "XY", ""},
             Case{"SCNFolder=E:\\notafolder.txt\r\nLanguage=" + std::string(150, 'L') + "\r\n", "2",
                  "C:\\Before", std::string(99, 'L')},
         }) {
        const IniReadResult result = ReadIni(c.general);
        EXPECT_EQ(result.iniStatus, "") << c.general;
        EXPECT_EQ(settings.Get("Install", "Speed", "?"), c.speed) << c.general;
        EXPECT_EQ(settings.Get("Path", "FolderSCN", "?"), c.folder) << c.general;
        EXPECT_EQ(result.language, c.language) << c.general;
    }
    files.AddFolder("E:\\Folder SCN");
    ReadIni("");
    EXPECT_EQ(settings.Get("Path", "FolderSCN", "?"), "E:\\Folder SCN");
}

// Readers choose what a value that is no level means: the menu checks none, the player plays the slowest.
TEST_F(SettingsTest, TheStoredSpeedIsALevelOrNone) {
    EXPECT_EQ(GetSpeedLevel(settings), 2);  // none stored: the default
    for (const auto& [stored, level] : std::vector<std::pair<std::string, std::optional<int>>>{
             {"0", 0}, {" 1 ", 1}, {"2", 2}, {"3", {}}, {"-1", {}}, {"1x", {}}, {"fast", {}}, {"", {}}}) {
        SaveSetting(settings, kSettingSpeed, stored);
        EXPECT_EQ(GetSpeedLevel(settings), level) << stored;
    }
}

TEST_F(SettingsTest, WriteIniSettingSkipsAnEmptyValueAndReportsAFailedWrite) {
    files.AddFolder("E:\\Disc");
    EXPECT_TRUE(WriteIniSetting("E:\\Disc", "Language", "", profile, dialogs));
    EXPECT_FALSE(files.Exists("E:\\Disc\\velmora.ini"));
    EXPECT_TRUE(WriteIniSetting("E:\\Disc", "SpeedInstall", "1", profile, dialogs));
    files.SetReadOnly("E:\\Disc\\velmora.ini");
    EXPECT_FALSE(WriteIniSetting("E:\\Disc", "SCNFolder", "%cdrom%\\Folder SCN", profile, dialogs));
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

}  // namespace
}  // namespace velmora
