#include "base/PathVariables.h"

#include <array>
#include <string_view>
#include <utility>

#include "base/Utilities.h"

namespace velmora {
namespace {

constexpr const char* kCdrom = "%CDROM%";
constexpr std::size_t kCdromLength = 7;
constexpr const char* kCurrentVersion = "Software\\Microsoft\\Windows\\CurrentVersion";
// Indexes into the table of the variables that the conversions walk, in their fixed orders. On 32-bit Windows
// the two Program Files variables share a value, which %PROGRAMFILES% takes first, as older programs did.
// The user's name is contracted after the values that may hold it (the temporary folder, in the profile).
constexpr int kExpandOrder[] = {1, 2, 3, 4, 7, 5};
constexpr int kContractOrder[] = {2, 3, 4, 7, 1, 5};
constexpr int kUserName = 1;
constexpr int kDriveApp = 5;

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

char Fold(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether the name stands at that place of the text, letters compared without case (the names are ASCII).
bool NameAt(std::string_view text, std::size_t at, std::string_view name) {
    if (name.size() > text.size() - at)
        return false;
    for (std::size_t k = 0; k < name.size(); ++k) {
        if (Fold(text[at + k]) != Fold(name[k]))
            return false;
    }
    return true;
}

constexpr std::size_t kVariableCount = 8;
constexpr std::size_t kComputerName = 6;
using Table = std::array<std::pair<std::string, std::string>, kVariableCount>;

// Where each variable's name first stands in the text (npos where it does not), as FindNoCase would find
// it, in one pass over the text's percent signs: every name starts with one, and a path holds a few. Every
// stored path of a folder and every text of a scenario is expanded when it is read.
std::array<std::size_t, kVariableCount> FirstPlaces(std::string_view text, const Table& variables) {
    std::array<std::size_t, kVariableCount> first;
    first.fill(std::string_view::npos);
    std::size_t at = text.find('%');
    if (at == std::string_view::npos)
        return first;
    // The letter after the sign rules out most names before any of them is compared whole.
    constexpr int kAnyLetter = -1;
    std::array<int, kVariableCount> letters;
    for (std::size_t index = 0; index < variables.size(); ++index) {
        const std::string& name = variables[index].first;
        letters[index] = name.size() > 1 ? static_cast<unsigned char>(Fold(name[1])) : kAnyLetter;
    }
    for (; at != std::string_view::npos; at = text.find('%', at + 1)) {
        const int letter = at + 1 < text.size() ? static_cast<unsigned char>(Fold(text[at + 1])) : kAnyLetter;
        for (std::size_t index = 0; index < variables.size(); ++index) {
            if ((letters[index] == letter || letters[index] == kAnyLetter) &&
                first[index] == std::string_view::npos && NameAt(text, at, variables[index].first))
                first[index] = at;
        }
    }
    return first;
}

// JoinPath(left, right) built in place in `left`.
void AppendJoined(std::string& left, std::string_view right) {
    if (right.empty())
        return;
    if (right.front() == '\\')
        right.remove_prefix(1);
    if (!left.empty() && left.back() != '\\')
        left += '\\';
    left.append(right);
}

// JoinPath(JoinPath(before, with), after) around the replaced part, in one string: every stored path of a
// folder is expanded when the folder is listed.
std::string Replace(const std::string& path, std::size_t at, std::size_t length, const std::string& with) {
    std::string result;
    result.reserve(path.size() - length + with.size() + 2);
    result.assign(path, 0, at);
    AppendJoined(result, with);
    AppendJoined(result, std::string_view(path).substr(at + length));
    return result;
}

}  // namespace

std::string JoinPath(const std::string& left, const std::string& right) {
    std::string joined = left;
    AppendJoined(joined, right);
    return joined;
}

void PathVariables::Init(SystemInfo& system, Registry& registry) {
    std::string programFolder = system.ProgramFolder();
    std::string root = programFolder.substr(0, 3);
    profilesFolder_ = system.ProfilesFolder();
    while (!profilesFolder_.empty() && profilesFolder_.back() == '\\')
        profilesFolder_.pop_back();

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
    // The 64-bit view names the 32-bit folder "ProgramFilesDir (x86)"; 32-bit Windows has only the one.
    auto programFiles = [&](const char* name) {
        return StripTrailingNulls(registry.GetString(RegistryRoot::LocalMachine, kCurrentVersion, name));
    };
    variables[7].second = programFiles("ProgramFilesDir");
    variables[4].second = programFiles("ProgramFilesDir (x86)");
    if (variables[4].second.empty())
        variables[4].second = variables[7].second;
    variables[5].second = programFolder.size() >= 3 && programFolder.compare(1, 2, ":\\") == 0 ? root : "";
    const DriveType programDrive =
        variables[5].second.empty() ? DriveType::Unknown : system.GetDriveType(root);
    contractDriveApp_ = programDrive == DriveType::CdRom || programDrive == DriveType::Removable;
    variables[6].second = system.ComputerName().value_or("");
}

std::string PathVariables::ExpandPathVars(const std::string& path) const {
    // The path is copied only when no name stands in it; otherwise the first replacement builds the result.
    std::string result;
    const std::string* current = &path;
    std::array<std::size_t, kVariableCount> first = FirstPlaces(path, variables);
    // The computer's name may stand inside a file name ("%COMPUTERNAME%.txt"), so it is put in as text, and
    // only when known. It is never contracted: a recorded "\\server\setups\PC-07\setup.exe" means that
    // folder on every machine, not each machine's own.
    if (const auto& [name, value] = variables[kComputerName];
        first[kComputerName] != std::string::npos && !value.empty()) {
        result = path;
        result.replace(first[kComputerName], name.size(), value);
        current = &result;
        first = FirstPlaces(result, variables);
    }
    for (int index : kExpandOrder) {
        const auto& [name, value] = variables[index];
        if (first[index] == std::string::npos || value.empty())
            continue;
        result = Replace(*current, first[index], name.size(), value);
        current = &result;
        first = FirstPlaces(result, variables);  // the names after it are looked for in the new text
    }
    if (current == &path)
        result = path;

    if (!NameAt(result, 0, kCdrom))
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
    for (int index : kContractOrder) {
        const auto& [name, value] = variables[index];
        if (value.empty() || (index == kDriveApp && !contractDriveApp_))
            continue;
        if (index == kUserName) {
            // Only the profile folder's own name: a share or a folder named like the user is that folder
            // on every machine ("\\server\setup\quill.exe" for the user "setup").
            const std::size_t at = profilesFolder_.empty()
                                       ? std::string::npos
                                       : FindWholeComponents(result, profilesFolder_ + "\\" + value);
            if (at != std::string::npos)
                result = Replace(result, at + profilesFolder_.size() + 1, value.size(), name);
            continue;
        }
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
