#include "base/PathVariables.h"

#include <gtest/gtest.h>

#include "platform/doubles/Fakes.h"
#include "platform/doubles/MemoryFileSystem.h"

namespace velmora {
namespace {

const char* kCurrentVersion = "Software\\Microsoft\\Windows\\CurrentVersion";

class PathVariablesTest : public ::testing::Test {
  protected:
    PathVariablesTest() {
        registry.SetString(RegistryRoot::LocalMachine, kCurrentVersion, "ProgramFilesDir",
                           "C:\\Program Files");
        system.userName = "admin";
        system.windowsFolder = "C:\\WINDOWS";
        system.tempFolder = "C:\\Users\\admin\\AppData\\Local\\Temp\\";
    }
    // A machine with the program on fixed disk C: and CD-ROM drives E: and F:.
    void FixedDiskWithTwoCdroms() {
        system.programFolder = "C:\\Tools\\Velmora";
        system.driveRoots = {"A:\\", "C:\\", "E:\\", "F:\\"};
        system.driveTypes = {{"A:\\", DriveType::Removable},
                             {"C:\\", DriveType::Fixed},
                             {"E:\\", DriveType::CdRom},
                             {"F:\\", DriveType::CdRom}};
        vars.Init(system, registry);
    }
    void StartedFromCdrom() {
        system.programFolder = "E:\\";
        system.driveRoots = {"C:\\", "E:\\", "F:\\"};
        system.driveTypes = {
            {"C:\\", DriveType::Fixed}, {"E:\\", DriveType::CdRom}, {"F:\\", DriveType::CdRom}};
        vars.Init(system, registry);
    }

