// The ports of a run that restarts Windows: the logon tasks, the desktop facts and the protected files.
#include "platform/win32/WideText.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32DesktopInfo.h"

#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32LogonTasks.h"
#include "platform/win32/Win32ProtectedFiles.h"
#include "platform/win32/Win32SystemInfo.h"
#include "tests/contract/ProtectedFilesContract.h"
#include "tests/contract/SessionContract.h"
#include "tests/win32/TempFolder.h"
#include "tests/win32/WindowTools.h"

namespace velmora {
namespace {

struct Win32SessionEnv {
    Win32SessionEnv() { static_cast<void>(StartTaskScheduler()); }
    LogonTasks& Tasks() { return tasks; }
    SystemInfo& System() { return system; }
    DesktopInfo& Desktop() { return desktop; }
    Win32LogonTasks tasks;
    Win32SystemInfo system;
    Win32DesktopInfo desktop;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, SessionContract, Win32SessionEnv);

struct Win32ProtectedEnv {
    ProtectedFiles& Vault() { return vault; }
    FileSystem& Files() { return files; }
    std::string Folder() { return folder.Path(); }
    TempFolder folder;
    Win32ProtectedFiles vault;
    Win32FileSystem files;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, ProtectedFilesContract, Win32ProtectedEnv);

TEST(Win32ProtectedFilesTest, FingerprintsAreTheSystemsSha256) {
    Win32ProtectedFiles vault;
    EXPECT_EQ(vault.Sha256("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(vault.Sha256(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    TempFolder folder;
    const std::string big(3 << 20, 'x');  // read through the handle in more than one piece
    ASSERT_TRUE(Win32FileSystem{}.ReplaceFile(folder.Path() + "\\big.bin", big));
    EXPECT_EQ(vault.Hold(folder.Path() + "\\big.bin")->Sha256(), vault.Sha256(big));
    EXPECT_FALSE(vault.CommonDataFolder().empty());
}

}  // namespace
}  // namespace velmora
