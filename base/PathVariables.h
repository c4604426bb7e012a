#pragma once
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"

namespace velmora {

// The two parts with exactly one backslash between them; an empty right part gives the left unchanged and an
// empty left part the right without its leading backslash.
std::string JoinPath(const std::string& left, const std::string& right);

// The path variables that keep stored paths portable between machines, and the conversions between the
// stored form and real paths. %PROGRAMFILES% means the Program Files folder as a 32-bit program sees it, as
// in every scenario that the 32-bit programs before this one stored: on 64-bit Windows the "(x86)" folder.
// %PROGRAMFILES64% is this program's own name for the 64-bit folder; older programs leave it as it stands.
class PathVariables {
  public:
    explicit PathVariables(FileSystem& files) : files_(files) {}

    // Fills the table and the CD-ROM drive list from the machine; called once at start-up.
    void Init(SystemInfo& system, Registry& registry);

    // The stored form turned into a real path. Only the first occurrence of each name is replaced; a name
    // without a value here stays as it stands, so that a path that cannot be made real is not found rather
    // than taken as a folder relative to wherever the program was started. A path that begins with %CDROM%
    // goes to the first CD-ROM drive that holds it, or keeps its stored form.
    std::string ExpandPathVars(const std::string& path) const;
    // A real path turned into the stored form. Values are replaced only where they stand as whole folder
    // names, so that expanding the result gives back the same folders; the longer values before
    // %USERNAME%, which only names a profile folder (right under the profiles folder), and %DRIVEAPP% only
    // while the program runs from a disc or removable drive: a path on a fixed disk or a share means that
    // path on every machine, not one on whatever drive the program is played from. %COMPUTERNAME% is only
    // expanded.
    std::string ContractPathVars(const std::string& path) const;

    // Value of a variable by its name ("%TEMP%"); empty for unknown names.
    std::string Value(const std::string& name) const;

    // Name and value pairs in the fixed order %CDROM%, %USERNAME%, %WINDOWS%, %TEMP%, %PROGRAMFILES%,
    // %DRIVEAPP%, %COMPUTERNAME%, %PROGRAMFILES64%. The conversions walk %PROGRAMFILES64% before %DRIVEAPP%,
    // so that a path in the 64-bit Program Files does not become a path on whatever drive the program runs
    // from; %DRIVEAPP% always has its value for expanding (a stored %DRIVEAPP% path means the program's
    // drive), even where no path is contracted to it.
    std::array<std::pair<std::string, std::string>, 8> variables{{{"%CDROM%", ""},
                                                                  {"%USERNAME%", ""},
                                                                  {"%WINDOWS%", ""},
                                                                  {"%TEMP%", ""},
                                                                  {"%PROGRAMFILES%", ""},
                                                                  {"%DRIVEAPP%", ""},
                                                                  {"%COMPUTERNAME%", ""},
                                                                  {"%PROGRAMFILES64%", ""}}};
    // Roots of the CD-ROM drives, filled only when the program itself does not run from one.
    std::vector<std::string> cdromDrives;

  private:
    FileSystem& files_;
    std::string profilesFolder_;     // without a trailing backslash; empty when unknown
    bool contractDriveApp_ = false;  // the program runs from a CD-ROM or removable drive
};

}  // namespace velmora
