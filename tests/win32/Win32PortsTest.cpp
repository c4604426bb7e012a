// The Win32 implementations of the ports against the cases their doubles pass too (tests/unit), and what only
// the real system shows.
#include <memory>
#include <vector>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Codec.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32InstanceLock.h"
#include "platform/win32/Win32ProfileFile.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32RegistrySettingsStore.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32SystemInfo.h"
#include "tests/contract/CodecContract.h"
#include "tests/contract/FileSystemContract.h"
#include "tests/contract/InstanceLockContract.h"
#include "tests/contract/ProfileFileContract.h"
#include "tests/contract/RegistryContract.h"
#include "tests/contract/SettingsStoreContract.h"
#include "tests/contract/ShellContract.h"
#include "tests/contract/SystemInfoContract.h"
#include "tests/win32/TempFolder.h"
#include "tests/win32/WindowTools.h"

namespace velmora {
namespace {

struct Win32FileSystemEnv {
    FileSystem& Files() { return files; }
    std::string Folder() { return folder.Path(); }
    void MakeReadOnly(const std::string& path) { velmora::MakeReadOnly(path); }
    void Lock(const std::string& path) {
        locks.emplace_back(CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(locks.back().valid());
    }
    void UnlockAll() { locks.clear(); }

    TempFolder folder;
    Win32FileSystem files;
    std::vector<unique_hfile> locks;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, FileSystemContract, Win32FileSystemEnv);

struct Win32ProfileEnv : Win32FileSystemEnv {
    ProfileFile& Profile() { return profile; }
    Win32ProfileFile profile;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, ProfileFileContract, Win32ProfileEnv);

class Win32ProfileFileTest : public ::testing::Test, protected Win32ProfileEnv {};

// A new file starts in plain text: ProfileFileContract.CreatesANewFileWithOneSectionInWritingOrder.
TEST_F(Win32ProfileFileTest, KeepsAUnicodeFileUnicode) {
    // A language file saved as UTF-16LE with its byte-order mark.
    std::wstring text = L"\xFEFF[Main]\r\nCaption=\x041F\x0443\x0441\x043A\r\n";
    std::string lng = folder.Path() + "\\Russian.lng";
    ASSERT_TRUE(files.ReplaceFile(
        lng, std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t))));
    EXPECT_EQ("Пуск", profile.GetString(lng, "Main", "Caption", "", 100));
    ASSERT_TRUE(profile.WriteString(lng, "Main", "Title", "Сценарии"));
    EXPECT_EQ("Сценарии", profile.GetString(lng, "Main", "Title", "", 100));
    EXPECT_EQ("Пуск", profile.GetString(lng, "Main", "Caption", "", 100));
    EXPECT_EQ("\xFF\xFE", files.ReadAll(lng).value_or("").substr(0, 2));
}

TEST_F(Win32ProfileFileTest, ABareFileNameMeansTheCurrentFolder) {
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(folder.WidePath().c_str()));
    const bool written = profile.WriteString("bare.ini", "General", "SpeedInstall", "1");
    const std::string read = profile.GetString("bare.ini", "General", "SpeedInstall", "", 10);
    SetCurrentDirectoryW(previous);
    EXPECT_TRUE(written);
    EXPECT_EQ("1", read);
    EXPECT_TRUE(files.Exists(folder.Path() + "\\bare.ini"));
}

