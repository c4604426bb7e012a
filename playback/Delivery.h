#pragma once
// How a replayed gesture reaches the installer: synthetic input through the cursor, where a person could
// click, or window messages posted to the installer's controls, which standard controls take on any desktop
// (a locked or disconnected session, a window station no screen shows, session 0).
#include <optional>
#include <vector>

#include "base/Settings.h"
#include "platform/DesktopInfo.h"
#include "platform/Types.h"
#include "platform/WindowSystem.h"
#include "scenario/ScenarioTypes.h"

namespace velmora {

enum class NoDesktop { Service, HiddenWindowStation, Disconnected, Locked, OtherDesktop };
// Why no click of the player could land here, or nothing when one can. What the system would not say is not
// held against the run.
std::optional<NoDesktop> WhyNoDesktop(const DesktopFacts& facts);

enum class Delivery { Mouse, Messages };
// The delivery for this desktop and choice, or nothing where the choice cannot be kept: a run that
// asks for the mouse where no click can land.
std::optional<Delivery> ChooseDelivery(const DesktopFacts& facts, InputChoice choice);

// Whether a gesture by messages goes as the control's own click: only a push button, check box or radio
// button, and only a plain left press and release on it (the press in its client area of this size, the moves
// and the release, relative to the press, not leaving it). A drag, a right or middle press, or any other
// control gets the mouse messages themselves. The points are in the pixels the control is shown at now.
bool PressAsClick(ControlKind kind, const std::vector<MouseEventRec>& events, Size client);

}  // namespace velmora
