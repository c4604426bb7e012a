#pragma once
// What became of one package of a run: the record the statistics window lists and the report writes, and the
// exit codes and times they are told in.
#include <cstdint>
#include <optional>
#include <string>

#include "base/Language.h"
#include "platform/Clock.h"

namespace velmora {

// How a package ended. The values are the ones the statistics window has always shown as "NO", "MB", "ОК".
enum StatResult : std::uint8_t {
    kStatFailed = 0,  // scenario missing or unreadable, installer missing, or the installer failed to start
    kStatInterrupted = 1,  // skipped or stopped by the user
    kStatDone = 2,         // every step replayed
};

// Why a package ended; each reason gives one of the three results.
enum class PackageEnd : std::uint8_t {
    Played,               // every step replayed: done
    ScenarioUnreadable,   // missing, unreadable, of an unknown version or without an installer: failed
    InstallerMissing,     // failed
    InstallerNotStarted,  // the system would not start it: failed
    Damaged,              // steps were left that could not be read: failed
    WindowNotFound,       // the step's window did not come within the time-out: failed
    WindowCovered,        // the step's window stayed under another until the time-out: failed
    WindowDisabled,       // the step's window, or one above it, stayed hidden or disabled: failed
    Changed,  // a resumed run's scenario or installer is not what it was before the restart: failed
    Skipped,  // interrupted
    Stopped,  // interrupted
};
std::uint8_t ResultOf(PackageEnd end);

// What became of a package's installer process after its scenario ended.
enum class InstallerEnd : std::uint8_t {
    NotStarted,
    Exited,             // with installerExitCode
    StillRunning,       // it went on past the wait, or the run went on without it (skip, stop)
    EndedAfterTimeOut,  // the player ended it and the processes it started
};

struct PackageRecord {
    std::uint8_t result = kStatFailed;
    std::string packageName;
    LocalTime startTime;
    LocalTime endTime;
    std::string duration;
    PackageEnd end = PackageEnd::ScenarioUnreadable;
    std::int64_t step = 0;  // for a window that never came or stayed covered: its step, from 1
    std::string awaited;    // and the windows it waited for (ChainText)
    InstallerEnd installer = InstallerEnd::NotStarted;
    std::optional<int> installerExitCode;
};

// Installer exit codes that mean "done, restart pending".
bool IsRestartCode(int exitCode);
// The exit code of a run that played every package to its end and where an installer asked for a restart.
inline constexpr int kRestartRunExitCode = 3010;
// The exit code of two parts of one run: a failure (2) before an interruption (1) before a restart still
// asked for (kRestartRunExitCode) before 0.
int CombineExitCodes(int first, int second);

// The decimal text of n with a "0" in front unless it is exactly two characters long (5 -> "05", 12 -> "12").
std::string PadTwo(std::int32_t n);
// "h:mm:ss". Hours are not wrapped at a day, so a 25-hour install reads 25:00:00; a negative count reads
// 0:00:00.
std::string FormatDuration(std::int64_t seconds);
// Whole seconds from `from` to `to`, counted over the whole date so that midnight changes nothing; 0 when
// `to` lies before `from` (the clock was set back).
std::int64_t SecondsBetween(const LocalTime& from, const LocalTime& to);

// What the list adds after a package's times: the step whose window never came or stayed covered, "требуется
// перезагрузка" for an installer asking for a restart, or any other non-zero exit code; empty otherwise.
std::string OutcomeText(const PackageRecord& record, const Language& language);
// "ожидаемое окно: #32770 "Setup" > Button "Next"" for a package whose step timed out; empty otherwise.
std::string AwaitedText(const PackageRecord& record, const Language& language);

}  // namespace velmora