// A throwaway key of the current user, deleted with everything below it when the test ends.
struct ThrowawayKey {
    ThrowawayKey() : path("Software\\VelmoraContractTest\\" + UniqueName("run-")) {}
    ~ThrowawayKey() {
        RegDeleteTreeW(HKEY_CURRENT_USER, Utf8ToWide(path).c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\VelmoraContractTest");  // only when nothing else is left
    }
    void PutDword(const std::string& subkey, const std::string& name) {
        const DWORD number = 1;
        ASSERT_EQ(ERROR_SUCCESS,
                  RegSetKeyValueW(HKEY_CURRENT_USER, Utf8ToWide(subkey).c_str(), Utf8ToWide(name).c_str(),
                                  REG_DWORD, &number, sizeof number));
    }
    std::string path;
};

struct Win32RegistryEnv {
    Registry& Reg() { return registry; }
    std::string Key() { return key.path; }
    void PutNonString(const std::string& subkey, const std::string& name) { key.PutDword(subkey, name); }
    ThrowawayKey key;
    Win32Registry registry;
};

struct Win32SettingsEnv {
    SettingsStore& Store() { return store; }
    void PutNonString(const std::string& section, const std::string& name) {
        key.PutDword(key.path + "\\" + section, name);
    }
    ThrowawayKey key;
    Win32RegistrySettingsStore store{key.path};
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, RegistryContract, Win32RegistryEnv);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, SettingsStoreContract, Win32SettingsEnv);

TEST(Win32Registry, RootsReachTheirHives) {
    Win32Registry registry;
    EXPECT_EQ("Application", registry.GetString(RegistryRoot::ClassesRoot, "exefile", ""));
    std::string programFiles = registry.GetString(
        RegistryRoot::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir");
    EXPECT_EQ(":\\", programFiles.substr(1, 2));
}

// Each section is a key below the base; another program may have written a value without its terminating
// NUL, or with an odd number of bytes.
TEST(Win32RegistrySettingsStore, ReadsADataBlockWithoutTerminatorOrWithAnOddLength) {
    ThrowawayKey key;
    const std::wstring section = Utf8ToWide(key.path + "\\Path");
    const wchar_t raw[] = L"C:\\abc";
    RegSetKeyValueW(HKEY_CURRENT_USER, section.c_str(), L"Exact", REG_SZ, raw, 6 * sizeof(wchar_t));
    RegSetKeyValueW(HKEY_CURRENT_USER, section.c_str(), L"Odd", REG_SZ, raw, 6 * sizeof(wchar_t) + 1);
    Win32RegistrySettingsStore store(key.path);
    EXPECT_EQ("C:\\abc", store.Get("Path", "Exact", "-"));
    EXPECT_EQ("C:\\abc", store.Get("Path", "Odd", "-"));
}

struct Win32SystemEnv {
    SystemInfo& System() { return system; }
    Clock& Time() { return clock; }
    FileSystem& Files() { return files; }
    Win32SystemInfo system;
    Win32Clock clock;
    Win32FileSystem files;
};

struct Win32CodecEnv {
    Codec& Subject() { return codec; }
    int CodePage() { return static_cast<int>(GetACP()); }
    Win32Codec codec;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, SystemInfoContract, Win32SystemEnv);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, CodecContract, Win32CodecEnv);

TEST(Win32SystemInfo, ArgumentsLoseTheProgramPathQuotedOrNot) {
    EXPECT_EQ(
        L"/add \"D:\\My Packages\"",
        ArgumentsAfterProgramPath(L"\"C:\\Program Files\\Velmora\\velmora.exe\"  /add \"D:\\My Packages\" "));
    EXPECT_EQ(L"/inst x.scn", ArgumentsAfterProgramPath(L"C:\\Tools\\velmora.exe\t/inst x.scn"));
    EXPECT_EQ(L"/nostat", ArgumentsAfterProgramPath(L"\"velmora\"/nostat"));
    EXPECT_EQ(L"", ArgumentsAfterProgramPath(L"C:\\Tools\\velmora.exe"));
    EXPECT_EQ(L"", ArgumentsAfterProgramPath(L"\"C:\\Program Files\\velmora.exe\""));
    EXPECT_EQ(L"", ArgumentsAfterProgramPath(L"\"C:\\unclosed quote /inst x.scn"));
    EXPECT_EQ(L"", ArgumentsAfterProgramPath(L""));
}

struct Win32InstanceLockEnv {
    std::unique_ptr<InstanceLock> Make() { return std::make_unique<Win32InstanceLock>(); }
    std::string Name() { return name; }
    std::string name = UniqueName("VelmoraContract-");
};

