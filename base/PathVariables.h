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
// stored form and real paths.
class PathVariables {
  public:
    explicit PathVariables(FileSystem& files) : files_(files) {}

    // Fills the table and the CD-ROM drive list from the machine; called once at start-up.
    void Init(SystemInfo& system, Registry& registry);

    // The stored form turned into a real path. Only the first occurrence of each name is replaced; a path
    // that begins with %CDROM% goes to the first CD-ROM drive that holds it, or keeps its stored form.
    std::string ExpandPathVars(const std::string& path) const;
    // A real path turned into the stored form. Values are replaced only where they stand as whole folder
    // names, so that expanding the result gives back the same folders. %COMPUTERNAME% is only expanded.
    std::string ContractPathVars(const std::string& path) const;

    // Value of a variable by its name ("%TEMP%"); empty for unknown names.
    std::string Value(const std::string& name) const;

    // Name and value pairs in the fixed order %CDROM%, %USERNAME%, %WINDOWS%, %TEMP%, %PROGRAMFILES%,
    // %DRIVEAPP%, %COMPUTERNAME%.
    std::array<std::pair<std::string, std::string>, 7> variables{{{"%CDROM%", ""},
                                                                  {"%USERNAME%", ""},
                                                                  {"%WINDOWS%", ""},
                                                                  {"%TEMP%", ""},
                                                                  {"%PROGRAMFILES%", ""},
                                                                  {"%DRIVEAPP%", ""},
                                                                  {"%COMPUTERNAME%", ""}}};
    // Roots of the CD-ROM drives, filled only when the program itself does not run from one.
    std::vector<std::string> cdromDrives;

  private:
    FileSystem& files_;
};

}  // namespace velmora
