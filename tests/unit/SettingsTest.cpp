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
    std::set<std::string> relative;
};

// A disc in drive E: with the program at its root.
class SettingsTest : public ::testing::Test {
  protected:
    SettingsTest() {
        system.programFolder = "E:\\";
        system.driveRoots = {"C:\\", "E:\\"};
        system.driveTypes = {{"C:\\", DriveType::Fixed}, {"E:\\", DriveType::CdRom}};
        vars.Init(system, registry);
        settings.Save("Install", "Speed", "0");
        settings.Save("Path", "FolderSCN", "C:\\Before");
    }
    IniReadResult ReadIni(const std::string& iniText) {
        files.AddFile("E:\\velmora.ini", iniText);
        return ReadIniSettings("E:\\", files, profile, settings, vars);
    }
    std::string Speed() { return settings.Get("Install", "Speed", "?"); }
    std::string Folder() { return settings.Get("Path", "FolderSCN", "?"); }

    FilesWithRelativeFolders files;
    MemoryProfileFile profile{files};
    FakeSystemInfo system;
    MemoryRegistry registry;
    MemorySettingsStore settings;
    FakeDialogs dialogs;
    PathVariables vars{files};
};

TEST_F(SettingsTest, MissingFileSetsOnlyTheStatus) {
    files.AddFolder("E:\\Folder SCN");
    IniReadResult result = ReadIniSettings("E:\\", files, profile, settings, vars);
    EXPECT_EQ(result.iniStatus, "Не найден файл настроек velmora.ini");
    EXPECT_EQ(Speed(), "0");
    EXPECT_EQ(Folder(), "C:\\Before");
}

TEST_F(SettingsTest, SpeedValuesMapToThreeLevels) {
    EXPECT_EQ(ReadIni("[General]\r\nSpeedInstall=1\r\n").iniStatus, "");
    EXPECT_EQ(Speed(), "1");
    ReadIni("[General]\r\nSpeedInstall=0\r\n");
    EXPECT_EQ(Speed(), "0");
    ReadIni("[General]\r\nSpeedInstall=5\r\n");
    EXPECT_EQ(Speed(), "2");
    settings.Save("Install", "Speed", "0");
    ReadIni("[General]\r\nSpeedInstall=abc\r\n");
    EXPECT_EQ(Speed(), "2");
    settings.Save("Install", "Speed", "0");
    ReadIni("[General]\r\n");
    EXPECT_EQ(Speed(), "2");
}

TEST_F(SettingsTest, ScenarioFolderIsExpandedAndMustExist) {
    // The default "%cdrom%\Folder SCN" when the key is missing, but only once that folder is there.
    ReadIni("[General]\r\n");
    EXPECT_EQ(Folder(), "C:\\Before");
    files.AddFolder("E:\\Folder SCN");
    ReadIni("[General]\r\n");
    EXPECT_EQ(Folder(), "E:\\Folder SCN");
    files.AddFolder("E:\\Other");
    ReadIni("[General]\r\nSCNFolder=%CDROM%\\Other\r\n");
    EXPECT_EQ(Folder(), "E:\\Other");
}

TEST_F(SettingsTest, OneCharacterOrFileNamedFolderIsIgnored) {
    files.relative = {"X", "Ж", "XY"};
    ReadIni("[General]\r\nSCNFolder=X\r\n");
    EXPECT_EQ(Folder(), "C:\\Before");
    ReadIni("[General]\r\nSCNFolder=Ж\r\n");
    EXPECT_EQ(Folder(), "C:\\Before");
    ReadIni("[General]\r\nSCNFolder=XY\r\n");
    EXPECT_EQ(Folder(), "XY");
    settings.Save("Path", "FolderSCN", "C:\\Before");
    files.AddFile("E:\\notafolder.txt");
    ReadIni("[General]\r\nSCNFolder=E:\\notafolder.txt\r\n");
    EXPECT_EQ(Folder(), "C:\\Before");
}

TEST_F(SettingsTest, LanguageKeyIsReturnedAndCutToNinetyNine) {
    EXPECT_EQ(ReadIni("[General]\r\nLanguage=English\r\n").language, "English");
    EXPECT_EQ(ReadIni("[General]\r\n").language, "");
    EXPECT_EQ(ReadIni("[General]\r\nLanguage=" + std::string(150, 'L') + "\r\n").language,
              std::string(99, 'L'));
}

TEST_F(SettingsTest, WriteIniSettingSkipsEmptyPartsAndReportsFailure) {
    files.AddFolder("E:\\Disc");
    EXPECT_TRUE(WriteIniSetting("E:\\Disc", "SpeedInstall", "1", profile, dialogs));
    EXPECT_TRUE(WriteIniSetting("E:\\Disc", "Language", "", profile, dialogs));
    EXPECT_TRUE(WriteIniSetting("E:\\Disc", "", "x", profile, dialogs));
    EXPECT_EQ(profile.GetString("E:\\Disc\\velmora.ini", "General", "SpeedInstall", "", 128), "1");
    EXPECT_EQ(profile.GetString("E:\\Disc\\velmora.ini", "General", "Language", "none", 128), "none");
    EXPECT_TRUE(dialogs.messages.empty());

    files.SetReadOnly("E:\\Disc\\velmora.ini");
    EXPECT_FALSE(WriteIniSetting("E:\\Disc", "SCNFolder", "%cdrom%\\Folder SCN", profile, dialogs));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              "Запись в файл - провалена. Возможно\n установлен атрибут только для чтения");
    EXPECT_EQ(dialogs.messages[0].title, "Velmora Runwright");
}

TEST_F(SettingsTest, NumbersAndSpeedLevelReadSafely) {
    EXPECT_EQ(GetSettingNumber(settings, kSettingTopMost), 0);
    settings.Save("View", "TopMost", " 1");
    EXPECT_EQ(GetSettingNumber(settings, kSettingTopMost), 1);
    settings.Save("View", "TopMost", "yes");
    EXPECT_EQ(GetSettingNumber(settings, kSettingTopMost), 0);
    EXPECT_EQ(GetSpeedLevel(settings), 0);
    settings.Save("Install", "Speed", "7");
    EXPECT_EQ(GetSpeedLevel(settings), 2);
    settings.Save("Install", "Speed", "-1");
    EXPECT_EQ(GetSpeedLevel(settings), 2);
    settings.Save("Install", "Speed", "99999999999999999999");
    EXPECT_EQ(GetSpeedLevel(settings), 2);
    settings.values.clear();
    EXPECT_EQ(GetSpeedLevel(settings), 2);
    EXPECT_EQ(GetSetting(settings, kSettingFolderBrowseExe), "c:\\");
}

}  // namespace
}  // namespace velmora
