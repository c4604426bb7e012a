// When a direct run starts itself again on a window station and desktop of its own.
#include <gtest/gtest.h>

#include "app/OwnDesktop.h"

namespace velmora {
namespace {

TEST(OwnDesktopTest, MadeAsLocalSystemOrInSessionZeroAndNeverFromTheOwnDesktopItself) {
    using C = SessionConnection;
    const DesktopFacts service{0, false, std::nullopt, C::Other}, user{1, true, "Default", C::Active},
        unknown{std::nullopt, true, "Default", std::nullopt};
    const struct {
        const char* what;
        DesktopFacts facts;
        bool system, onOwn, needs;
    } cases[] = {{"a service in session 0", service, true, false, true},
                 {"a user's program in session 0", service, false, false, true},
                 {"LocalSystem in a user's session", user, true, false, true},
                 {"a user at the input desktop", user, false, false, false},
                 {"a session the system does not tell", unknown, false, false, false},
                 {"the run on its own desktop, in session 0", service, true, true, false},
                 {"the run on its own desktop, as LocalSystem in a user's session", user, true, true, false}};
    for (const auto& c : cases)
        EXPECT_EQ(NeedsOwnDesktop(c.facts, c.system, c.onOwn), c.needs) << c.what;

    // Only a station the run names its own way counts as its own.
    EXPECT_TRUE(IsOwnWindowStation(OwnWindowStationName(4242)));
    EXPECT_TRUE(IsOwnWindowStation("velmorarun-7"));
    for (const char* other : {"WinSta0", "Service-0x0-3e7$", "VelmoraRun-", "VelmoraHidden"})
        EXPECT_FALSE(IsOwnWindowStation(other)) << other;
}

}  // namespace
}  // namespace velmora
