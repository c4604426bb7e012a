// The command line arrives from the shell and from other programs, "velmora.ini" and the language files
// from discs: none of them may crash start-up, and the path conversions must keep their promises on any
// text.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/CommandLine.h"
#include "base/Language.h"
#include "base/Settings.h"
#include "base/Utilities.h"
#include "platform/doubles/Fakes.h"
#include "platform/doubles/MemoryFileSystem.h"
#include "platform/doubles/MemoryProfileFile.h"

namespace {

void Require(bool condition) {
    if (!condition)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmora;
    std::string input(reinterpret_cast<const char*>(data), size);

    MemoryFileSystem files;
    files.AddFile("C:\\Setups\\one.scn");
    files.AddFolder("E:\\Folder SCN");
    FakeSystemInfo system;
    system.programFolder = "E:\\";
    system.driveRoots = {"C:\\", "E:\\", "F:\\"};
    system.driveTypes = {{"C:\\", DriveType::Fixed}, {"E:\\", DriveType::CdRom}, {"F:\\", DriveType::CdRom}};
    MemoryRegistry registry;
    registry.SetString(RegistryRoot::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion",
                       "ProgramFilesDir", "C:\\Program Files");
    PathVariables vars(files);
    vars.Init(system, registry);
    MemorySettingsStore settings;
    SharedState state;

    ParseCommandLine(input, CommandLineContext{state, settings, files, vars, {}});
    Require(state.runList.size() == (state.directRun ? 1u : 0u));
    // The command line stores a level or nothing, so the store always holds one.
    Require(GetSpeedLevel(settings).has_value());

    std::string rest = input;
    if (auto token = NextToken(rest))
        Require(!token->empty() && rest.size() < input.size());
    bool found = false;
    std::string removed = RemoveSwitch(input, "/nostat", found);
    Require(found ? removed.size() + 7 == input.size() : removed == input);
    Require(StripQuotes(input).size() <= input.size());
    Require(ToUpper(input).size() == input.size() && ToLower(input).size() == input.size());

    // The same bytes as the disc settings file and as a language file.
    files.AddFile("E:\\velmora.ini", input);
    MemoryProfileFile profile(files);
    ReadIniSettings("E:\\", files, profile, settings, vars);
    files.AddFile("E:\\language\\English.lng", input);
    FakeDialogs dialogs;
    Language language(files, profile, dialogs);
    language.languageName = "English";
    language.LoadLanguage("E:\\", 1033, false);
    Require(dialogs.messages.empty());
    for (const auto& table : Language::kTables) {
        Require(language.GetLangText(table.name, table.keys + 1).empty());
        language.LangTextFormat("", table.name, 1, input);
    }
    return 0;
}