struct Win32ShellEnv {
    Shell& Subject() { return shell; }
    Win32Shell shell;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, InstanceLockContract, Win32InstanceLockEnv);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, ShellContract, Win32ShellEnv);

// The system's command interpreter.
std::string Cmd() {
    wchar_t system[MAX_PATH];
    return WideBufferToUtf8(system, GetSystemDirectoryW(system, MAX_PATH)) + "\\cmd.exe";
}

TEST(Win32Shell, OpensWithParametersInTheWorkingFolderAndFailsOnAMissingFile) {
    TempFolder folder;
    Win32FileSystem files;
    // "cd" prints the working folder; the file lands in it only if the shell started the program there.
    ASSERT_TRUE(Win32Shell{}.Open(Cmd(), "/c cd > here.txt", folder.Path(), 0));
    std::string printed;
    EXPECT_TRUE(WaitUntil([&] {
        printed = files.ReadAll(folder.Path() + "\\here.txt").value_or("");
        return printed.find('\n') != std::string::npos;
    }));
    const std::wstring line = Utf8ToWide(printed.substr(0, printed.find_first_of("\r\n")));
    EXPECT_EQ(lstrcmpiW(folder.WidePath().c_str(), line.c_str()), 0) << printed;

    EXPECT_FALSE(Win32Shell{}.Open(folder.Path() + "\\no such setup.exe", "", folder.Path(), 0));
}

TEST(Win32Shell, StartedProcessesGiveTheirExitCodeOrAreEnded) {
    TempFolder folder;
    Win32FileSystem files;
    Win32Shell shell;
    // A program starts with its parameters in the working folder, as the shell would start it.
    const std::optional<ProcessId> quick =
        shell.Start(Cmd(), "/c cd > here.txt & exit 3010", folder.Path(), 0);
    ASSERT_TRUE(quick && *quick != 0);
    EXPECT_EQ(shell.ExitCodeOf(*quick, 20000), 3010);
    shell.Release(*quick);
    EXPECT_FALSE(shell.ExitCodeOf(*quick, 0));
    const std::string printed = files.ReadAll(folder.Path() + "\\here.txt").value_or("");
    const std::wstring line = Utf8ToWide(printed.substr(0, printed.find_first_of("\r\n")));
    EXPECT_EQ(lstrcmpiW(folder.WidePath().c_str(), line.c_str()), 0) << printed;
    // What is not a program opens with its own (here the command interpreter), which is held the same way.
    ASSERT_TRUE(files.ReplaceFile(folder.Path() + "\\setup.cmd", "@exit 7\r\n"));
    const std::optional<ProcessId> script = shell.Start(folder.Path() + "\\setup.cmd", "", folder.Path(), 0);
    ASSERT_TRUE(script && *script != 0);
    EXPECT_EQ(shell.ExitCodeOf(*script, 20000), 7);
    shell.Release(*script);

    // A process that would run for ever, in a child of its own, shares its job with that child (and with
    // the console host the system may start) and is ended with it.
    const std::optional<ProcessId> slow =
        shell.Start(Cmd(), "/c cmd /c for /l %i in (1,0,2) do rem", folder.Path(), 0);
    ASSERT_TRUE(slow && *slow != 0);
    EXPECT_FALSE(shell.ExitCodeOf(*slow, 200));
    EXPECT_TRUE(WaitUntil([&] { return shell.ProcessesOf(*slow).size() >= 2; }));
    shell.EndAll(*slow);
    EXPECT_TRUE(shell.ExitCodeOf(*slow, 5000));
    EXPECT_TRUE(WaitUntil([&] { return shell.ProcessesOf(*slow).empty(); }));
    shell.Release(*slow);

    EXPECT_FALSE(shell.Start(folder.Path() + "\\no such setup.exe", "", folder.Path(), 0));
}

}  // namespace
}  // namespace velmora
