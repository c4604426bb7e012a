#pragma once
// The resume record: what a run that restarts Windows in its middle leaves for itself, to go on at the user's
// next logon, and the logon task that starts it then. The record is a small text file where only
// administrators can write (playback/ResumeStore.h), because the task starts the program elevated and it
// plays what the record names; it pins every package still to play to the bytes of its scenario and its
// installer, so that nothing put in their place in the meantime is played.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/SharedState.h"
#include "platform/Clock.h"

namespace velmora {

// The task's name in the root folder of the Task Scheduler starts with this and ends with the user's security
// identifier, so that two users' restarts do not replace each other's task.
inline constexpr const char* kResumeTaskPrefix = "Velmora Runwright resume ";
inline constexpr const char* kResumeSwitch = "/resume";
// A run restarts Windows this often at most: an installer that asks again after every restart must not keep
// the machine restarting. A logon that takes the record again without the run having ended (the power was
// cut during a package) counts as a restart too.
inline constexpr int kMostRestarts = 5;
// A record older than this is not played: the machine has since been someone else's business.
inline constexpr std::int64_t kResumeRecordDays = 7;

struct ResumeRecord {
    std::string user;  // the security identifier of the user who wrote it
    LocalTime written;
    int restarts = 1;              // the restarts the run has made, the one this record is for included
    bool taken = false;            // a resumed run has started on it: taking it again is another restart
    std::size_t packagesDone = 0;  // the packages played before it
    int exitCode = 0;              // theirs (0, 1 or 2): the restart their installers asked for is being made
    std::string report;            // the report's path; empty when the run writes none
    int speed = 2;
    int timeoutMinutes = 0;
    bool statistics = true;            // the statistics window ends the run
    std::vector<PackagePin> packages;  // the scenarios still to play, full paths, in order
    bool operator==(const ResumeRecord&) const = default;
};

// The record as its file holds it: "velmora-resume 2", then one "key value" line per field in a fixed order
// and four lines per package (its scenario, installer and their SHA-256 or "-"), each ended by CR LF, in
// UTF-8. Version 1 records, from before packages were pinned, are damaged to this reader.
std::string FormatResumeRecord(const ResumeRecord& record);
// Nothing unless the text is exactly such a file: every line, key and order, numbers in their range, a
// package at least, and a last line that is whole.
std::optional<ResumeRecord> ParseResumeRecord(std::string_view text);

std::string ResumeTaskName(const std::string& userSid);
// "/resume /LOG=\"report\"": the report is named on the task's command line too, so that a resumed run that
// finds no record it may play can still say so in the run's report.
std::string ResumeArguments(const std::string& report);
// The task that starts "program /resume" 30 seconds after the user logs on (the desktop and the network come
// up meanwhile), in the program's folder: in the user's own interactive session (no password is given or
// kept), with the user's full administrator token (Windows starts nothing that asks for elevation from its
// Run keys), without a time limit or a battery condition. A run as LocalSystem (a fleet tool's agent, a
// service) resumes 30 seconds after Windows starts instead, as LocalSystem, with nobody logged on: it has no
// logon to wait for. Its description names the same command line, so a person reading the task sees what it
// starts.
std::string ResumeTaskDefinition(const std::string& program, const std::string& userSid,
                                 const std::string& report);

}  // namespace velmora
