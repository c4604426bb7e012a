#pragma once
// The direct run that "/inst" starts: the control panel plays runList and the main window never opens.
#include "base/Program.h"

namespace velmora {

// Plays the run that start-up prepared (runList, currentScenario) and returns the process's exit code once
// the run is over.
int RunDirect(Program& program);

}  // namespace velmora
