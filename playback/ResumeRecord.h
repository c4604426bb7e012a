#pragma once
// The resume record: what a run that restarts Windows in its middle leaves for itself, to go on at the user's
// next logon, and the logon task that starts it then. The record is a small text file in the user's local
// application data, which stays on the machine and belongs to that user; the report may lie on a share that
// is not there yet when the user logs on, and the program's own folder may be a disc.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/SystemInfo.h"

namespace velmora {

// The task's name in the root folder of the Task Scheduler.
inline constexpr const char* kResumeTaskName = "Velmora Runwright resume";
inline constexpr const char* kResumeSwitch = "/resume";
// A run restarts Windows this often at most: an installer that asks again after every restart must not keep
// the machine restarting.
inline constexpr int kMostRestarts = 5;
// A record older than this is not played: the machine has since been someone else's business.
inline constexpr std::int64_t kResumeRecordDays = 7;

struct ResumeRecord {
    std::string user;  // the security identifier of the user who wrote it
    LocalTime written;
    int restarts = 1;              // the restarts the run has made, the one this record is for included
    std::size_t packagesDone = 0;  // the packages played before it
    int exitCode = 0;              // theirs (0, 1 or 2): the restart their installers asked for is being made
    std::string report;            // the report's path; empty when the run writes none
    int speed = 2;
    int timeoutMinutes = 0;
    bool statistics = true;             // the statistics window ends the run
    std::vector<std::string> packages;  // the scenarios still to play, full paths, in order
    bool operator==(const ResumeRecord&) const = default;
};

// %LOCALAPPDATA%\Velmora Runwright\resume.txt
std::string ResumeRecordFolder(SystemInfo& system);
std::string ResumeRecordPath(SystemInfo& system);

// The record as its file holds it: "velmora-resume 1", then one "key value" line per field in a fixed order
// and a "package" line per scenario, each ended by CR LF, in UTF-8.
std::string FormatResumeRecord(const ResumeRecord& record);
// Nothing unless the text is exactly such a file: every line, key and order, numbers in their range, a
// package at least, and a last line that is whole.
std::optional<ResumeRecord> ParseResumeRecord(std::string_view text);

enum class ResumeRefusal { Missing, Damaged, Foreign, Stale };
// The record of this user's run, or why there is none to play: no record, a damaged one, one another user
// wrote, one older (or, the clock set back, younger) than kResumeRecordDays.
struct ResumeCheck {
    std::optional<ResumeRecord> record;
    ResumeRefusal refusal = ResumeRefusal::Missing;
};
ResumeCheck ReadResumeRecord(FileSystem& files, SystemInfo& system, Clock& clock);
// Written through a temporary file, its folder made first when missing.
[[nodiscard]] bool WriteResumeRecord(FileSystem& files, SystemInfo& system, const ResumeRecord& record);

// The task that starts "program /resume" when the user logs on: in the user's own interactive session (no
// password is given or kept), with the user's full administrator token (Windows starts nothing that asks for
// elevation from its Run keys), without a time limit or a battery condition. Its description names the same
// command line, so a person reading the task sees what it starts.
std::string ResumeTaskDefinition(const std::string& program, const std::string& userSid);

}  // namespace velmora
