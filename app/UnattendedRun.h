#pragma once
// The runs nobody watches: a direct run ("/inst") and a resumed one ("/resume"). Neither plays where no click
// can land (a service, a hidden window station, a locked or disconnected session): it would wait for windows
// that never come. A resumed run plays only a resume record of this user's, recent and whole.
#include <optional>
#include <string>

#include "base/Language.h"
#include "base/SharedState.h"
#include "platform/Clock.h"
#include "platform/DesktopInfo.h"
#include "platform/FileSystem.h"
#include "platform/LogonTasks.h"
#include "platform/SystemInfo.h"
#include "playback/ResumeRecord.h"
#include "reports/RunReport.h"

namespace velmora {

// The exit codes of runs that play nothing (0, 1, 2 and kRestartRunExitCode are the played runs').
inline constexpr int kNoDesktopExitCode = 4;
inline constexpr int kNoResumeExitCode = 5;
inline constexpr int kInstanceHeldExitCode = 6;  // another instance of the program runs

enum class NoDesktop { Service, HiddenWindowStation, Disconnected, Locked, OtherDesktop };
// Why no click of the player could land here, or nothing when one can. What the system would not say is not
// held against the run.
std::optional<NoDesktop> WhyNoDesktop(const DesktopFacts& facts);
// "no desktop where a click can land: the program runs as a service (session 0)".
std::string NoDesktopText(NoDesktop why, const DesktopFacts& facts, const Language& language);

// "another instance of the program is running; this one played nothing".
std::string InstanceHeldText(const Language& language);

// The report of a run that plays nothing (for lack of a desktop, unless another exit code is given): its
// head, the reason as its first result, and its end with the exit code, which it returns.
int RefuseRun(RunReport& report, const SharedState& state, const std::string& reportFolder,
              const std::string& reason, int exitCode = kNoDesktopExitCode);

struct ResumePorts {
    FileSystem& files;
    SystemInfo& system;
    Clock& clock;
    LogonTasks& tasks;
};
// Takes the resume record and removes it and the logon task, whatever it holds: a record that is refused
// once would be refused again. One this run may play sets runList, currentScenario, reportLog, noStatistics
// and resumed, and nothing is returned; otherwise why not, the state as it was.
std::optional<ResumeRefusal> TakeResumeRecord(const ResumePorts& ports, SharedState& state);
// The message that says why: "The run cannot go on after the restart: the resume record is damaged." and,
// for a record there was, that it was removed.
std::string ResumeRefusalText(ResumeRefusal why, const std::string& recordPath, const Language& language);

// What a "/resume" start does before it plays: nothing when the run goes on (the state is set as
// TakeResumeRecord sets it); otherwise the exit code to end with and, for a refused record, the message to
// show. Where no click can land the record stays for a later logon.
struct ResumeStart {
    std::optional<int> exitCode;
    std::string message;
};
ResumeStart StartResumedRun(const ResumePorts& ports, const DesktopFacts& facts, const Language& language,
                            SharedState& state);

}  // namespace velmora
