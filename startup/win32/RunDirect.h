#pragma once
// The direct run that "/inst" starts: the control panel plays g_RunList and the main window never opens.
#include "startup/win32/Program.h"

namespace velmora {

// Plays the run that start-up prepared (g_RunList, g_CurrentScn) and returns the process's exit code once the
// run is over.
int RunDirect(Program& program);

}  // namespace velmora
