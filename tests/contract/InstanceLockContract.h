#pragma once
// Cases that the instance-lock double and the system's named semaphore must both pass. An environment
// supplies:
//   std::unique_ptr<InstanceLock> Make();   a lock as another process would have it
//   std::string Name();                     a name no one else uses
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/InstanceLock.h"

namespace velmora {

template <typename Env>
class InstanceLockContract : public ::testing::Test {
  protected:
    Env env;
};

TYPED_TEST_SUITE_P(InstanceLockContract);

TYPED_TEST_P(InstanceLockContract, ASecondHolderIsRefusedUntilTheFirstReleases) {
    auto first = this->env.Make();
    auto second = this->env.Make();
    std::string name = this->env.Name();
    ASSERT_TRUE(first->TryAcquire(name));
    EXPECT_FALSE(second->TryAcquire(name));
    EXPECT_FALSE(second->TryAcquire(name));
    first->Release();
    EXPECT_TRUE(second->TryAcquire(name));
    EXPECT_FALSE(first->TryAcquire(name));
    second->Release();
}

TYPED_TEST_P(InstanceLockContract, NamesAreIndependentAndOneLockHoldsOne) {
    auto first = this->env.Make();
    auto second = this->env.Make();
    std::string a = this->env.Name() + "-a";
    std::string b = this->env.Name() + "-b";
    ASSERT_TRUE(first->TryAcquire(a));
    EXPECT_TRUE(second->TryAcquire(b));
    // Asking again while holding must not drop what is held.
    EXPECT_FALSE(first->TryAcquire(a));
    EXPECT_FALSE(this->env.Make()->TryAcquire(a));
    EXPECT_FALSE(this->env.Make()->TryAcquire(""));
}

TYPED_TEST_P(InstanceLockContract, ReleaseIsHarmlessAndAnEndedHolderLetsGo) {
    std::string name = this->env.Name();
    auto idle = this->env.Make();
    idle->Release();
    {
        auto holder = this->env.Make();
        ASSERT_TRUE(holder->TryAcquire(name));
        idle->Release();  // releasing what another holds does nothing
        EXPECT_FALSE(this->env.Make()->TryAcquire(name));
    }
    auto next = this->env.Make();
    EXPECT_TRUE(next->TryAcquire(name));
    next->Release();
    next->Release();
}

REGISTER_TYPED_TEST_SUITE_P(InstanceLockContract, ASecondHolderIsRefusedUntilTheFirstReleases,
                            NamesAreIndependentAndOneLockHoldsOne, ReleaseIsHarmlessAndAnEndedHolderLetsGo);

}  // namespace velmora
