#include "platform/doubles/Fakes.h"
#include "platform/doubles/MemoryFileSystem.h"
#include "scenario/AnsiCodePage.h"
#include "tests/contract/CodecContract.h"
#include "tests/contract/SystemInfoContract.h"

namespace velmora {
namespace {

struct FakeSystemEnv {
    FakeSystemEnv() {
        files.AddFolder(system.programFolder);
        files.AddFolder(system.windowsFolder);
        files.AddFolder(system.tempFolder);
    }
    SystemInfo& System() { return system; }
    Clock& Time() { return clock; }
    FileSystem& Files() { return files; }
    FakeSystemInfo system;
    FakeClock clock;
    MemoryFileSystem files;
};

template <int CodePage_>
struct TableCodecEnv {
    Codec& Subject() { return *codec; }
    int CodePage() { return CodePage_; }
    std::unique_ptr<SingleByteCodec> codec = SingleByteCodec::Create(CodePage_);
};

INSTANTIATE_TYPED_TEST_SUITE_P(Fake, SystemInfoContract, FakeSystemEnv);
using TableCodecs = ::testing::Types<TableCodecEnv<1251>, TableCodecEnv<1252>>;
INSTANTIATE_TYPED_TEST_SUITE_P(Table, CodecContract, TableCodecs);

}  // namespace
}  // namespace velmora
