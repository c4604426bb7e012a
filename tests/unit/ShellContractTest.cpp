#include "platform/doubles/Fakes.h"
#include "tests/contract/ShellContract.h"

namespace velmora {
namespace {

struct FakeShellEnv {
    ~FakeShellEnv() { EXPECT_TRUE(shell.calls.empty()); }  // refused without asking
    Shell& Subject() { return shell; }
    FakeShell shell;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Fake, ShellContract, FakeShellEnv);

}  // namespace
}  // namespace velmora
