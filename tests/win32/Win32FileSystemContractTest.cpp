#include <vector>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32FileSystem.h"
#include "tests/contract/FileSystemContract.h"
#include "tests/win32/TempFolder.h"

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

}  // namespace
}  // namespace velmora
