#pragma once
// The record of a run: one entry per package started, what became of it and how long it took, and the model
// of the statistics window that shows it when the run is over.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/Language.h"
#include "platform/Clock.h"
#include "platform/Types.h"

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
    Skipped,              // interrupted
    Stopped,              // interrupted
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

// The decimal text of n with a "0" in front unless it is exactly two characters long (5 -> "05", 12 -> "12").
std::string PadTwo(std::int32_t n);
// "h:mm:ss". Hours are not wrapped at a day, so a 25-hour install reads 25:00:00; a negative count reads
// 0:00:00.
std::string FormatDuration(std::int64_t seconds);
// Whole seconds from `from` to `to`, counted over the whole date so that midnight changes nothing; 0 when
// `to` lies before `from` (the clock was set back).
std::int64_t SecondsBetween(const LocalTime& from, const LocalTime& to);

// The run's statistics list, one record per package started in the order they started; the package being
// played is always the last record.
class Statistics {
  public:
    explicit Statistics(Clock& clock) : clock_(clock) {}

    // Forgets every record.
    void Reset();
    // Appends a record for the package about to be started, with the current time as its start.
    void StartPackage(const std::string& packageName);
    // Fills the last record, with the step (from 1) and the windows awaited for a window that never came or
    // stayed covered; does nothing when nothing was started. A second call for the same package overwrites
    // result, end time and duration.
    void EndPackage(PackageEnd end, std::int64_t step = 0, const std::string& awaited = {});
    // What became of the last record's installer, which may end after the record itself.
    void SetInstallerEnd(InstallerEnd end, std::optional<int> exitCode = std::nullopt);
    // The sum of every package's duration, formatted; empty when there are no records.
    std::string TotalTime() const;
    int RecordCount() const { return static_cast<int>(records.size()); }

    // The exit code of a run started from the command line: 0 when every package was replayed to the end, 2
    // when any failed to start, otherwise 1 (some were skipped or stopped). A run with no records at all —
    // stopped before its first package — did not install anything and also gives 1. A run that would give 0
    // gives kRestartRunExitCode instead when any installer asked for a restart.
    int ExitCode() const;

    std::vector<PackageRecord> records;

  private:
    Clock& clock_;
};

// Formats a moment as the time of day in the user's regional format; the shell supplies it.
using TimeOfDayFormatter = std::function<std::string(const LocalTime&)>;

// The lines of the statistics list: one per package (number, status, name, duration, start, end, in
// fixed-width columns for a fixed-pitch font), an empty line and the total line. No records give no lines.
// Column widths count characters, not UTF-8 bytes, so Cyrillic names line up too.
std::vector<std::string> StatisticsLines(const std::vector<PackageRecord>& records, const Language& language,
                                         const TimeOfDayFormatter& timeOfDay);
// What the list adds after a package's times: the step whose window never came or stayed covered, "требуется
// перезагрузка" for an installer asking for a restart, or any other non-zero exit code; empty otherwise.
std::string OutcomeText(const PackageRecord& record, const Language& language);
// "ожидаемое окно: #32770 "Setup" > Button "Next"" for a package whose step timed out; empty otherwise.
std::string AwaitedText(const PackageRecord& record, const Language& language);
// "Общее время установки - 0:01:15" (section Statistic, key 3, made to end with " -").
std::string TotalLine(const Statistics& stats, const Language& language);
// "Автоматическое завершение программы через 4 сек" (section Statistic, key 4 with %s).
std::string CountdownText(const Language& language, int seconds);

// The statistics window (StatisticsWindow) as a model: what it shows and what its timer and button do. The
// window renders it and carries out the returned decisions.
class StatisticsWindowModel {
  public:
    static constexpr int kCountdownSeconds = 4;
    static constexpr int kTimerIntervalMs = 1000;
    // The window's height in a direct run, which uncovers the countdown line.
    static constexpr int kDirectRunHeightTwips = 3870;

    StatisticsWindowModel(Statistics& stats, const Language& language, bool directRun)
        : stats_(stats), language_(language), directRun_(directRun) {}

    // The run's report, before Load: its path (empty when none was written) and whether a line of it could
    // not be written, which the list then says instead of offering to open it.
    void SetReport(const std::string& path, bool failed) {
        reportPath_ = path;
        reportFailed_ = failed;
    }

    // Window load: fills every field below. The exit code is taken here, before the close button can empty
    // the list.
    void Load(const TimeOfDayFormatter& timeOfDay);
    // One tick of the 1-second timer. True: end the program now (with exitCode); false: show countdownLine.
    bool Tick();
    // The close button: empties the statistics, then true means end the program now (direct run), false means
    // just close the window.
    bool CloseClicked();

    std::vector<std::string> lines;
    std::vector<std::string> tips;  // one a line: the list's tip over it (AwaitedText), mostly empty
    std::string caption;            // "Статистика"
    std::string closeCaption;       // "Закрыть"
    bool countdownVisible = false;  // also: the window takes kDirectRunHeightTwips
    bool timerEnabled = false;
    std::string countdownLine;
    int secondsLeft = kCountdownSeconds;
    int exitCode = 0;
    std::string openReportCaption;  // "Открыть отчёт"; empty: no report to open
    std::string reportPath;

  private:
    Statistics& stats_;
    const Language& language_;
    bool directRun_;
    std::string reportPath_;
    bool reportFailed_ = false;
};

}  // namespace velmora
