#pragma once
// The runs nobody watches: a direct run ("/inst") and a resumed one ("/resume"). Where no click can land (a
// service, a hidden window station, a locked or disconnected session) they play by window messages; only a
// run held to the mouse refuses there, as it would wait for windows that never come. A resumed run plays only
// a resume record of this user's, recent and whole, that only administrators could have written, and it never
// shows a message box: what it refuses, its report says.
#include <functional>
#include <optional>
#include <string>

#include "base/Language.h"
#include "base/SharedState.h"
#include "platform/Clock.h"
#include "platform/DesktopInfo.h"
#include "platform/FileSystem.h"
#include "platform/LogonTasks.h"
#include "platform/ProtectedFiles.h"
#include "platform/SystemInfo.h"
#include "playback/Delivery.h"
#include "playback/ResumeStore.h"
#include "reports/RunReport.h"

namespace velmora {

// The exit codes of runs that play nothing (0, 1, 2 and kRestartRunExitCode are the played runs').
inline constexpr int kNoDesktopExitCode = 4;
inline constexpr int kNoResumeExitCode = 5;
inline constexpr int kInstanceHeldExitCode = 6;  // another instance of the program runs

// "no desktop where a click can land: the program runs as a service (session 0)".
std::string NoDesktopText(NoDesktop why, const DesktopFacts& facts, const Language& language);

// Why a run with this choice of input plays nothing here, or nothing when it plays: only a run held to the
// mouse where no click can land refuses.
std::optional<NoDesktop> WhyRunRefused(const DesktopFacts& facts, InputChoice choice);

// "the run's own desktop could not be made: ...": the run started as SYSTEM or in session 0 that could not
// make its window station or desktop, or start itself again there, with the system's error number.
std::string OwnDesktopFailedText(unsigned long error, const Language& language);

// "another instance of the program is running; this one played nothing".
std::string InstanceHeldText(const Language& language);

// The report of a run that plays nothing (for lack of a desktop, unless another exit code is given): its
// head, the reason as its first result, and its end with the exit code, which it returns.
int RefuseRun(RunReport& report, const SharedState& state, const std::string& reportFolder,
              const std::string& reason, int exitCode = kNoDesktopExitCode);

struct ResumePorts {
    ProtectedFiles& vault;
    FileSystem& files;
    SystemInfo& system;
    Clock& clock;
    LogonTasks& tasks;
    DesktopInfo& desktop;
};
// Takes the resume record. One this run may play sets runList, currentScenario, reportLog, noStatistics and
// resumed (a record taken before without its run ending counts one restart more), and nothing is returned;
// the record and the task stay until the run ends, so that a power cut during it resumes again. Otherwise
// why not, the state as it was: the record (where that is safe) and the task are removed, as a record that
// is refused once would be refused again.
std::optional<ResumeRefusal> TakeResumeRecord(const ResumePorts& ports, SharedState& state);
// "The run cannot go on after the restart: the resume record is damaged; it was removed: C:\...".
std::string ResumeRefusalText(ResumeRefusal why, const std::string& removedRecord, const Language& language);

// At logon the desktop and the network come up while the task starts: a resumed run waits this long at most
// for the folders of its packages and, held to the mouse, for a desktop where a click can land, and no
// longer than it takes.
inline constexpr int kResumeWaitSeconds = 180;
inline constexpr int kResumeWaitStepMs = 1000;

// What a "/resume" start does before it plays: nothing when the run goes on (the state is set as
// TakeResumeRecord sets it); otherwise the exit code to end with, after the report of the run (the record's,
// or the "/LOG=" one of the task's command line, in state.reportLog) has said why. A run held to the mouse
// where no click can land leaves the record for a later logon. `wait` sleeps for the milliseconds given.
struct ResumeStart {
    std::optional<int> exitCode;
};
ResumeStart StartResumedRun(const ResumePorts& ports, const Language& language, SharedState& state,
                            RunReport& report, InputChoice choice, const std::function<void(int)>& wait);

}  // namespace velmora
