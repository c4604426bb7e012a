#pragma once
#include <string>
#include <string_view>

#include "platform/SystemInfo.h"

namespace velmora {

// Facts about the machine and the running program, as the system answers them.
class Win32SystemInfo : public SystemInfo {
  public:
    std::string ProgramFolder() override;
    std::string ProgramPath() override;
    std::string CommandLineArguments() override;
    DriveType GetDriveType(const std::string& root) override;
    std::vector<std::string> LogicalDriveRoots() override;
    std::optional<std::string> UserName() override;
    std::optional<std::string> ComputerName() override;
    std::optional<std::string> UserSid() override;
    std::string LocalAppDataFolder() override;
    std::string ProfilesFolder() override;
    std::string WindowsFolder() override;
    std::string TempFolder() override;
    int UserDefaultLangId() override;
    Size ScreenSize() override;
};

// A process command line without the program path at its front (quoted or not), trimmed of blanks. The path
// ends at its closing quote, or unquoted at the first blank, as the system's own parsing has it.
std::wstring ArgumentsAfterProgramPath(std::wstring_view commandLine);

}  // namespace velmora
