#pragma once
// Cases that the shell double and the system shell must both pass. An environment supplies:
//   Shell& Subject();
#include <gtest/gtest.h>

#include "platform/Shell.h"

namespace velmora {

template <typename Env>
class ShellContract : public ::testing::Test {
  protected:
    Env env;
};

TYPED_TEST_SUITE_P(ShellContract);

TYPED_TEST_P(ShellContract, AnEmptyFileIsNeverOpened) {
    EXPECT_FALSE(this->env.Subject().Open("", "/S", "C:\\", 0));
    EXPECT_FALSE(this->env.Subject().Open("", "", "", 0));
}

TYPED_TEST_P(ShellContract, AnEmptyFileIsNeverStarted) {
    EXPECT_FALSE(this->env.Subject().Start("", "/S", "C:\\", 0));
}

TYPED_TEST_P(ShellContract, AProcessNotHeldHasNoExitCodeAndEndsNothing) {
    Shell& shell = this->env.Subject();
    for (ProcessId id : {ProcessId{0}, ProcessId{4711}}) {
        EXPECT_FALSE(shell.ExitCodeOf(id, 0));
        shell.EndAll(id);
        EXPECT_TRUE(shell.ProcessesOf(id).empty());
        shell.Release(id);
        EXPECT_FALSE(shell.ExitCodeOf(id, 0));
    }
}

REGISTER_TYPED_TEST_SUITE_P(ShellContract, AnEmptyFileIsNeverOpened, AnEmptyFileIsNeverStarted,
                            AProcessNotHeldHasNoExitCodeAndEndsNothing);

}  // namespace velmora
