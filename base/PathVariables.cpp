#include "base/PathVariables.h"

#include "base/Utilities.h"

namespace velmora {
namespace {

constexpr const char* kCdrom = "%CDROM%";
constexpr std::size_t kCdromLength = 7;
// Indexes into the table of the variables that both conversions walk, in their fixed order.
constexpr int kReplaceable[] = {1, 2, 3, 4, 5};

// Where the value occurs in the path as whole folder names: it starts the path or follows a backslash, and
// it ends the path, is followed by a backslash or ends with one itself. A value found inside a longer name
// ("admin" in "C:\administrator") would turn into a different folder when the path is expanded again.
std::size_t FindWholeComponents(const std::string& path, const std::string& value) {
    if (value.empty())
        return std::string::npos;
    for (std::size_t at = FindNoCase(path, value); at != std::string::npos;
         at = FindNoCase(path, value, at + 1)) {
        std::size_t end = at + value.size();
        bool startOk = at == 0 || path[at - 1] == '\\';
        bool endOk = end == path.size() || path[end] == '\\' || value.back() == '\\';
        if (startOk && endOk)
            return at;
    }
    return std::string::npos;
}

std::string Replace(const std::string& path, std::size_t at, std::size_t length, const std::string& with) {
    return JoinPath(JoinPath(path.substr(0, at), with), path.substr(at + length));
}

// The computer's name may stand inside a file name ("%COMPUTERNAME%.txt"), so it is put in as text, and only
// when known. It is never contracted: a recorded "\\server\setups\PC-07\setup.exe" means that folder on
// every machine, not each machine's own.
std::string ExpandComputerName(std::string path, const std::pair<std::string, std::string>& variable) {
    const std::size_t at = FindNoCase(path, variable.first);
    if (at != std::string::npos && !variable.second.empty())
        path.replace(at, variable.first.size(), variable.second);
    return path;
}

}  // namespace

std::string JoinPath(const std::string& left, const std::string& right) {
    if (right.empty())
        return left;
    std::string tail = right.front() == '\\' ? right.substr(1) : right;
    return AddBackslash(left) + tail;
}

void PathVariables::Init(SystemInfo& system, Registry& registry) {
    std::string programFolder = system.ProgramFolder();
    std::string root = programFolder.substr(0, 3);

    cdromDrives.clear();
    if (root.size() == 3 && system.GetDriveType(root) == DriveType::CdRom) {
        variables[0].second = root;
    } else {
        variables[0].second.clear();
        for (const std::string& drive : system.LogicalDriveRoots()) {
            if (drive.empty())
                break;
            if (system.GetDriveType(drive) == DriveType::CdRom)
                cdromDrives.push_back(drive);
        }
    }

    variables[1].second = system.UserName().value_or("");
    variables[2].second = system.WindowsFolder();
    // The system answers the temporary folder with its trailing backslash; the stored form has none.
    std::string temp = system.TempFolder();
    if (!temp.empty() && temp.back() == '\\')
        temp.pop_back();
    variables[3].second = temp;
    variables[4].second = StripTrailingNulls(registry.GetString(
        RegistryRoot::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir"));
    variables[5].second = programFolder.size() >= 3 && programFolder.compare(1, 2, ":\\") == 0 ? root : "";
    variables[6].second = system.ComputerName().value_or("");
}

std::string PathVariables::ExpandPathVars(const std::string& path) const {
    std::string result = ExpandComputerName(path, variables[6]);
    for (int index : kReplaceable) {
        const auto& [name, value] = variables[index];
        std::size_t at = FindNoCase(result, name);
        if (at != std::string::npos)
            result = Replace(result, at, name.size(), value);
    }

    if (!StartsWithNoCase(result, kCdrom))
        return result;
    std::string rest = result.substr(kCdromLength);
    if (!variables[0].second.empty())
        return JoinPath(variables[0].second, rest);
    for (const std::string& drive : cdromDrives) {
        std::string candidate = JoinPath(drive, rest);
        if (PathExists(files_, candidate))
            return candidate;
    }
    return result;
}

std::string PathVariables::ContractPathVars(const std::string& path) const {
    std::string result = path;
    for (int index : kReplaceable) {
        const auto& [name, value] = variables[index];
        if (value.empty())
            continue;
        std::size_t at = FindWholeComponents(result, value);
        if (at != std::string::npos)
            result = Replace(result, at, value.size(), name);
    }
    for (const std::string& drive : cdromDrives) {
        std::size_t at = FindWholeComponents(result, drive);
        if (at != std::string::npos)
            result = JoinPath(kCdrom, result.substr(at + drive.size()));
    }
    return result;
}

std::string PathVariables::Value(const std::string& name) const {
    for (const auto& [varName, value] : variables) {
        if (EqualsNoCase(varName, name))
            return value;
    }
    return {};
}

}  // namespace velmora
