#pragma once
// The installer of the package being played, from its start until the run knows what became of it. The
// shell holds the process in a job object. After the scenario's last step the next package waits for the
// installer to end, for kExitWaitMs at most: two installers at once make Windows Installer refuse the second.
#include <optional>
#include <vector>

#include "platform/Shell.h"
#include "platform/Types.h"
#include "reports/RunReport.h"
#include "playback/Statistics.h"

namespace velmora {

class InstallerWatch {
  public:
    static constexpr int kExitWaitMs = 60000;

    InstallerWatch(Shell& shell, Statistics& stats, RunReport& report)
        : shell_(shell), stats_(stats), report_(report) {}

    // A package was started: what becomes of its installer is told once, to its statistics record and the
    // report, by Finish.
    void PackageStarted() { pending_ = true; }
    void Started(ProcessId process) { process_ = process; }
    // The scenario has ended; its installer is given time to end.
    void AwaitExit() {
        awaiting_ = true;
        waitedMs_ = 0;
    }
    bool Awaiting() const { return awaiting_; }
    // The system's processes of the installer while it is held: itself and those it started.
    std::vector<SystemProcessId> Processes() { return shell_.ProcessesOf(process_); }
    // One tick of the wait, tickMs after the one before: true while the installer runs and the wait is not
    // over. Otherwise it is finished: with its exit code, or still running when it outlasted the wait (it is
    // left alone, its exit code unknown).
    bool KeepWaiting(int tickMs);
    // Finishes the installer as it is now: exited with its code, or left running as the run goes on.
    void FinishNow();
    // A step timed out: the installer and every process it started are ended, since one left waiting for a
    // click would hold its lock and make the next installer refuse to start.
    void EndAfterTimeOut();
    // Tells the end once per package and lets go of the process.
    void Finish(InstallerEnd end, std::optional<int> exitCode = std::nullopt);

  private:
    InstallerEnd Now(std::optional<int>& exitCode);

    Shell& shell_;
    Statistics& stats_;
    RunReport& report_;
    ProcessId process_ = 0;  // while it is held
    bool awaiting_ = false;
    int waitedMs_ = 0;
    bool pending_ = false;  // a package was started and what became of its installer is not told
};

}  // namespace velmora
