#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/Types.h"

namespace velmora {

enum class DriveType {
    Unknown = 0,
    NoRootDir = 1,
    Removable = 2,
    Fixed = 3,
    Remote = 4,
    CdRom = 5,
    RamDisk = 6
};

// The security identifier of LocalSystem, the account services and fleet tools' agents run as.
inline constexpr const char* kLocalSystemSid = "S-1-5-18";

// Facts about the machine and the running program.
class SystemInfo {
  public:
    virtual ~SystemInfo() = default;
    // The folder of the running executable, without a trailing backslash (a root keeps its own: "E:\").
    virtual std::string ProgramFolder() = 0;
    // The running executable's full path.
    virtual std::string ProgramPath() = 0;
    // The process's command line with the program path removed, trimmed.
    virtual std::string CommandLineArguments() = 0;
    virtual DriveType GetDriveType(const std::string& root) = 0;
    // Roots such as "C:\" in the order the system lists them.
    virtual std::vector<std::string> LogicalDriveRoots() = 0;
    [[nodiscard]] virtual std::optional<std::string> UserName() = 0;
    // The machine's network name.
    [[nodiscard]] virtual std::optional<std::string> ComputerName() = 0;
    // The security identifier of the user the program runs as, in its text form ("S-1-5-21-...").
    [[nodiscard]] virtual std::optional<std::string> UserSid() = 0;
    // The user's own folder for data that stays on this machine (%LOCALAPPDATA%), without a trailing
    // backslash.
    virtual std::string LocalAppDataFolder() = 0;
    // The folder that holds the users' profile folders ("C:\Users"), without a trailing backslash; empty when
    // the system does not say.
    virtual std::string ProfilesFolder() = 0;
    // Without a trailing backslash.
    virtual std::string WindowsFolder() = 0;
    // As the system answers it: with its trailing backslash.
    virtual std::string TempFolder() = 0;
    virtual int UserDefaultLangId() = 0;
    // The primary screen in physical pixels.
    virtual Size ScreenSize() = 0;
};

}  // namespace velmora
