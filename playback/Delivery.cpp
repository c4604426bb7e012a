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

bool PressAsClick(ControlKind kind, const std::vector<MouseEventRec>& events, Size client) {
    if (kind == ControlKind::Other)
        return false;
    const auto inside = [client](std::int64_t x, std::int64_t y) {
        return x >= 0 && y >= 0 && x < client.width && y < client.height;
    };
    int presses = 0;
    int releases = 0;
    Point press;
    for (const MouseEventRec& event : events) {
        if (event.kind != kKindPress && event.kind != kKindMove && event.kind != kKindRelease)
            continue;
        if (event.kind != kKindMove && event.button != kButtonLeft)
            return false;
        if (event.kind == kKindPress) {
            if (++presses > 1 || releases > 0 || !inside(event.x, event.y))
                return false;
            press = Point{event.x, event.y};
            continue;
        }
        // Moves before the press are where the cursor came from; after the release nothing is held.
        if (presses == 0 || releases > 0)
            continue;
        if (!inside(std::int64_t{press.x} + event.x, std::int64_t{press.y} + event.y))
            return false;
        releases += event.kind == kKindRelease ? 1 : 0;
    }
    return presses == 1 && releases == 1;
}

}  // namespace velmora
