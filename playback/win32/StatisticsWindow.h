#pragma once
#include "base/Language.h"
#include "platform/win32/Win32.h"
#include "reports/RunReport.h"
#include "playback/Statistics.h"

namespace velmora {

struct StatisticsWindowResult {
    // The countdown of a direct run ran out or its close button was pressed: end the program now.
    bool endProgram = false;
    // What the run's statistics say, taken when the window opened (closing it empties the list).
    int exitCode = 0;
};

// Shows the statistics of the run modally: the owner (if any) is disabled until the window closes. In a
// direct run the window counts down four seconds and then asks for the program to end.
// With a report that was written, a button opens it.
StatisticsWindowResult ShowStatistics(HWND owner, Statistics& stats, const Language& language, bool directRun,
                                      const RunReport* report = nullptr);

}  // namespace velmora
