#pragma once
// The command line: "/nostat", "/SPEED=" with one digit, "/TIMEOUT=" with minutes, "/INPUT=" with AUTO, MOUSE
// or MESSAGES, "/LOG=" with the run report's path, "/REBOOT" (or "/REBOOT=0"), "/add" with a folder or file,
// "/inst" with a scenario file or a folder of them, and "/resume". Switches are matched without regard to
// letter case.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/PathVariables.h"
#include "base/SharedState.h"
#include "platform/Codec.h"
#include "platform/FileSystem.h"
#include "platform/SettingsStore.h"

namespace velmora {

// What the command line changes besides the shared state.
struct CommandLineContext {
    SharedState& state;
    SettingsStore& settings;
    FileSystem& files;
    const PathVariables& pathVars;
    // Loads the language once "/inst" has decided on a direct run (directRun is already set).
    std::function<void()> loadLanguage;
    // The scenario files of a folder in the order its "Position.lst" gives them (FolderScenarioPaths);
    // without it "/inst" takes no folder.
    std::function<std::vector<std::string>(const std::string& folder)> folderScenarios = {};
};

// The full paths of the folder's scenarios, in the order of its "Position.lst", as "Install all" plays them.
std::vector<std::string> FolderScenarioPaths(FileSystem& files, Codec& codec, const std::string& folder);

// Reads and applies the command line (the program path already removed). A line shorter than seven
// characters is ignored. The line is upper-cased first, so paths reach the program in upper case.
// "/inst" with an existing scenario file, or a folder with at least one, sets directRun, runList and
// currentScenario; the caller then opens the control panel instead of the main window. "/resume" sets
// resumeRun and directRun instead, and "/inst" is not looked at.
void ParseCommandLine(const std::string& commandLine, const CommandLineContext& context);

// The line without the first occurrence of the switch, when that occurrence stands as a whole word (at the
// start or after a blank, and before a blank or the end); the blanks around it stay. Otherwise the line
// unchanged and found false: a later occurrence is not looked for.
std::string RemoveSwitch(const std::string& line, const std::string& switchText, bool& found);

// The first token of the text: a quoted text without its quotes, or the text up to the first blank, "/" or
// double quote. The text is left with what follows, trimmed. Nothing (and the text unchanged) when the
// token is empty or its closing quote is missing.
std::optional<std::string> NextToken(std::string& text);

}  // namespace velmora
