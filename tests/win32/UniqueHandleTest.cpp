#include "platform/win32/UniqueHandle.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace velmora {
namespace {

static_assert(!std::is_copy_constructible_v<unique_handle> && !std::is_copy_assignable_v<unique_handle>);
static_assert(std::is_nothrow_move_constructible_v<unique_hkey>);

HANDLE NewEvent() {
    return CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

bool IsOpen(HANDLE handle) {
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != FALSE;
}

TEST(UniqueHandle, ClosesOnResetAndDestructionButNotAfterRelease) {
    HANDLE raw = NewEvent();
    {
        unique_handle owner(raw);
        EXPECT_EQ(raw, owner.get());
    }
    EXPECT_FALSE(IsOpen(raw));

    unique_handle kept(NewEvent());
    HANDLE released = kept.release();
    EXPECT_FALSE(kept);
    EXPECT_TRUE(IsOpen(released));
    CloseHandle(released);

    unique_handle replaced(NewEvent());
    HANDLE first = replaced.get();
    replaced.reset(NewEvent());
    EXPECT_FALSE(IsOpen(first));
    EXPECT_TRUE(IsOpen(replaced.get()));
}

TEST(UniqueHandle, MoveTransfersOwnershipOnce) {
    unique_handle a(NewEvent());
    HANDLE raw = a.get();
    unique_handle b(std::move(a));
    EXPECT_FALSE(a.valid());
    unique_handle c;
    c = std::move(b);
    EXPECT_EQ(raw, c.get());
    EXPECT_TRUE(IsOpen(raw));
    c = unique_handle{};
    EXPECT_FALSE(IsOpen(raw));
}

}  // namespace
}  // namespace velmora
