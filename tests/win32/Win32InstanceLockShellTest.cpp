#include <memory>

#include "platform/win32/WideText.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32InstanceLock.h"
#include "platform/win32/Win32Shell.h"
#include "tests/contract/InstanceLockContract.h"
#include "tests/contract/ShellContract.h"
#include "tests/win32/TempFolder.h"
#include "tests/win32/WindowTools.h"

namespace velmora {
namespace {

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

TEST(Win32Shell, OpensWithParametersInTheWorkingFolderAndFailsOnAMissingFile) {
    TempFolder folder;
    Win32FileSystem files;
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    // "cd" prints the working folder; the file lands in it only if the shell started the program there.
    ASSERT_TRUE(Win32Shell{}.Open(WideBufferToUtf8(system, MAX_PATH) + "\\cmd.exe", "/c cd > here.txt",
                                  folder.Path(), 0));
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
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    const std::string cmd = WideBufferToUtf8(system, MAX_PATH) + "\\cmd.exe";
    Win32Shell shell;
    const std::optional<ProcessId> quick = shell.Start(cmd, "/c exit 3010", folder.Path(), 0);
    ASSERT_TRUE(quick && *quick != 0);
    EXPECT_EQ(shell.ExitCodeOf(*quick, 20000), 3010);
    shell.Release(*quick);
    EXPECT_FALSE(shell.ExitCodeOf(*quick, 0));

    // A process that would run for ever, in a child of its own, shares its job with that child (and with
    // the console host the system may start) and is ended with it.
    const std::optional<ProcessId> slow =
        shell.Start(cmd, "/c cmd /c for /l %i in (1,0,2) do rem", folder.Path(), 0);
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
