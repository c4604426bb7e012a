#include "platform/doubles/MemoryProfileFile.h"
#include "tests/contract/ProfileFileContract.h"

namespace velmora {
namespace {

struct MemoryProfileEnv {
    MemoryProfileEnv() { files.AddFolder(Folder()); }
    ProfileFile& Profile() { return profile; }
    FileSystem& Files() { return files; }
    std::string Folder() { return "E:\\Velmora"; }
    void MakeReadOnly(const std::string& path) { files.SetReadOnly(path); }
    MemoryFileSystem files;
    MemoryProfileFile profile{files};
};

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, ProfileFileContract, MemoryProfileEnv);

}  // namespace
}  // namespace velmora
