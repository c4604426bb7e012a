#pragma once
// Where a run that restarts Windows keeps what its elevated logon task will act on: a folder under
// %ProgramData% that only administrators can change, "Velmora Runwright\Resume", with one record per user
// ("S-1-5-21-...-1001.txt", named after the user's security identifier) and, beside it, the copy of the
// program and its language files that the user's task starts ("S-1-5-21-...-1001\velmora.exe"). Nothing in
// it is trusted before its owner and rights are checked, and nothing a link points at is followed.
#include <optional>
#include <string>
#include <vector>

#include "base/PathVariables.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/ProtectedFiles.h"
#include "platform/SystemInfo.h"
#include "playback/ResumeRecord.h"
#include "scenario/ScenarioImage.h"

namespace velmora {

struct ResumeStorePorts {
    ProtectedFiles& vault;
    FileSystem& files;  // the program and the packages, wherever they are
    SystemInfo& system;
    Clock& clock;
};

// "C:\ProgramData\Velmora Runwright\Resume"; empty when the system names no such folder.
std::string ResumeFolder(ProtectedFiles& vault);
// The user's record in it; empty without a folder or a user.
std::string ResumeRecordPath(ProtectedFiles& vault, const std::string& userSid);

// Makes the folder and its parent where they are missing, and takes their places back where someone else
// made them: such an entry is renamed aside (its path added to `movedAside`), never entered, deleted or given
// new rights. The folder's path, or nothing when it cannot be made trustworthy now.
std::optional<std::string> PrepareResumeFolder(const ResumeStorePorts& ports,
                                               std::vector<std::string>& movedAside);

enum class ResumeRefusal { Missing, Damaged, Foreign, Stale, Untrusted, TooManyRestarts };
// The record of this user's run, or why there is none to play: no record; a damaged one; one another user
// wrote; one older (or, the clock set back, younger) than kResumeRecordDays; one in a folder or a file that
// someone else than administrators owns or may change, or a link; one taken again so often without its run
// ending that it has used up kMostRestarts. `removable` tells that the record lies where the program may
// remove it without following anything someone else put there.
struct ResumeCheck {
    std::optional<ResumeRecord> record;
    ResumeRefusal refusal = ResumeRefusal::Missing;
    bool removable = false;
};
ResumeCheck ReadResumeRecord(const ResumeStorePorts& ports);
// Written through a temporary file into the folder, which PrepareResumeFolder makes first.
[[nodiscard]] bool WriteResumeRecord(const ResumeStorePorts& ports, const ResumeRecord& record);
// True when the user's record is gone (also when there was none).
[[nodiscard]] bool RemoveResumeRecord(const ResumeStorePorts& ports);

// Copies the running program and its language folder beside the user's record (unless it runs from there
// already) and checks the copy, its folder and its language folder. The copy's path, or nothing when it
// cannot be made or someone else than administrators could change it: a task must then not start it.
std::optional<std::string> ProtectedProgramCopy(const ResumeStorePorts& ports, const std::string& folder);

// The package as it is now: the scenario's bytes and the installer it names, expanded as this run expands it,
// fingerprinted. A file that cannot be read is "-". Loads the scenario into `scenario`.
PackagePin PinPackage(const ResumeStorePorts& ports, ScenarioImage& scenario, const PathVariables& pathVars,
                      const std::string& scenarioPath);

}  // namespace velmora
