#include "base/PathVariables.h"

#include <gtest/gtest.h>

#include <tuple>

#include "platform/doubles/Fakes.h"
#include "platform/doubles/MemoryFileSystem.h"

namespace velmora {
namespace {

const char* kCurrentVersion = "Software\\Microsoft\\Windows\\CurrentVersion";

class PathVariablesTest : public ::testing::Test {
  protected:
    PathVariablesTest() {
        // A 64-bit machine: its registry's 64-bit view names both Program Files folders.
        registry.SetString(RegistryRoot::LocalMachine, kCurrentVersion, "ProgramFilesDir",
                           "C:\\Program Files");
        registry.SetString(RegistryRoot::LocalMachine, kCurrentVersion, "ProgramFilesDir (x86)",
                           "C:\\Program Files (x86)");
        system.tempFolder = "C:\\Users\\admin\\AppData\\Local\\Temp\\";
        using enum DriveType;
        system.driveTypes = {{"A:\\", Removable}, {"C:\\", Fixed}, {"E:\\", CdRom}, {"F:\\", CdRom}};
    }
    // A machine with the program on fixed disk C: and CD-ROM drives E: and F:.
    void FixedDiskWithTwoCdroms() {
        system.programFolder = "C:\\Tools\\Velmora";
        system.driveRoots = {"A:\\", "C:\\", "E:\\", "F:\\"};
        vars.Init(system, registry);
    }
    void StartedFromCdrom() {
        system.programFolder = "E:\\";
        system.driveRoots = {"C:\\", "E:\\", "F:\\"};
        vars.Init(system, registry);
    }

