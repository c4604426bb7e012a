#pragma once
// The restart an installer asks for (it ended with 3010 or 1641) in a run that may restart Windows
// ("/REBOOT", or a run that already did): between two packages the run writes its resume record, registers
// the task that starts it again at the user's next logon, says so in the report, counts down, and asks
// Windows to restart. Stop during the countdown calls it off; the player then ends the run as a stop does.
// In the resumed run it keeps the record up to date after every package, checks each package against what
// the record pinned, and removes the record and the task when the run ends.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/PathVariables.h"
#include "base/SharedState.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/LogonTasks.h"
#include "platform/ProtectedFiles.h"
#include "platform/SettingsStore.h"
#include "platform/SystemInfo.h"
#include "platform/SystemRestart.h"
#include "playback/ResumeStore.h"
#include "reports/RunReport.h"
#include "playback/Statistics.h"
#include "scenario/ScenarioImage.h"

namespace velmora {

struct RunRestartPorts {
    FileSystem& files;
    SystemInfo& system;
    Clock& clock;
    SettingsStore& settings;  // whether the run may restart, its speed and step time-out
    LogonTasks& tasks;
    SystemRestart& restart;
    SharedState& shared;  // runList, reportLog's report, noStatistics, resumed
    Statistics& stats;
    RunReport& report;
    ProtectedFiles& vault;
    ScenarioImage& scenario;  // for reading the packages still to play while none is being played
    const PathVariables& pathVars;
};

class RunRestart {
  public:
    static constexpr int kCountdownMs = 30000;

    explicit RunRestart(const RunRestartPorts& ports) : p_(ports) {}

    // Between two packages, `next` being the index in runList of the one to start: when the run may restart,
    // the package that ended last had its installer ask for a restart and packages remain, prepares the
    // restart and starts the countdown (true). Otherwise false, also when it cannot be prepared or the run
    // has made kMostRestarts (the report says why): the run goes on without it, and a resumed run's record
    // is brought up to date.
    bool Prepare(std::size_t next);
    bool CountingDown() const { return phase_ == Phase::CountingDown; }
    bool Requested() const { return phase_ == Phase::Requested; }
    // Counts tickMs of the countdown; the seconds left, rounded up, 0 once it is over.
    int CountDown(int tickMs);
    // Asks Windows to restart. True when Windows took the request; otherwise the restart is called off.
    bool Request();
    // Stop during the countdown: the task and the record go, the report says so.
    void Cancel();
    // Windows took the request but the session did not end (a program refused): called off as well.
    void Refused();
    // True from just before the request on: the run's refusal to let the session end stands aside for its own
    // restart, and only for that.
    bool OwnRestartRequested() const { return phase_ == Phase::Requested; }

    // The run has ended (not for its own restart): a resumed run's record and task go, and the report says
    // when that failed.
    void RunEnded();
    // A resumed run's package `index` of runList: true when it may play, that is when the run is not resumed
    // or the scenario's bytes (null: it could not be read) are the ones pinned; otherwise the report says
    // why not, and the package is to fail.
    bool ScenarioAsPinned(std::size_t index, const std::string* bytes);
    // The same for its installer: `installer` becomes the pinned path, held in `held` until the caller has
    // started it, so that it cannot be changed between the check and the start.
    bool InstallerAsPinned(std::size_t index, std::string& installer, std::unique_ptr<HeldFile>& held);

  private:
    enum class Phase { None, CountingDown, Requested };
    bool Wanted(std::size_t next);
    // A resumed run between two packages, `next` being the one to start: the record is written again with
    // the packages from there on, so that a power cut during the next one resumes the rest.
    void Progress(std::size_t next);
    ResumeStorePorts Store() const { return {p_.vault, p_.files, p_.system, p_.clock}; }
    // The record of what remains from `next` on, as far as this run knows it.
    ResumeRecord RemainingRun(std::size_t next, int restarts, bool taken);
    // The folder, the program's protected copy and the task; false when the restart cannot be made (the
    // report says why).
    bool PlaceRecordAndTask(const ResumeRecord& record);
    const PackagePin* PinOf(std::size_t index) const;
    // Takes back what Prepare left on the machine.
    void Undo();

    RunRestartPorts p_;
    Phase phase_ = Phase::None;
    int leftMs_ = 0;
    bool limitReported_ = false;
    bool progressReported_ = false;
};

}  // namespace velmora
