#include "app/Startup.h"

#include <utility>

#include "app/CommandLine.h"
#include "base/Settings.h"
#include "base/Utilities.h"

namespace velmora {

namespace {

using FolderScenarios = std::function<std::vector<std::string>(const std::string&)>;

// The user's settings as they are, with nothing stored: a start that another instance holds off reads its
// command line without changing what the running instance reads.
class UnsavedSettings : public SettingsStore {
  public:
    explicit UnsavedSettings(SettingsStore& stored) : stored_(stored) {}
    std::string Get(const std::string& section, const std::string& key, const std::string& def) override {
        return stored_.Get(section, key, def);
    }
    void Save(const std::string&, const std::string&, const std::string&) override {}

  private:
    SettingsStore& stored_;
};

// Whether a start that another instance holds off is unattended: its command line read as the run would
// read it, into a state that replaces `state` (and with the language loaded) only when it is.
bool IsUnattendedStart(StartupPorts& ports, SharedState& state, PathVariables& pathVars, Language& language,
                       const FolderScenarios& folderScenarios) {
    pathVars.Init(ports.system, ports.registry);
    language.ReadLanguageSetting(ports.registry);
    UnsavedSettings settings(ports.settings);
    SharedState read;
    const std::string programFolder = ports.system.ProgramFolder();
    const int userLangId = ports.system.UserDefaultLangId();
    ParseCommandLine(
        ports.system.CommandLineArguments(),
        CommandLineContext{read, settings, ports.files, pathVars,
                           [&] { language.LoadLanguage(programFolder, userLangId, true); }, folderScenarios});
    if (!read.directRun)
        return false;
    state = std::move(read);
    return true;
}

}  // namespace

bool IsRemovableStart(SystemInfo& system) {
    std::string root = system.ProgramFolder().substr(0, 3);
    if (root.compare(0, 2, "\\\\") == 0)
        return false;
    DriveType type = system.GetDriveType(root);
    return type == DriveType::CdRom || type == DriveType::Removable;
}

StartupOutcome Main(StartupPorts& ports, SharedState& state, PathVariables& pathVars, Language& language,
                    const FolderScenarios& folderScenarios) {
    if (!ports.instanceLock.TryAcquire(kInstanceName)) {
        if (IsUnattendedStart(ports, state, pathVars, language, folderScenarios))
            return StartupOutcome::InstanceHeld;
        ports.dialogs.Message(0, "Velmora Runwright is started", kProgramTitle, MsgButtons::Ok, MsgIcon::None,
                              MsgDefault::First);
        return StartupOutcome::SecondInstance;
    }

    pathVars.Init(ports.system, ports.registry);
    std::string programFolder = ports.system.ProgramFolder();

    std::string discLanguage;
    if (IsRemovableStart(ports.system)) {
        IniReadResult ini =
            ReadIniSettings(programFolder, ports.files, ports.profile, ports.settings, pathVars);
        state.discSettingsStatus = ini.iniStatus;
        discLanguage = ini.language;
    }

    // The user's own choice wins; a disc's language applies where the user has made none, so a disc made
    // for a language starts in it on a fresh machine.
    language.ReadLanguageSetting(ports.registry);
    if (language.languageName.empty())
        language.languageName = discLanguage;

    int userLangId = ports.system.UserDefaultLangId();
    ParseCommandLine(
        ports.system.CommandLineArguments(),
        CommandLineContext{state, ports.settings, ports.files, pathVars,
                           [&] { language.LoadLanguage(programFolder, userLangId, state.directRun); },
                           folderScenarios});
    if (state.resumeRun)
        return StartupOutcome::Resume;
    if (state.directRun)
        return StartupOutcome::DirectRun;

    language.LoadLanguage(programFolder, userLangId, state.directRun);
    return StartupOutcome::ShowMainWindow;
}

}  // namespace velmora
