#include "platform/doubles/Fakes.h"
#include "tests/contract/SessionContract.h"

namespace velmora {
namespace {

struct FakeSessionEnv {
    LogonTasks& Tasks() { return tasks; }
    SystemInfo& System() { return system; }
    DesktopInfo& Desktop() { return desktop; }
    FakeLogonTasks tasks;
    FakeSystemInfo system;
    FakeDesktopInfo desktop;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Fake, SessionContract, FakeSessionEnv);

}  // namespace
}  // namespace velmora
