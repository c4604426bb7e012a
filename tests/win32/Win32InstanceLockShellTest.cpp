#include <algorithm>
#include <cwctype>
#include <memory>

#include "platform/win32/WideText.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32InstanceLock.h"
#include "platform/win32/Win32Shell.h"
#include "tests/contract/InstanceLockContract.h"
#include "tests/contract/ShellContract.h"
#include "tests/win32/TempFolder.h"

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

TEST(Win32Shell, OpensWithParametersInTheWorkingFolder) {
    TempFolder folder;
    Win32FileSystem files;
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    std::string cmd = WideBufferToUtf8(system, MAX_PATH) + "\\cmd.exe";
    // "cd" prints the working folder; the file lands in it only if the shell started the program there.
    ASSERT_TRUE(Win32Shell{}.Open(cmd, "/c cd > here.txt", folder.Path(), 0));
    std::string marker = folder.Path() + "\\here.txt";
    std::optional<std::string> printed;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 20000; Sleep(50)) {
        printed = files.ReadAll(marker);
        if (printed && printed->find('\n') != std::string::npos)
            break;
    }
    ASSERT_TRUE(printed.has_value());
    std::string line = printed->substr(0, printed->find_first_of("\r\n"));
    std::wstring expected = Utf8ToWide(folder.Path());
    std::wstring got = Utf8ToWide(line);
    auto lower = [](std::wstring s) {
        std::transform(s.begin(), s.end(), s.begin(), [](wchar_t c) { return std::towlower(c); });
        return s;
    };
    EXPECT_EQ(lower(expected), lower(got));
}

TEST(Win32Shell, AMissingFileIsAFailure) {
    TempFolder folder;
    EXPECT_FALSE(Win32Shell{}.Open(folder.Path() + "\\no such setup.exe", "", folder.Path(), 0));
}

}  // namespace
}  // namespace velmora
