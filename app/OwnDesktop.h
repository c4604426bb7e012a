#pragma once
// Where nobody could ever watch a run (a fleet tool's agent runs it as LocalSystem, a service starts it in
// session 0), its windows and every installer's are kept off the desktops that services share: the run makes
// a window station and a desktop of its own, which only SYSTEM and administrators may open, and starts itself
// again there, where it plays by window messages.
#include <string>

#include "platform/DesktopInfo.h"

namespace velmora {

// Names the station made for one run; the process id keeps two runs' stations apart.
std::string OwnWindowStationName(unsigned processId);
// Whether a window station's name is one OwnWindowStationName makes (letter case aside).
bool IsOwnWindowStation(const std::string& name);
inline constexpr const char* kOwnDesktopName = "Run";

// Whether the run is to start itself again on a desktop of its own: as LocalSystem or in session 0, unless it
// is on one already (it would start itself for ever).
bool NeedsOwnDesktop(const DesktopFacts& facts, bool runningAsSystem, bool alreadyOnOwnDesktop);

}  // namespace velmora