    MemoryFileSystem files;
    FakeSystemInfo system;
    MemoryRegistry registry;
    PathVariables vars{files};
};

TEST_F(PathVariablesTest, ExpandReplacesTheFirstOccurrenceOfEachNameAndKeepsOneWithoutAValue) {
    FixedDiskWithTwoCdroms();
    EXPECT_EQ(vars.ExpandPathVars("%windows%\\system32"), "C:\\WINDOWS\\system32");
    EXPECT_EQ(vars.ExpandPathVars("%TEMP%\\%TEMP%\\x"), "C:\\Users\\admin\\AppData\\Local\\Temp\\%TEMP%\\x");
    EXPECT_EQ(vars.ExpandPathVars("%DRIVEAPP%\\Users\\%USERNAME%\\x"), "C:\\Users\\admin\\x");
    // The computer's name also inside a file name, and it is never put back in.
    EXPECT_EQ(vars.ExpandPathVars("\\\\srv\\logs\\%computername%.txt"), "\\\\srv\\logs\\PC-01.txt");
    EXPECT_EQ(vars.ContractPathVars("\\\\srv\\setups\\PC-01\\a.exe"), "\\\\srv\\setups\\PC-01\\a.exe");

    // Started from a network share, with facts the system would not give.
    system.programFolder = "\\\\server\\share\\velmora";
    system.userName.reset();
    system.computerName.reset();
    for (const char* name : {"ProgramFilesDir", "ProgramFilesDir (x86)"})
        registry.SetNonString(RegistryRoot::LocalMachine, kCurrentVersion, name);
    vars.Init(system, registry);
    // Not found rather than taken relative to the folder the program was started in.
    EXPECT_EQ(vars.ExpandPathVars("%PROGRAMFILES%\\X"), "%PROGRAMFILES%\\X");
    EXPECT_EQ(vars.ExpandPathVars("%DRIVEAPP%\\%USERNAME%\\y"), "%DRIVEAPP%\\%USERNAME%\\y");
    EXPECT_EQ(vars.ExpandPathVars("%COMPUTERNAME%.txt"), "%COMPUTERNAME%.txt");
}

TEST_F(PathVariablesTest, CdromIsSearchedOnEveryCdromDriveInOrderUnlessStartedFromOne) {
    FixedDiskWithTwoCdroms();
    EXPECT_EQ(vars.ExpandPathVars("%CDROM%\\Setup\\a.exe"), "%CDROM%\\Setup\\a.exe");
    files.AddFile("F:\\Setup\\a.exe");
    EXPECT_EQ(vars.ExpandPathVars("%cdrom%\\Setup\\a.exe"), "F:\\Setup\\a.exe");
    files.AddFile("E:\\Setup\\a.exe");
    EXPECT_EQ(vars.ExpandPathVars("%CDROM%\\Setup\\a.exe"), "E:\\Setup\\a.exe");
    EXPECT_EQ(vars.ExpandPathVars("X:\\%CDROM%\\Setup\\a.exe"),
              "X:\\%CDROM%\\Setup\\a.exe");  // only at the start

    StartedFromCdrom();
    EXPECT_EQ(vars.ExpandPathVars("%CDROM%\\Folder SCN"), "E:\\Folder SCN");
    EXPECT_EQ(vars.ContractPathVars("F:\\Setup\\a.exe"), "F:\\Setup\\a.exe");

    system.driveRoots = {"E:\\", "", "F:\\"};  // the walk ends at the first empty entry
    system.programFolder = "C:\\Tools";
    vars.Init(system, registry);
    EXPECT_EQ(vars.cdromDrives, (std::vector<std::string>{"E:\\"}));
}

TEST_F(PathVariablesTest, ContractFollowsTheFixedOrderAndMatchesWholeFolderNamesOnly) {
    FixedDiskWithTwoCdroms();
    for (const auto& [path, contracted] : std::vector<std::pair<std::string, std::string>>{
             {"C:\\Program Files (x86)\\Setup\\a.exe", "%PROGRAMFILES%\\Setup\\a.exe"},
             {"C:\\Program Files\\Setup\\a.exe", "%PROGRAMFILES64%\\Setup\\a.exe"},
             {"c:\\windows\\system32\\x.exe", "%WINDOWS%\\system32\\x.exe"},
             {"E:\\Setup\\a.exe", "%CDROM%\\Setup\\a.exe"},
             {"D:\\other\\a.exe", "D:\\other\\a.exe"},
             // "C:\WINDOWS" inside "C:\WINDOWS2" is another folder.
             {"C:\\WINDOWS2\\x.exe", "C:\\WINDOWS2\\x.exe"},
             {"C:\\WINDOWS", "%WINDOWS%"}})
        EXPECT_EQ(vars.ContractPathVars(path), contracted) << path;
    files.AddFile("E:\\Disc\\setup.exe");
    for (std::string path :
         {"C:\\Users\\admin\\Desktop\\s.msi", "E:\\Disc\\setup.exe", "C:\\WINDOWS\\Temp\\admin.bat",
          "C:\\Program Files (x86)\\a.exe", "C:\\Program Files\\a.exe", "C:\\Program Files (x86)",
          "C:\\Tools\\adminx\\y", "D:\\administrator\\admin\\x.exe"})
        EXPECT_EQ(vars.ExpandPathVars(vars.ContractPathVars(path)), path) << path;

    system.userName = "";  // an empty user name is never contracted
    // 32-bit Windows has one Program Files folder, stored as older programs stored it.
    registry.SetNonString(RegistryRoot::LocalMachine, kCurrentVersion, "ProgramFilesDir (x86)");
    vars.Init(system, registry);
    EXPECT_EQ(vars.ContractPathVars("D:\\x\\y"), "D:\\x\\y");
    EXPECT_EQ(vars.ContractPathVars("C:\\Program Files\\a.exe"), "%PROGRAMFILES%\\a.exe");
    EXPECT_EQ(vars.ExpandPathVars("%PROGRAMFILES64%\\a.exe"), "C:\\Program Files\\a.exe");
}

// %DRIVEAPP% stands for the disc the program runs from, %USERNAME% only for the profile folder's own name;
// the temporary folder, longer, goes in before the user's name is looked for.
TEST_F(PathVariablesTest, TheProgramsDriveAndTheUsersNameAreContractedOnlyWhereTheyStandForThem) {
    system.userName = "setup";
    system.tempFolder = "C:\\Users\\setup\\AppData\\Local\\Temp\\";
    system.driveTypes = {
        {"C:\\", DriveType::Fixed}, {"E:\\", DriveType::CdRom}, {"F:\\", DriveType::Removable}};
    system.driveRoots = {"C:\\", "E:\\", "F:\\"};
    // Where the program runs, the path and its stored form.
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"C:\\Tools", "C:\\Recorded Finch", "C:\\Recorded Finch"},
        {"E:\\", "E:\\Recorded Finch", "%DRIVEAPP%\\Recorded Finch"},
        {"F:\\Velmora", "F:\\Setups\\a.exe", "%DRIVEAPP%\\Setups\\a.exe"},
        {"\\\\server\\velmora", "C:\\Recorded Finch", "C:\\Recorded Finch"},
        {"C:\\Tools", "C:\\Users\\setup\\Desktop\\q.msi", "C:\\Users\\%USERNAME%\\Desktop\\q.msi"},
        {"C:\\Tools", "c:\\users\\SETUP", "c:\\users\\%USERNAME%"},
        {"C:\\Tools", "\\\\server\\setup\\quill.exe", "\\\\server\\setup\\quill.exe"},
        {"C:\\Tools", "C:\\Users\\Public\\setup\\x", "C:\\Users\\Public\\setup\\x"},
        {"C:\\Tools", "C:\\Users\\setups\\x", "C:\\Users\\setups\\x"},
        {"C:\\Tools", "C:\\Users\\setup\\AppData\\Local\\Temp\\q.exe", "%TEMP%\\q.exe"},
    };
    for (const auto& [programFolder, path, stored] : cases) {
        system.programFolder = programFolder;
        vars.Init(system, registry);
        EXPECT_EQ(vars.ContractPathVars(path), stored) << programFolder << " " << path;
    }
    // Stored files go on meaning what they meant, played by another user.
    system.userName = "jdoe";
    vars.Init(system, registry);
    EXPECT_EQ(vars.ExpandPathVars("\\\\server\\%USERNAME%\\quill.exe"), "\\\\server\\jdoe\\quill.exe");
    EXPECT_EQ(vars.ExpandPathVars("%DRIVEAPP%\\x"), "C:\\x");
}

}  // namespace
}  // namespace velmora