    MemoryFileSystem files;
    FakeSystemInfo system;
    MemoryRegistry registry;
    PathVariables vars{files};
};

TEST(JoinPathTest, ExactlyOneBackslashBetweenParts) {
    EXPECT_EQ(JoinPath("C:\\a", "b"), "C:\\a\\b");
    EXPECT_EQ(JoinPath("C:\\a\\", "\\b"), "C:\\a\\b");
    EXPECT_EQ(JoinPath("C:\\a", ""), "C:\\a");
    EXPECT_EQ(JoinPath("", "\\b"), "b");
    EXPECT_EQ(JoinPath("", ""), "");
}

TEST_F(PathVariablesTest, InitOnFixedDiskListsCdromsAndFillsValues) {
    FixedDiskWithTwoCdroms();
    EXPECT_EQ(vars.Value("%CDROM%"), "");
    EXPECT_EQ(vars.cdromDrives, (std::vector<std::string>{"E:\\", "F:\\"}));
    EXPECT_EQ(vars.Value("%username%"), "admin");
    EXPECT_EQ(vars.Value("%WINDOWS%"), "C:\\WINDOWS");
    EXPECT_EQ(vars.Value("%TEMP%"), "C:\\Users\\admin\\AppData\\Local\\Temp");
    EXPECT_EQ(vars.Value("%PROGRAMFILES%"), "C:\\Program Files");
    EXPECT_EQ(vars.Value("%DRIVEAPP%"), "C:\\");
    EXPECT_EQ(vars.Value("%NOPE%"), "");
}

TEST_F(PathVariablesTest, InitFromCdromAndFromNetworkAndWithMissingFacts) {
    StartedFromCdrom();
    EXPECT_EQ(vars.Value("%CDROM%"), "E:\\");
    EXPECT_TRUE(vars.cdromDrives.empty());
    EXPECT_EQ(vars.Value("%DRIVEAPP%"), "E:\\");

    system.programFolder = "\\\\server\\share\\velmora";
    system.userName.reset();
    system.tempFolder = "";
    registry.SetNonString(RegistryRoot::LocalMachine, kCurrentVersion, "ProgramFilesDir");
    system.driveRoots = {"E:\\", "", "F:\\"};  // the walk ends at the first empty entry
    vars.Init(system, registry);
    EXPECT_EQ(vars.Value("%CDROM%"), "");
    EXPECT_EQ(vars.cdromDrives, (std::vector<std::string>{"E:\\"}));
    EXPECT_EQ(vars.Value("%USERNAME%"), "");
    EXPECT_EQ(vars.Value("%TEMP%"), "");
    EXPECT_EQ(vars.Value("%PROGRAMFILES%"), "");
    EXPECT_EQ(vars.Value("%DRIVEAPP%"), "");
}

TEST_F(PathVariablesTest, ExpandReplacesFirstOccurrenceOfEachName) {
    FixedDiskWithTwoCdroms();
    EXPECT_EQ(vars.ExpandPathVars("%windows%\\system32"), "C:\\WINDOWS\\system32");
    EXPECT_EQ(vars.ExpandPathVars("%PROGRAMFILES%\\Setup\\a.exe"), "C:\\Program Files\\Setup\\a.exe");
    EXPECT_EQ(vars.ExpandPathVars("%TEMP%\\%TEMP%\\x"), "C:\\Users\\admin\\AppData\\Local\\Temp\\%TEMP%\\x");
    EXPECT_EQ(vars.ExpandPathVars("%DRIVEAPP%\\Users\\%USERNAME%\\x"), "C:\\Users\\admin\\x");
    EXPECT_EQ(vars.ExpandPathVars("D:\\plain\\path.exe"), "D:\\plain\\path.exe");
}

TEST_F(PathVariablesTest, ExpandWithEmptyValueDropsNameAndBackslash) {
    registry.SetNonString(RegistryRoot::LocalMachine, kCurrentVersion, "ProgramFilesDir");
    FixedDiskWithTwoCdroms();
    EXPECT_EQ(vars.ExpandPathVars("%PROGRAMFILES%\\X"), "X");
}

TEST_F(PathVariablesTest, ExpandCdromSearchesListedDrivesInOrder) {
    FixedDiskWithTwoCdroms();
    EXPECT_EQ(vars.ExpandPathVars("%CDROM%\\Setup\\a.exe"), "%CDROM%\\Setup\\a.exe");
    files.AddFile("F:\\Setup\\a.exe");
    EXPECT_EQ(vars.ExpandPathVars("%cdrom%\\Setup\\a.exe"), "F:\\Setup\\a.exe");
    files.AddFile("E:\\Setup\\a.exe");
    EXPECT_EQ(vars.ExpandPathVars("%CDROM%\\Setup\\a.exe"), "E:\\Setup\\a.exe");
    // Only at the start of the path.
    EXPECT_EQ(vars.ExpandPathVars("X:\\%CDROM%\\Setup\\a.exe"), "X:\\%CDROM%\\Setup\\a.exe");
}

TEST_F(PathVariablesTest, ExpandCdromFromACdromStartUsesOwnDrive) {
    StartedFromCdrom();
    EXPECT_EQ(vars.ExpandPathVars("%CDROM%\\Folder SCN"), "E:\\Folder SCN");
    EXPECT_EQ(vars.ExpandPathVars("%CDROM%"), "E:\\");
}

TEST_F(PathVariablesTest, ContractFollowsTheFixedOrder) {
    FixedDiskWithTwoCdroms();
    EXPECT_EQ(vars.ContractPathVars("C:\\Program Files\\Setup\\a.exe"), "%PROGRAMFILES%\\Setup\\a.exe");
    EXPECT_EQ(vars.ExpandPathVars("%PROGRAMFILES%\\Setup\\a.exe"), "C:\\Program Files\\Setup\\a.exe");
    // The user name goes in before the temporary folder is looked for, so no %TEMP% appears.
    EXPECT_EQ(vars.ContractPathVars("C:\\Users\\admin\\AppData\\Local\\Temp\\s.exe"),
              "%DRIVEAPP%\\Users\\%USERNAME%\\AppData\\Local\\Temp\\s.exe");
    EXPECT_EQ(vars.ContractPathVars("c:\\windows\\system32\\x.exe"), "%WINDOWS%\\system32\\x.exe");
    EXPECT_EQ(vars.ContractPathVars("E:\\Setup\\a.exe"), "%CDROM%\\Setup\\a.exe");
    EXPECT_EQ(vars.ContractPathVars("D:\\other\\a.exe"), "D:\\other\\a.exe");
}

TEST_F(PathVariablesTest, ContractOnCdromStartGivesDriveApp) {
    StartedFromCdrom();
    EXPECT_EQ(vars.ContractPathVars("E:\\Setup\\a.exe"), "%DRIVEAPP%\\Setup\\a.exe");
    EXPECT_EQ(vars.ContractPathVars("F:\\Setup\\a.exe"), "F:\\Setup\\a.exe");
}

TEST_F(PathVariablesTest, ContractMatchesWholeFolderNamesOnly) {
    FixedDiskWithTwoCdroms();
    // "admin" inside "administrator" and "C:\WINDOWS" inside "C:\WINDOWS2" are other folders.
    std::string contracted = vars.ContractPathVars("D:\\administrator\\admin\\x.exe");
    EXPECT_EQ(contracted, "D:\\administrator\\%USERNAME%\\x.exe");
    EXPECT_EQ(vars.ExpandPathVars(contracted), "D:\\administrator\\admin\\x.exe");
    EXPECT_EQ(vars.ContractPathVars("D:\\sysadmin\\x.exe"), "D:\\sysadmin\\x.exe");
    EXPECT_EQ(vars.ContractPathVars("C:\\WINDOWS2\\x.exe"), "%DRIVEAPP%\\WINDOWS2\\x.exe");
    EXPECT_EQ(vars.ContractPathVars("C:\\WINDOWS"), "%WINDOWS%");
    EXPECT_EQ(vars.ContractPathVars("C:\\WINDOWS\\"), "%WINDOWS%\\");
}

TEST_F(PathVariablesTest, ContractThenExpandGivesThePathBack) {
    FixedDiskWithTwoCdroms();
    files.AddFile("E:\\Disc\\setup.exe");
    for (std::string path : {"C:\\Users\\admin\\Desktop\\s.msi", "C:\\Program Files\\App\\x.exe",
                             "E:\\Disc\\setup.exe", "C:\\WINDOWS\\Temp\\admin.bat", "C:\\Tools\\adminx\\y"}) {
        EXPECT_EQ(vars.ExpandPathVars(vars.ContractPathVars(path)), path) << path;
    }
}

TEST_F(PathVariablesTest, EmptyUserNameIsNeverContracted) {
    system.userName = "";
    FixedDiskWithTwoCdroms();
    EXPECT_EQ(vars.ContractPathVars("D:\\x\\y"), "D:\\x\\y");
    EXPECT_EQ(vars.ContractPathVars("C:\\x"), "%DRIVEAPP%\\x");
}

}  // namespace
}  // namespace velmora
