#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
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
        unique_hkey key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, Utf8ToWide(subkey).c_str(), 0, nullptr, 0,
                                                 KEY_SET_VALUE, nullptr, key.put(), nullptr));
        DWORD number = 1;
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key.get(), Utf8ToWide(name).c_str(), 0, REG_DWORD,
                                                reinterpret_cast<const BYTE*>(&number), sizeof number));
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

TEST(Win32RegistrySettingsStore, EachSectionIsAKeyBelowTheBaseHoldingStringValues) {
    ThrowawayKey key;
    Win32RegistrySettingsStore store(key.path);
    store.Save("Install", "Speed", "1");
    unique_hkey section;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, Utf8ToWide(key.path + "\\Install").c_str(), 0,
                                           KEY_QUERY_VALUE, section.put()));
    DWORD type = 0;
    wchar_t data[8] = {};
    DWORD bytes = sizeof data;
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExW(section.get(), L"Speed", nullptr, &type,
                                              reinterpret_cast<BYTE*>(data), &bytes));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(std::wstring(L"1"), data);
    EXPECT_EQ(2 * sizeof(wchar_t), bytes);  // the text and its terminating NUL
}

TEST(Win32RegistrySettingsStore, ReadsADataBlockWithoutTerminatorOrWithAnOddLength) {
    ThrowawayKey key;
    unique_hkey section;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, Utf8ToWide(key.path + "\\Path").c_str(), 0,
                                             nullptr, 0, KEY_SET_VALUE, nullptr, section.put(), nullptr));
    const wchar_t raw[] = L"C:\\abc";
    RegSetValueExW(section.get(), L"Exact", 0, REG_SZ, reinterpret_cast<const BYTE*>(raw),
                   6 * sizeof(wchar_t));
    RegSetValueExW(section.get(), L"Odd", 0, REG_SZ, reinterpret_cast<const BYTE*>(raw),
                   6 * sizeof(wchar_t) + 1);
    Win32RegistrySettingsStore store(key.path);
    EXPECT_EQ("C:\\abc", store.Get("Path", "Exact", "-"));
    EXPECT_EQ("C:\\abc", store.Get("Path", "Odd", "-"));
}

}  // namespace
}  // namespace velmora
