// Every test double against the cases its port's Win32 implementation passes too (tests/win32).
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/doubles/FakeWindowSystem.h"
#include "platform/doubles/Fakes.h"
#include "platform/doubles/MemoryFileSystem.h"
#include "platform/doubles/MemoryProfileFile.h"
#include "platform/doubles/MemoryProtectedFiles.h"
#include "scenario/AnsiCodePage.h"
#include "tests/contract/CodecContract.h"
#include "tests/contract/FileSystemContract.h"
#include "tests/contract/InstanceLockContract.h"
#include "tests/contract/ProfileFileContract.h"
#include "tests/contract/ProtectedFilesContract.h"
#include "tests/contract/RegistryContract.h"
#include "tests/contract/SettingsStoreContract.h"
#include "tests/contract/ShellContract.h"
#include "tests/contract/SystemInfoContract.h"
#include "tests/contract/WindowSystemContract.h"

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

struct MemoryProtectedEnv {
    MemoryProtectedEnv() { files.AddFolder(Folder()); }
    ProtectedFiles& Vault() { return vault; }
    FileSystem& Files() { return files; }
    std::string Folder() { return "C:\\ProgramData"; }
    MemoryFileSystem files;
    MemoryProtectedFiles vault{files};
};

struct MemoryProfileEnv {
    MemoryProfileEnv() { files.AddFolder(Folder()); }
    ProfileFile& Profile() { return profile; }
    FileSystem& Files() { return files; }
    std::string Folder() { return "E:\\Velmora"; }
    void MakeReadOnly(const std::string& path) { files.SetReadOnly(path); }
    MemoryFileSystem files;
    MemoryProfileFile profile{files};
};

struct MemoryRegistryEnv {
    Registry& Reg() { return registry; }
    std::string Key() { return "Software\\VelmoraContractTest"; }
    void PutNonString(const std::string& subkey, const std::string& name) {
        registry.SetNonString(RegistryRoot::CurrentUser, subkey, name);
    }
    MemoryRegistry registry;
};

struct MemorySettingsEnv {
    SettingsStore& Store() { return store; }
    // The double keeps strings only; a value it cannot read is one it does not have.
    void PutNonString(const std::string& section, const std::string& key) {
        store.values.erase(section + "\\" + key);
    }
    MemorySettingsStore store;
};

struct FakeInstanceLockEnv {
    std::unique_ptr<InstanceLock> Make() { return std::make_unique<FakeInstanceLock>(names); }
    std::string Name() { return "Velmora"; }
    std::set<std::string> names;  // what the "system" holds, shared by every lock made here
};

struct FakeShellEnv {
    ~FakeShellEnv() { EXPECT_TRUE(shell.calls.empty()); }  // refused without asking
    Shell& Subject() { return shell; }
    FakeShell shell;
};

struct FakeSystemEnv {
    FakeSystemEnv() {
        files.AddFolder(system.programFolder);
        files.AddFolder(system.windowsFolder);
        files.AddFolder(system.tempFolder);
        files.AddFolder(system.profilesFolder);
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

struct FakeWindowWorld {
    WindowSystem& System() { return fake; }
    WindowId AddTopLevel(const std::string& className, const std::string& caption, Point origin, Size size,
                         WindowId owner = 0) {
        return Own(fake.AddTopLevel(className, caption, origin.x, origin.y, size.width, size.height, owner));
    }
    // The double keeps screen rectangles; the contract speaks of places in the parent's client area.
    WindowId AddChild(WindowId parent, const std::string& className, const std::string& caption, Point origin,
                      Size size) {
        const Point at = fake.ClientToScreen(parent, origin);
        return Own(fake.AddChild(parent, className, caption, at.x, at.y, size.width, size.height));
    }
    WindowId Own(WindowId window) {
        fake.Get(window).process = OwnProcess();
        return window;
    }
    int ScreenDpi() { return 96; }
    SystemProcessId OwnProcess() { return 4242; }
    void SetShown(WindowId window, bool visible, bool enabled) {
        fake.Get(window).visible = visible;
        fake.Get(window).enabled = enabled;
    }
    bool IsTopMost(WindowId window) {
        for (auto it = fake.topMostCalls.rbegin(); it != fake.topMostCalls.rend(); ++it) {
            if (it->window == window)
                return it->topMost;
        }
        return false;
    }

    FakeWindowSystem fake;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, FileSystemContract, MemoryFileSystemEnv);
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, ProfileFileContract, MemoryProfileEnv);
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, ProtectedFilesContract, MemoryProtectedEnv);
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, RegistryContract, MemoryRegistryEnv);
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, SettingsStoreContract, MemorySettingsEnv);
INSTANTIATE_TYPED_TEST_SUITE_P(Fake, InstanceLockContract, FakeInstanceLockEnv);
INSTANTIATE_TYPED_TEST_SUITE_P(Fake, ShellContract, FakeShellEnv);
INSTANTIATE_TYPED_TEST_SUITE_P(Fake, SystemInfoContract, FakeSystemEnv);
using TableCodecs = ::testing::Types<TableCodecEnv<1251>, TableCodecEnv<1252>>;
INSTANTIATE_TYPED_TEST_SUITE_P(Table, CodecContract, TableCodecs);

}  // namespace

namespace contract {
INSTANTIATE_TYPED_TEST_SUITE_P(Fake, WindowSystemContract, FakeWindowWorld);
}  // namespace contract
}  // namespace velmora
