#include "playback/Delivery.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(DeliveryTest, TheMouseWhereAClickCanLandAndMessagesElsewhereAsTheSettingAllows) {
    using C = SessionConnection;
    const std::optional<Delivery> kMouse = Delivery::Mouse, kMessages = Delivery::Messages, kNone;
    struct Case {
        DesktopFacts facts;
        std::optional<Delivery> automatic, mouse, messages;
    };
    const Case cases[] = {
        {{1, true, "Default", C::Active}, kMouse, kMouse, kMessages},
        {{1, true, std::nullopt, C::Active}, kMessages, kNone, kMessages},     // locked
        {{1, true, "Winlogon", C::Active}, kMessages, kNone, kMessages},       // the logon desktop has input
        {{2, true, "Default", C::Disconnected}, kMessages, kNone, kMessages},  // disconnected
        {{2, false, "Default", C::Active}, kMessages, kNone, kMessages},       // a window station not shown
        {{0, true, "Default", C::Active}, kMessages, kNone, kMessages},        // session 0
        {{std::nullopt, true, "Default", std::nullopt},
         kMouse,
         kMouse,
         kMessages},  // what is not said counts not
    };
    for (const Case& c : cases) {
        const std::string name =
            c.facts.inputDesktop.value_or("-") + std::to_string(c.facts.sessionId.value_or(9));
        EXPECT_EQ(ChooseDelivery(c.facts, InputChoice::Auto), c.automatic) << name;
        EXPECT_EQ(ChooseDelivery(c.facts, InputChoice::Mouse), c.mouse) << name;
        EXPECT_EQ(ChooseDelivery(c.facts, InputChoice::Messages), c.messages) << name;
    }
}

TEST(DeliveryTest, OnlyAPlainLeftClickOnAButtonGoesAsTheButtonsOwnClick) {
    using K = ControlKind;
    const MouseEventRec press{kButtonLeft, kKindPress, 10, 5};
    const MouseEventRec release{kButtonLeft, kKindRelease, 2, 1};
    const MouseEventRec move{kButtonLeft, kKindMove, 3, 1};
    const std::vector<MouseEventRec> click{{0, kKindMove, -40, -30}, press, move, release};
    struct Case {
        const char* what;
        K kind;
        std::vector<MouseEventRec> events;
        bool asClick;
    };
    const Case cases[] = {
        {"push button", K::PushButton, click, true},
        {"check box", K::CheckBox, click, true},
        {"radio button", K::RadioButton, click, true},
        {"edit field", K::Other, click, false},
        {"drag off the button", K::PushButton, {press, {kButtonLeft, kKindMove, 75, 0}, release}, false},
        {"release off the button", K::PushButton, {press, {kButtonLeft, kKindRelease, 0, 30}}, false},
        {"right press",
         K::PushButton,
         {{kButtonRight, kKindPress, 10, 5}, {kButtonRight, kKindRelease, 0, 0}},
         false},
        {"press off the button", K::CheckBox, {{kButtonLeft, kKindPress, 90, 5}, release}, false},
        {"press without release", K::PushButton, {press, move}, false},
        {"double press", K::PushButton, {press, release, press, release}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PressAsClick(c.kind, c.events, Size{80, 25}), c.asClick) << c.what;
}

}  // namespace
}  // namespace velmora
