#include "platform/doubles/MemoryFileSystem.h"
#include "tests/contract/FileSystemContract.h"

namespace velmora {
namespace {

struct MemoryFileSystemEnv {
    MemoryFileSystemEnv() { files.AddFolder(Folder()); }
    FileSystem& Files() { return files; }
    std::string Folder() { return "D:\\Work\\Contract"; }
    void MakeReadOnly(const std::string& path) { files.SetReadOnly(path); }
    void Lock(const std::string& path) {
        files.SetLocked(path);
        locked.push_back(path);
    }
    void UnlockAll() {
        for (auto& path : locked)
            files.SetLocked(path, false);
        locked.clear();
    }

    MemoryFileSystem files;
    std::vector<std::string> locked;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, FileSystemContract, MemoryFileSystemEnv);

}  // namespace
}  // namespace velmora
