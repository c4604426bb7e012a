#include "platform/doubles/Fakes.h"
#include "tests/contract/InstanceLockContract.h"

namespace velmora {
namespace {

struct FakeInstanceLockEnv {
    std::unique_ptr<InstanceLock> Make() { return std::make_unique<FakeInstanceLock>(names); }
    std::string Name() { return "Velmora"; }
    std::set<std::string> names;  // what the "system" holds, shared by every lock made here
};

INSTANTIATE_TYPED_TEST_SUITE_P(Fake, InstanceLockContract, FakeInstanceLockEnv);

}  // namespace
}  // namespace velmora
