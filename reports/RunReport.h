#pragma once
// The run report: a text file an administrator reads the morning after an unattended run. Each line is on the
// disk before the run goes on, so a crash or a power cut keeps everything up to it. Texts typed into
// installers are never written (fields hold serial numbers and passwords), only their length.
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/Language.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/SystemInfo.h"
#include "reports/PackageRecord.h"

namespace velmora {

// Every run of a report starts with this line, never translated, so that a reader of many machines' reports
// knows the file and which lines it can rely on whatever language the rest is in: the summary lines below,
// which name no translated word either. Version 1 had neither.
inline constexpr const char* kRunReportFormatLine = "velmora-run-report 2";
inline constexpr const char* kReportFormatPrefix = "velmora-run-report ";
inline constexpr int kRunReportFormat = 2;
// "#run computer | user | start", "#package 2/3 name | result | installer | duration[ | screenshot]" (a
// package can have a second one when a skip or stop marks it later), "#end exit-code".
inline constexpr const char* kSummaryRun = "#run ";
inline constexpr const char* kSummaryPackage = "#package ";
inline constexpr const char* kSummaryEnd = "#end ";
inline constexpr const char* kSummarySeparator = " | ";

// Where a run writes its report: the /LOG path when one was given, otherwise a file named by the start time
// in the report folder ("velmora-2026-12-06-204719.txt"), otherwise nowhere (empty).
std::string ReportPathFor(const std::string& logPath, const std::string& reportFolder,
                          const LocalTime& start);
// "2026-12-06 20:47:19".
std::string ReportTime(const LocalTime& time);

// Why a restart an installer asked for was not made.
enum class RestartNotMade {
    RecordNotWritten,     // the resume record could not be written
    TaskNotRegistered,    // the task that resumes the run at the next logon could not be registered
    Refused,              // Windows refused the restart, or a program refused to end
    Limit,                // the run has made as many restarts as it may
    FolderNotProtected,   // no folder for the record where only administrators can write could be had
    ProgramNotProtected,  // the program could not be copied where only administrators can change it
};

// Why a resumed run does not play a package: it is not what the run pinned before its restart.
enum class PackageChange { ScenarioChanged, ScenarioGone, InstallerChanged, InstallerGone };

struct RunReportPorts {
    FileSystem& files;
    Clock& clock;
    SystemInfo& system;
    const Language& language;
};

class RunReport {
  public:
    explicit RunReport(const RunReportPorts& ports) : p_(ports) {}

    // Starts the report at ReportPathFor the two (neither: no report) with the program's version, the
    // machine, the user and the time. A report file that exists already is added to, after an empty line.
    void Begin(const std::string& logPath, const std::string& reportFolder, const std::string& version);
    // Goes on with the report of a run that restarted Windows (empty: none), from the time it resumes.
    void Resume(const std::string& path);
    bool Active() const { return !path_.empty(); }
    const std::string& Path() const { return path_; }
    // Some line could not be written.
    bool Failed() const { return failed_; }

    void PackageStarted(std::size_t number, std::size_t count, const std::string& scenario);
    void InstallerStarting(const std::string& installer, const std::string& commandLine);
    // A step replayed on its window: the window found (class and caption), the press when the step had a
    // gesture and whether it went with the mouse or by window messages, the length of a text put, and the
    // wait for the window when it took more than a minute.
    void StepPlayed(std::int64_t step, const std::string& windowClass, const std::string& caption,
                    bool pressed, bool byMessages, std::size_t textChars, std::int64_t waitedMs);
    // The step's window, or one above it, is hidden or disabled: the step waits for it.
    void WindowNotReady(std::int64_t step);
    // The system did not take the step's press (a locked session), which waits for it.
    void InputRefused(std::int64_t step);
    // The step's window was taken although its caption differs from the recorded one (in version tokens).
    void CaptionDiffered(std::int64_t step, const std::string& stored, const std::string& shown);
    // The step's press went to a window that none of the installer's processes made (see ChainMatch).
    void WindowOutsideInstaller(std::int64_t step);
    // Where a screenshot of this package's step is kept beside the report; empty without a report.
    std::string ScreenshotPath(std::size_t package, std::int64_t step) const;
    void ScreenshotKept(const std::string& path);
    // The result with its reason, and the windows a step that timed out waited for.
    void PackageEnded(const PackageRecord& record);
    // What became of the installer, and the package's duration.
    void InstallerEnded(const PackageRecord& record);
    // The end time and the run's exit code, the report's last lines.
    void End(int exitCode);
    // A run that plays nothing: why, as its first result.
    void Refused(const std::string& reason);

    // The restart an installer asked for: prepared (the run goes on at the next logon), called off by the
    // user, or not made (the run goes on without it, or ends).
    void RestartPrepared();
    void RestartCancelled();
    void RestartNotDone(RestartNotMade why, int limit = 0);
    // A folder in the record's place that others could change was renamed to `path`.
    void FolderMovedAside(const std::string& path);
    // Before the package's result: why it is not played (the installer's path for the installer's cases).
    void PackageChanged(PackageChange why, const std::string& installer);
    // The resumed run's record or task (named) could not be removed at its end.
    void ResumeNotCleared(const std::string& what);

    static constexpr std::int64_t kLongWaitMs = 60000;

  private:
    void Write(const std::string& line);
    std::string Text(const char* def, int key) const;
    std::string Format(const char* def, int key, const std::string& value) const;
    void WriteSummary(const PackageRecord& record);

    RunReportPorts p_;
    std::string path_;
    bool failed_ = false;
    std::string package_;     // "2/3 name"
    std::string screenshot_;  // kept for the package being played
    bool summarized_ = false;
};

}  // namespace velmora
