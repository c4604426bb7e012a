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
#include "reports/PackageRecord.h"

namespace velmora {

// The run's statistics list, one record per package started in the order they started; the package being
// played is always the last record.
class Statistics {
  public:
    explicit Statistics(Clock& clock) : clock_(clock) {}

    // Forgets every record and the earlier exit code.
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
    // gives kRestartRunExitCode instead when any installer asked for a restart. A resumed run counts in the
    // packages played before its restart (CombineExitCodes).
    int ExitCode() const;

    std::vector<PackageRecord> records;
    // A run resumed after a restart: the exit code of its packages played before it.
    std::optional<int> earlierExitCode;

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
