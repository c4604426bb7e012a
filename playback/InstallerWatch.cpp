#include "playback/InstallerWatch.h"

namespace velmora {

bool InstallerWatch::KeepWaiting(int tickMs) {
    std::optional<int> code;
    const InstallerEnd end = Now(code);
    if (end == InstallerEnd::StillRunning && waitedMs_ < kExitWaitMs) {
        waitedMs_ += tickMs;
        return true;
    }
    Finish(end, code);
    return false;
}

void InstallerWatch::FinishNow() {
    std::optional<int> code;
    const InstallerEnd end = Now(code);
    Finish(end, code);
}

void InstallerWatch::EndAfterTimeOut() {
    if (process_ != 0)
        shell_.EndAll(process_);
    Finish(process_ != 0 ? InstallerEnd::EndedAfterTimeOut : InstallerEnd::NotStarted);
}

void InstallerWatch::Finish(InstallerEnd end, std::optional<int> exitCode) {
    if (process_ != 0)
        shell_.Release(process_);
    process_ = 0;
    awaiting_ = false;
    if (!pending_)
        return;
    pending_ = false;
    stats_.SetInstallerEnd(end, exitCode);
    report_.InstallerEnded(stats_.records.back());
}

InstallerEnd InstallerWatch::Now(std::optional<int>& exitCode) {
    exitCode.reset();
    if (process_ == 0)
        return InstallerEnd::NotStarted;
    exitCode = shell_.ExitCodeOf(process_, 0);
    return exitCode ? InstallerEnd::Exited : InstallerEnd::StillRunning;
}

}  // namespace velmora
