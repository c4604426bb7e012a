#pragma once
// The restart an installer asks for (it ended with 3010 or 1641) in a run that may restart Windows
// ("/REBOOT", or a run that already did): between two packages the run writes its resume record, registers
// the task that starts it again at the user's next logon, says so in the report, counts down, and asks
// Windows to restart. Stop during the countdown calls it off; the player then ends the run as a stop does.
#include <cstddef>

#include "base/SharedState.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/LogonTasks.h"
#include "platform/SettingsStore.h"
#include "platform/SystemInfo.h"
#include "platform/SystemRestart.h"
#include "reports/RunReport.h"
#include "playback/Statistics.h"

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
};

class RunRestart {
  public:
    static constexpr int kCountdownMs = 30000;

    explicit RunRestart(const RunRestartPorts& ports) : p_(ports) {}

    // Between two packages, `next` being the index in runList of the one to start: when the run may restart,
    // the package that ended last had its installer ask for a restart and packages remain, prepares the
    // restart and starts the countdown (true). Otherwise false, also when it cannot be prepared or the run
    // has made kMostRestarts (the report says why): the run goes on without it.
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

  private:
    enum class Phase { None, CountingDown, Requested };
    bool Wanted(std::size_t next);
    // Takes back what Prepare left on the machine.
    void Undo();

    RunRestartPorts p_;
    Phase phase_ = Phase::None;
    int leftMs_ = 0;
    bool limitReported_ = false;
};

}  // namespace velmora
