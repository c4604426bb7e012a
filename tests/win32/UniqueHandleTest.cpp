#include "platform/win32/UniqueHandle.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace velmora {
namespace {

static_assert(!std::is_copy_constructible_v<unique_handle> && !std::is_copy_assignable_v<unique_handle>);
static_assert(std::is_nothrow_move_constructible_v<unique_hkey>);

// An event handle is closed exactly when its owner lets go of it; a closed handle cannot be waited on.
bool IsOpen(HANDLE handle) {
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != FALSE;
}

TEST(UniqueHandle, ClosesOnResetAndDestructionButNotAfterRelease) {
    HANDLE raw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    {
        unique_handle owner(raw);
        EXPECT_TRUE(owner);
        EXPECT_EQ(raw, owner.get());
    }
    EXPECT_FALSE(IsOpen(raw));

    unique_handle kept(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    HANDLE released = kept.release();
    EXPECT_FALSE(kept);
    EXPECT_TRUE(IsOpen(released));
    CloseHandle(released);

    unique_handle replaced(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    HANDLE first = replaced.get();
    replaced.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    EXPECT_FALSE(IsOpen(first));
    EXPECT_TRUE(IsOpen(replaced.get()));
}

TEST(UniqueHandle, MoveTransfersOwnershipOnce) {
    unique_handle a(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    HANDLE raw = a.get();
    unique_handle b(std::move(a));
    EXPECT_FALSE(a.valid());
    EXPECT_EQ(raw, b.get());
    unique_handle c;
    c = std::move(b);
    EXPECT_EQ(raw, c.get());
    EXPECT_TRUE(IsOpen(raw));
    c = unique_handle{};
    EXPECT_FALSE(IsOpen(raw));
}

TEST(UniqueHandle, FileHandleIsEmptyAsInvalidHandleValue) {
    unique_hfile none;
    EXPECT_EQ(INVALID_HANDLE_VALUE, none.get());
    EXPECT_FALSE(none);
    none.reset(CreateFileW(L"Z:\\no\\such\\file.bin", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(none);  // a failed open is empty, and destroying it closes nothing
}

TEST(UniqueHandle, PutHandsOutStorageForAnOutParameter) {
    unique_hkey key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, key.put()));
    EXPECT_TRUE(key);
    DWORD subkeys = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr,
                                              nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
}

}  // namespace
}  // namespace velmora
