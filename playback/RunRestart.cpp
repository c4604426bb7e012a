#include "playback/RunRestart.h"

#include "base/Settings.h"
#include "playback/ResumeRecord.h"

namespace velmora {

bool RunRestart::Wanted(std::size_t next) {
    const SharedState& s = p_.shared;
    if (phase_ != Phase::None || next >= s.runList.size() || p_.stats.records.empty())
        return false;
    if (!s.resumed && GetSetting(p_.settings, kSettingReboot) != "1")
        return false;
    const PackageRecord& last = p_.stats.records.back();
    if (last.installer != InstallerEnd::Exited || !last.installerExitCode ||
        !IsRestartCode(*last.installerExitCode))
        return false;
    if (s.resumed && s.resumed->restarts >= kMostRestarts) {
        // Once per run: a later package asking again is played without a word.
        if (!limitReported_)
            p_.report.RestartNotDone(RestartNotMade::Limit, kMostRestarts);
        limitReported_ = true;
        return false;
    }
    return true;
}

bool RunRestart::Prepare(std::size_t next) {
    if (!Wanted(next))
        return false;
    const SharedState& s = p_.shared;
    ResumeRecord record;
    record.user = p_.system.UserSid().value_or("");
    record.written = p_.clock.Now();
    record.restarts = (s.resumed ? s.resumed->restarts : 0) + 1;
    record.packagesDone = (s.resumed ? s.resumed->packagesDone : 0) + next;
    // The restart asked for is being made: what remains of the run's exit code is the rest.
    const int exitCode = p_.stats.ExitCode();
    record.exitCode = exitCode == kRestartRunExitCode ? 0 : exitCode;
    record.report = p_.report.Path();
    record.speed = s.resumed ? s.resumed->speed : GetSpeedLevel(p_.settings).value_or(kSlowestSpeed);
    record.timeoutMinutes = s.resumed ? s.resumed->timeoutMinutes : GetTimeoutMinutes(p_.settings);
    record.statistics = !s.noStatistics;
    record.packages.assign(s.runList.begin() + static_cast<std::ptrdiff_t>(next), s.runList.end());
    if (record.user.empty() || !WriteResumeRecord(p_.files, p_.system, record)) {
        p_.report.RestartNotDone(RestartNotMade::RecordNotWritten);
        return false;
    }
    if (!p_.tasks.Register(kResumeTaskName, ResumeTaskDefinition(p_.system.ProgramPath(), record.user))) {
        static_cast<void>(p_.files.Remove(ResumeRecordPath(p_.system)));
        p_.report.RestartNotDone(RestartNotMade::TaskNotRegistered);
        return false;
    }
    p_.report.RestartPrepared();
    phase_ = Phase::CountingDown;
    leftMs_ = kCountdownMs;
    return true;
}

int RunRestart::CountDown(int tickMs) {
    if (phase_ != Phase::CountingDown)
        return 0;
    leftMs_ = leftMs_ > tickMs ? leftMs_ - tickMs : 0;
    return (leftMs_ + 999) / 1000;
}

bool RunRestart::Request() {
    if (phase_ != Phase::CountingDown)
        return false;
    // Set before asking: the session's end may be asked of the panel before the request returns.
    phase_ = Phase::Requested;
    if (p_.restart.Restart())
        return true;
    Refused();
    return false;
}

void RunRestart::Cancel() {
    if (phase_ != Phase::CountingDown)
        return;
    Undo();
    p_.report.RestartCancelled();
}

void RunRestart::Refused() {
    if (phase_ == Phase::None)
        return;
    Undo();
    p_.report.RestartNotDone(RestartNotMade::Refused);
}

void RunRestart::Undo() {
    phase_ = Phase::None;
    // Left behind, the task would start the program at the next logon and the record be refused as
    // outdated; neither harms the run, so a failure here is not reported.
    static_cast<void>(p_.tasks.Remove(kResumeTaskName));
    static_cast<void>(p_.files.Remove(ResumeRecordPath(p_.system)));
}

}  // namespace velmora
