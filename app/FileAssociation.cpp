#include "app/FileAssociation.h"

#include "app/Startup.h"
#include "base/Settings.h"
#include "base/Utilities.h"

namespace velmora {
namespace {

constexpr const char* kTypeDescription = "Сценарий установки программ";
constexpr const char* kTakeOverQuestion =
    "Желаете ли Вы сделать программу Velmora Runwright \r\nпрограммой по умолчания для файлов .scn?";
constexpr const char* kLanguageSection = "Asociating";

bool Write(Registry& registry, const std::string& subkey, const std::string& value) {
    return registry.SetString(RegistryRoot::ClassesRoot, subkey, "", value);
}

}  // namespace

std::string AssociatedExePath(const std::string& programFolder) {
    return AddBackslash(programFolder) + "velmora.exe";
}

std::string ScnOpenCommand(const std::string& exePath) {
    // "/add" takes the rest of the line as its path, so the shell's unquoted file name may hold blanks.
    return "\"" + exePath + "\" /add %1";
}

std::string ScnInstallCommand(const std::string& exePath) {
    // "/inst" ends its path at the first blank unless the path is quoted.
    return "\"" + exePath + "\" /inst \"%1\"";
}

bool AssociateScnFiles(const AssociationContext& c, bool force, WindowId owner) {
    const std::string exePath = AssociatedExePath(c.system.ProgramFolder());
    const std::string current = c.registry.GetString(RegistryRoot::ClassesRoot, kScnTypeKey, "");
    if (!force && !current.empty() && current != kScnProgId) {
        // Another program owns the type: its keys are not ours to change unless the user hands it over.
        MsgResult answer = c.dialogs.Message(owner, kTakeOverQuestion, kProgramTitle, MsgButtons::YesNo,
                                             MsgIcon::Information, MsgDefault::Second);
        if (answer != MsgResult::Yes)
            return true;
    }
    const std::string progId = kScnProgId;
    const std::pair<std::string, std::string> keys[] = {
        {kScnTypeKey, kScnProgId},
        {progId, kTypeDescription},
        {progId + "\\shell", "Open"},
        {progId + "\\shell\\Open", c.language.LangText("Открыть в Velmora Runwright", kLanguageSection, 1)},
        {progId + "\\DefaultIcon", exePath + ",0"},
        {progId + "\\shell\\Open\\command", ScnOpenCommand(exePath)},
        {progId + "\\shell\\Install", c.language.LangText("Инсталлировать", kLanguageSection, 4)},
        {progId + "\\shell\\Install\\command", ScnInstallCommand(exePath)},
    };
    bool written = true;
    for (const auto& [subkey, value] : keys)
        written = Write(c.registry, subkey, value) && written;
    return written;
}

void CheckAssociationOnce(const AssociationContext& c, WindowId owner) {
    if (IsRemovableStart(c.system) || GetSetting(c.settings, kSettingRegistry) != "0")
        return;
    if (AssociateScnFiles(c, false, owner))
        SaveSetting(c.settings, kSettingRegistry, "1");
}

void AssociateFromMenu(const AssociationContext& c, WindowId owner) {
    if (AssociateScnFiles(c, true, owner)) {
        SaveSetting(c.settings, kSettingRegistry, "1");
        return;
    }
    c.dialogs.Message(
        owner,
        c.language.LangText("Не удалось зарегистрировать тип файлов .scn: Windows не дала записать "
                            "его разделы реестра.",
                            kLanguageSection, 5),
        kProgramTitle, MsgButtons::Ok, MsgIcon::Critical, MsgDefault::First);
}

}  // namespace velmora
