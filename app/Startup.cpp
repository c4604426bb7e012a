#include "app/Startup.h"

#include "app/CommandLine.h"
#include "base/Settings.h"
#include "base/Utilities.h"

namespace velmora {

bool EnsureSingleInstance(InstanceLock& lock, Dialogs& dialogs) {
    if (lock.TryAcquire(kInstanceName))
        return true;
    dialogs.Message(0, "Velmora Runwright is started", kProgramTitle, MsgButtons::Ok, MsgIcon::None,
                    MsgDefault::First);
    return false;
}

bool IsRemovableStart(SystemInfo& system) {
    std::string root = system.ProgramFolder().substr(0, 3);
    if (root.compare(0, 2, "\\\\") == 0)
        return false;
    DriveType type = system.GetDriveType(root);
    return type == DriveType::CdRom || type == DriveType::Removable;
}

StartupOutcome Main(StartupPorts& ports, SharedState& state, PathVariables& pathVars, Language& language,
                    const std::function<std::vector<std::string>(const std::string&)>& folderScenarios) {
    if (!EnsureSingleInstance(ports.instanceLock, ports.dialogs))
        return StartupOutcome::SecondInstance;

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
