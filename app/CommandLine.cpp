#include "app/CommandLine.h"

#include <algorithm>

#include "base/Settings.h"
#include "base/Utilities.h"
#include "scenario/ScenarioFolder.h"

namespace velmora {
namespace {

constexpr std::size_t kShortestLine = 7;
constexpr const char* kSpeedSwitch = "/SPEED=";
constexpr std::size_t kSpeedSwitchLength = 7;
constexpr const char* kTimeoutSwitch = "/TIMEOUT=";
constexpr std::size_t kTimeoutSwitchLength = 9;
constexpr std::size_t kTimeoutDigits = 4;
constexpr const char* kInputSwitch = "/INPUT=";
constexpr std::size_t kInputSwitchLength = 7;
constexpr const char* kLogSwitch = "/LOG=";
constexpr std::size_t kLogSwitchLength = 5;
constexpr const char* kRebootSwitch = "/REBOOT";
constexpr std::size_t kRebootSwitchLength = 7;
constexpr const char* kResumeLineSwitch = "/resume";
constexpr const char* kInstSwitch = "/inst";
constexpr std::size_t kInstSwitchLength = 5;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Byte length of the character that starts at `at`, so a multi-byte value is cut out whole.
std::size_t CharLengthAt(const std::string& text, std::size_t at) {
    std::size_t end = at + 1;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        ++end;
    return end - at;
}

// "/SPEED=" and the one character after it: a digit stores a level (3 to 9 count as the slowest); anything
// else stores nothing. The switch is cut out in every case.
std::string ApplySpeed(const std::string& line, const CommandLineContext& c) {
    std::size_t at = FindNoCase(line, kSpeedSwitch);
    if (at == std::string::npos)
        return line;
    std::size_t valueAt = at + kSpeedSwitchLength;
    std::size_t valueLength = valueAt < line.size() ? CharLengthAt(line, valueAt) : 0;
    if (valueLength == 1 && line[valueAt] >= '0' && line[valueAt] <= '9') {
        int level = line[valueAt] - '0';
        if (level <= kSlowestSpeed) {
            SaveSetting(c.settings, kSettingSpeed, std::to_string(level));
            c.state.acceptedSwitches += " /speed";
        } else {
            SaveSetting(c.settings, kSettingSpeed, std::to_string(kSlowestSpeed));
        }
    }
    return line.substr(0, at) + line.substr(valueAt + valueLength);
}

// "/TIMEOUT=" and the minutes (0 turns the limit off): the digits that follow, at most four, are stored,
// capped at a day; without a digit nothing is stored. The switch and its digits are cut out in every case.
std::string ApplyTimeout(const std::string& line, const CommandLineContext& c) {
    std::size_t at = FindNoCase(line, kTimeoutSwitch);
    if (at == std::string::npos)
        return line;
    std::size_t valueAt = at + kTimeoutSwitchLength;
    std::size_t end = valueAt;
    while (end < line.size() && end - valueAt < kTimeoutDigits && line[end] >= '0' && line[end] <= '9')
        ++end;
    if (end > valueAt) {
        const int minutes = std::min(std::stoi(line.substr(valueAt, end - valueAt)), kLongestTimeoutMinutes);
        SaveSetting(c.settings, kSettingTimeout, std::to_string(minutes));
        c.state.acceptedSwitches += " /timeout";
    }
    return line.substr(0, at) + line.substr(end);
}

// "/INPUT=" and how presses reach an installer: AUTO, MOUSE or MESSAGES, up to the next blank or "/". Any
// other word stores nothing and is not counted as accepted, as a bad "/TIMEOUT=" is not; the switch and its
// word are cut out in every case.
std::string ApplyInput(const std::string& line, const CommandLineContext& c) {
    const std::size_t at = FindNoCase(line, kInputSwitch);
    if (at == std::string::npos)
        return line;
    const std::size_t valueAt = at + kInputSwitchLength;
    const std::size_t end = std::min(line.find_first_of(" \t/", valueAt), line.size());
    const std::string word = line.substr(valueAt, end - valueAt);
    for (InputChoice choice : {InputChoice::Auto, InputChoice::Mouse, InputChoice::Messages}) {
        if (EqualsNoCase(word, InputChoiceText(choice))) {
            SaveSetting(c.settings, kSettingInput, InputChoiceText(choice));
            c.state.acceptedSwitches += " /input";
        }
    }
    return line.substr(0, at) + line.substr(end);
}

// "/REBOOT" stores that a run may restart Windows for an installer, "/REBOOT=0" that it may not; "=1" is the
// same as nothing. The switch and its value are cut out.
std::string ApplyReboot(const std::string& line, const CommandLineContext& c) {
    const std::size_t at = FindNoCase(line, kRebootSwitch);
    if (at == std::string::npos)
        return line;
    std::size_t end = at + kRebootSwitchLength;
    bool on = true;
    if (end + 1 < line.size() && line[end] == '=' && (line[end + 1] == '0' || line[end + 1] == '1')) {
        on = line[end + 1] == '1';
        end += 2;
    }
    SaveSetting(c.settings, kSettingReboot, on ? "1" : "0");
    c.state.acceptedSwitches += " /reboot";
    return line.substr(0, at) + line.substr(end);
}

// "/LOG=" and the report's path, quoted or up to the next blank, with its path variables expanded
// ("\\server\reports\%COMPUTERNAME%.txt"); the path keeps its letter case, so this is taken before the line
// is upper-cased. The switch and its path are cut out.
std::string ApplyLog(const std::string& line, const CommandLineContext& c) {
    const std::size_t at = FindNoCase(line, kLogSwitch);
    if (at == std::string::npos)
        return line;
    std::string rest = line.substr(at + kLogSwitchLength);
    std::string path;
    std::size_t end = 0;
    if (!rest.empty() && rest.front() == '"') {
        const std::size_t close = rest.find('"', 1);
        path = rest.substr(1, close == std::string::npos ? std::string::npos : close - 1);
        end = close == std::string::npos ? rest.size() : close + 1;
    } else {
        end = std::min(rest.find_first_of(" \t"), rest.size());
        path = rest.substr(0, end);
    }
    if (!Trim(path).empty())
        c.state.reportLog = c.pathVars.ExpandPathVars(Trim(path));
    return line.substr(0, at) + rest.substr(end);
}

// "/add" and a folder, or a file whose folder is meant: that folder becomes the scenario folder. The
// argument is the whole rest of the line, so an unquoted path with blanks (as the shell passes "%1") works.
void ApplyAdd(const std::string& line, const CommandLineContext& c) {
    std::string argument = Trim(StripQuotes(TrimLeft(line.substr(4))));
    std::string path = c.pathVars.ExpandPathVars(argument);
    if (PathExists(c.files, path)) {
        std::string folder = IsFolder(c.files, path) ? path : ParentFolder(path);
        if (!folder.empty())
            SaveSetting(c.settings, kSettingFolderScn, folder);
    }
    c.state.acceptedSwitches += "/add";
}

// "/inst" and a scenario file, or a folder whose scenarios are played in the order of its "Position.lst": a
// direct run of exactly the files that were checked. Anything else after "/inst" standing as a word is a
// direct run too, whose one package fails as unreadable: a deployment tool that started it must get a report
// and an exit code, not a main window that nobody will close.
void ApplyInst(const std::string& line, const CommandLineContext& c) {
    std::size_t at = FindNoCase(line, kInstSwitch);
    if (at == std::string::npos)
        return;
    const std::size_t after = at + kInstSwitchLength;
    const bool word = after == line.size() || IsBlank(line[after]) || line[after] == '"';
    std::string rest = Trim(line.substr(after));
    std::optional<std::string> token = NextToken(rest);
    if (!token && !word)
        return;
    // With no path (an empty variable quoted, an unclosed quote) the failed package names what followed.
    std::string path = token ? c.pathVars.ExpandPathVars(*token) : rest;
    const bool exists = PathExists(c.files, path);
    std::vector<std::string> scenarios;
    if (exists && IsFolder(c.files, path)) {
        if (c.folderScenarios)
            scenarios = c.folderScenarios(path);
    } else if (exists && EndsWith(ToUpper(path), ".SCN")) {
        scenarios.assign(1, path);
    }
    if (scenarios.empty() && word)
        scenarios.assign(1, path);
    if (scenarios.empty())
        return;

    c.state.directRun = true;
    if (c.loadLanguage)
        c.loadLanguage();
    c.state.runList = std::move(scenarios);
    c.state.currentScenario = c.state.runList.front();
}

// "/resume": the run that restarted Windows goes on; its resume record says what remains.
bool ApplyResume(std::string& line, const CommandLineContext& c) {
    bool found = false;
    line = RemoveSwitch(line, kResumeLineSwitch, found);
    if (!found)
        return false;
    c.state.resumeRun = true;
    c.state.directRun = true;
    c.state.acceptedSwitches += " /resume";
    if (c.loadLanguage)
        c.loadLanguage();
    return true;
}

}  // namespace

std::vector<std::string> FolderScenarioPaths(FileSystem& files, Codec& codec, const std::string& folder) {
    std::vector<std::string> paths;
    for (const std::string& name : OrderedScenarioNames(files, codec, folder))
        paths.push_back(AddBackslash(folder) + name + ".SCN");
    return paths;
}

std::string RemoveSwitch(const std::string& line, const std::string& switchText, bool& found) {
    found = false;
    if (switchText.empty())
        return line;
    std::size_t at = FindNoCase(line, switchText);
    if (at == std::string::npos)
        return line;
    std::size_t end = at + switchText.size();
    bool wordStart = at == 0 || IsBlank(line[at - 1]);
    bool wordEnd = end == line.size() || IsBlank(line[end]);
    if (!wordStart || !wordEnd)
        return line;
    found = true;
    return line.substr(0, at) + line.substr(end);
}

std::optional<std::string> NextToken(std::string& text) {
    std::string trimmed = Trim(text);
    std::string token;
    std::string rest;
    if (!trimmed.empty() && trimmed.front() == '"') {
        std::size_t close = trimmed.find('"', 1);
        if (close == std::string::npos)
            return std::nullopt;
        token = trimmed.substr(1, close - 1);
        rest = trimmed.substr(close + 1);
    } else {
        std::size_t end = trimmed.find_first_of(" \t/\"");
        token = trimmed.substr(0, end);
        rest = end == std::string::npos ? std::string{} : trimmed.substr(end);
    }
    token = Trim(token);
    if (token.empty())
        return std::nullopt;
    text = Trim(rest);
    return token;
}

void ParseCommandLine(const std::string& commandLine, const CommandLineContext& context) {
    std::string line = Trim(commandLine);
    if (CharCount(line) < kShortestLine)
        return;
    line = ApplyLog(line, context);
    line = ToUpper(line);

    bool found = false;
    line = RemoveSwitch(line, "/nostat", found);
    if (found) {
        context.state.noStatistics = true;
        context.state.acceptedSwitches = "/nostat";
    }
    if (!context.state.reportLog.empty())
        context.state.acceptedSwitches += " /log";

    if (CharCount(line) > kShortestLine)
        line = ApplySpeed(line, context);
    line = ApplyTimeout(line, context);
    line = ApplyInput(line, context);
    line = ApplyReboot(line, context);

    // Removing a switch in front leaves its blank, so "/nostat /add C:\x" still counts as an "/add" line.
    if (TrimLeft(line).compare(0, 4, "/ADD") == 0)
        ApplyAdd(TrimLeft(line), context);

    if (!ApplyResume(line, context))
        ApplyInst(line, context);
}

}  // namespace velmora
