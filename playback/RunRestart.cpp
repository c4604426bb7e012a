#include "playback/RunRestart.h"

#include "base/Settings.h"
#include "base/Utilities.h"
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

ResumeRecord RunRestart::RemainingRun(std::size_t next, int restarts, bool taken) {
    const SharedState& s = p_.shared;
    ResumeRecord record;
    record.user = p_.system.UserSid().value_or("");
    record.written = p_.clock.Now();
    record.restarts = restarts;
    record.taken = taken;
    record.packagesDone = (s.resumed ? s.resumed->packagesDone : 0) + next;
    // The restart asked for is being made: what remains of the run's exit code is the rest.
    const int exitCode = p_.stats.ExitCode();
    record.exitCode = exitCode == kRestartRunExitCode ? 0 : exitCode;
    record.report = p_.report.Path();
    record.speed = s.resumed ? s.resumed->speed : GetSpeedLevel(p_.settings).value_or(kSlowestSpeed);
    record.timeoutMinutes = s.resumed ? s.resumed->timeoutMinutes : GetTimeoutMinutes(p_.settings);
    record.statistics = !s.noStatistics;
    for (std::size_t i = next; i < s.runList.size(); ++i) {
        // A resumed run keeps the pins of the run that planned it: what it plays must still be that.
        const PackagePin* pin = PinOf(i);
        record.packages.push_back(
            pin != nullptr ? *pin : PinPackage(Store(), p_.scenario, p_.pathVars, s.runList[i]));
    }
    return record;
}

bool RunRestart::Prepare(std::size_t next) {
    const SharedState& s = p_.shared;
    if (!Wanted(next) ||
        !PlaceRecordAndTask(RemainingRun(next, (s.resumed ? s.resumed->restarts : 0) + 1, false))) {
        Progress(next);
        return false;
    }
    p_.report.RestartPrepared();
    phase_ = Phase::CountingDown;
    leftMs_ = kCountdownMs;
    return true;
}

bool RunRestart::PlaceRecordAndTask(const ResumeRecord& record) {
    std::vector<std::string> movedAside;
    const std::optional<std::string> folder =
        record.user.empty() ? std::nullopt : PrepareResumeFolder(Store(), movedAside);
    for (const std::string& aside : movedAside)
        p_.report.FolderMovedAside(aside);
    if (!folder) {
        p_.report.RestartNotDone(RestartNotMade::FolderNotProtected);
        return false;
    }
    // The task starts a copy that only administrators can change, never the program where it was started
    // from (a share, a download folder): that one may be out of reach at logon, or replaceable by anyone.
    const std::optional<std::string> program = ProtectedProgramCopy(Store(), *folder);
    if (!program) {
        p_.report.RestartNotDone(RestartNotMade::ProgramNotProtected);
        return false;
    }
    if (!WriteResumeRecord(Store(), record)) {
        p_.report.RestartNotDone(RestartNotMade::RecordNotWritten);
        return false;
    }
    const std::string task = ResumeTaskName(record.user);
    if (!p_.tasks.Register(task, ResumeTaskDefinition(*program, record.user, record.report))) {
        static_cast<void>(RemoveResumeRecord(Store()));  // the restart is not made; a stale record is refused
        p_.report.RestartNotDone(RestartNotMade::TaskNotRegistered);
        return false;
    }
    return true;
}

void RunRestart::Progress(std::size_t next) {
    const SharedState& s = p_.shared;
    if (!s.resumed || phase_ != Phase::None || next >= s.runList.size())
        return;
    if (!WriteResumeRecord(Store(), RemainingRun(next, s.resumed->restarts, true)) && !progressReported_) {
        // Once: a power cut now would resume the packages of the record written before.
        progressReported_ = true;
        p_.report.RestartNotDone(RestartNotMade::RecordNotWritten);
    }
}

void RunRestart::RunEnded() {
    if (p_.shared.resumed && phase_ != Phase::Requested)
        Undo();
}

const PackagePin* RunRestart::PinOf(std::size_t index) const {
    const std::optional<ResumedRun>& resumed = p_.shared.resumed;
    return resumed && index < resumed->pins.size() ? &resumed->pins[index] : nullptr;
}

bool RunRestart::ScenarioAsPinned(std::size_t index, const std::string* bytes) {
    const PackagePin* pin = PinOf(index);
    // One that could not be read before the restart and still cannot fails as unreadable.
    if (pin == nullptr || (bytes == nullptr && pin->scenarioSha256 == "-"))
        return true;
    if (bytes != nullptr && p_.vault.Sha256(*bytes).value_or("-") == pin->scenarioSha256)
        return true;
    p_.report.PackageChanged(bytes == nullptr ? PackageChange::ScenarioGone : PackageChange::ScenarioChanged,
                             {});
    return false;
}

bool RunRestart::InstallerAsPinned(std::size_t index, std::string& installer,
                                   std::unique_ptr<HeldFile>& held) {
    const PackagePin* pin = PinOf(index);
    if (pin == nullptr)
        return true;
    // The scenario is the one pinned, so the installer it names is too; the path is the one the planning run
    // expanded, as this run's program folder and variables may differ.
    installer = pin->installer;
    held = installer.empty() ? nullptr : p_.vault.Hold(installer);
    if (!held) {
        // Missing then and now: it fails as a missing installer does.
        if (pin->installerSha256 == "-" && !PathExists(p_.files, installer))
            return true;
        p_.report.PackageChanged(PackageChange::InstallerGone, installer);
        return false;
    }
    // One that was not there then is not known either.
    if (pin->installerSha256 == "-" || held->Sha256().value_or("-") != pin->installerSha256) {
        held.reset();
        p_.report.PackageChanged(PackageChange::InstallerChanged, installer);
        return false;
    }
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
    // Left behind, the task would start the program at the next logon: the report says so, for a person to
    // take it away.
    const std::string sid = p_.system.UserSid().value_or("");
    if (!p_.tasks.Remove(ResumeTaskName(sid)))
        p_.report.ResumeNotCleared(ResumeTaskName(sid));
    if (!RemoveResumeRecord(Store()))
        p_.report.ResumeNotCleared(ResumeRecordPath(p_.vault, sid));
}

}  // namespace velmora
