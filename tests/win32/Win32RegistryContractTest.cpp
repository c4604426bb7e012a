#include "platform/win32/WideText.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32RegistrySettingsStore.h"
#include "tests/contract/RegistryContract.h"
#include "tests/contract/SettingsStoreContract.h"
#include "tests/win32/TempFolder.h"

namespace velmora {
namespace {

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

}  // namespace
}  // namespace velmora
