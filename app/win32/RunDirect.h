#pragma once
// The runs that start from the command line: "/inst" plays runList in the control panel, "/resume" the rest
// of a run that restarted Windows; the main window never opens. Where no click can land they play by window
// messages (a run held to the mouse plays nothing there); started as LocalSystem or in session 0 they play on
// a window station and desktop of their own (app/OwnDesktop.h).
#include "base/Program.h"

namespace velmora {

// Plays the run that start-up prepared (runList, currentScenario) and returns the process's exit code once
// the run is over; held to the mouse without a desktop it only writes that into the report.
int RunDirect(Program& program);

// Takes the resume record and plays what it left, into the same report; says why in a message box when the
// record may not be played.
int RunResume(Program& program);

// A direct run or "/resume" that another instance holds off: writes why into the report the run would have
// written (for "/resume" the one its record names; the record and its task stay for a later logon) and
// returns kInstanceHeldExitCode. Nothing is shown.
int RefuseHeldRun(Program& program);

}  // namespace velmora
