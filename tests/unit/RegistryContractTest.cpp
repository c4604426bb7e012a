#include "platform/doubles/Fakes.h"
#include "tests/contract/RegistryContract.h"
#include "tests/contract/SettingsStoreContract.h"

namespace velmora {
namespace {

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

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, RegistryContract, MemoryRegistryEnv);
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, SettingsStoreContract, MemorySettingsEnv);

}  // namespace
}  // namespace velmora
