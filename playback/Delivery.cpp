#include "playback/Delivery.h"

#include "base/Utilities.h"

namespace velmora {

std::optional<NoDesktop> WhyNoDesktop(const DesktopFacts& facts) {
    if (facts.sessionId == 0u)
        return NoDesktop::Service;
    if (!facts.windowStationVisible)
        return NoDesktop::HiddenWindowStation;
    if (facts.connection == SessionConnection::Disconnected)
        return NoDesktop::Disconnected;
    if (!facts.inputDesktop)
        return NoDesktop::Locked;
    if (!EqualsNoCase(*facts.inputDesktop, "Default"))
        return NoDesktop::OtherDesktop;
    return std::nullopt;
}

std::optional<Delivery> ChooseDelivery(const DesktopFacts& facts, InputChoice choice) {
    if (choice == InputChoice::Messages)
        return Delivery::Messages;
    const bool clickLands = !WhyNoDesktop(facts);
    if (choice == InputChoice::Mouse)
        return clickLands ? std::optional<Delivery>(Delivery::Mouse) : std::nullopt;
    return clickLands ? Delivery::Mouse : Delivery::Messages;
}

}  // namespace velmora
