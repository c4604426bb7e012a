#pragma once
// Finding the window a step is aimed at. The recorder stores a chain of windows from the outermost down, each
// by class, caption and its place among the siblings that match; the player follows the chain again on every
// tick until the window is there.
#include <vector>

#include "platform/Types.h"
#include "platform/WindowSystem.h"
#include "scenario/ScenarioTypes.h"

namespace velmora {

// The window the chain leads to, or 0 when it cannot be followed (yet). An empty chain names nothing to
// click and leads nowhere. A link's matchIndex is 0 for the first top-level match, n >= 1 for the n-th match
// under the window of the link before, -1 for the desktop. A blank caption, or a lone NUL, matches any
// caption; one trailing NUL, as the recorder's fixed buffers sometimes left it, is not part of a name. A
// huge matchIndex from a damaged file costs no more searches than there are windows.
WindowId FindChainWindow(WindowSystem& windows, const std::vector<WindowRef>& chain);

}  // namespace velmora
