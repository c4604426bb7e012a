#include "base/Settings.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>

#include "base/Utilities.h"

namespace velmora {
namespace {

// The reader copies at most one character less than these.
constexpr std::size_t kIniBufferSize = 128;
constexpr std::size_t kIniLanguageBufferSize = 100;

std::optional<int> LeadingNumber(const std::string& text) {
    std::string t = TrimLeft(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        negative = t[i++] == '-';
    if (i >= t.size() || !std::isdigit(static_cast<unsigned char>(t[i])))
        return std::nullopt;
    long long n = 0;
    for (; i < t.size() && std::isdigit(static_cast<unsigned char>(t[i])); ++i) {
        n = n * 10 + (t[i] - '0');
        if (n > 1000000000)
            break;  // large enough to be out of every range the program knows
    }
    return static_cast<int>(negative ? -n : n);
}

}  // namespace

std::string GetSetting(SettingsStore& store, const SettingKey& setting) {
    return store.Get(setting.section, setting.key, setting.def);
}

void SaveSetting(SettingsStore& store, const SettingKey& setting, const std::string& value) {
    store.Save(setting.section, setting.key, value);
}

int GetSettingNumber(SettingsStore& store, const SettingKey& setting) {
    if (auto n = LeadingNumber(GetSetting(store, setting)))
        return *n;
    return LeadingNumber(setting.def).value_or(0);
}

int GetTimeoutMinutes(SettingsStore& store) {
    return std::clamp(GetSettingNumber(store, kSettingTimeout), 0, kLongestTimeoutMinutes);
}

InputChoice GetInputChoice(SettingsStore& store) {
    const std::string text = Trim(GetSetting(store, kSettingInput));
    for (InputChoice choice : {InputChoice::Mouse, InputChoice::Messages})
        if (EqualsNoCase(text, InputChoiceText(choice)))
            return choice;
    return InputChoice::Auto;
}

const char* InputChoiceText(InputChoice choice) {
    switch (choice) {
        case InputChoice::Mouse:
            return "MOUSE";
        case InputChoice::Messages:
            return "MESSAGES";
        case InputChoice::Auto:
            break;
    }
    return "AUTO";
}

std::optional<int> GetSpeedLevel(SettingsStore& store) {
    const std::string text = Trim(GetSetting(store, kSettingSpeed));
    int level = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), level);
    if (error != std::errc{} || end != text.data() + text.size() || level < 0 || level > kSlowestSpeed)
        return std::nullopt;
    return level;
}

std::string IniFilePath(const std::string& programFolder) {
    return AddBackslash(programFolder) + kIniFileName;
}

IniReadResult ReadIniSettings(const std::string& programFolder, FileSystem& files, ProfileFile& profile,
                              SettingsStore& settings, const PathVariables& pathVars) {
    IniReadResult result;
    std::string file = IniFilePath(programFolder);
    if (!PathExists(files, file)) {
        result.iniStatus = kIniMissingStatus;
        return result;
    }

    // A missing key reads as "2", so an existing file always sets the speed.
    std::string speed = profile.GetString(file, kIniSection, kIniSpeedInstall, "2", kIniBufferSize);
    if (!speed.empty()) {
        std::string level = speed == "0" ? "0" : speed == "1" ? "1" : "2";
        SaveSetting(settings, kSettingSpeed, level);
    }

    std::string folder =
        profile.GetString(file, kIniSection, kIniScnFolder, kIniScnFolderDefault, kIniBufferSize);
    if (CharCount(folder) > 1) {
        std::string expanded = pathVars.ExpandPathVars(folder);
        // A file of that name is no scenario folder.
        if (IsFolder(files, expanded))
            SaveSetting(settings, kSettingFolderScn, expanded);
    }

    result.language = profile.GetString(file, kIniSection, kIniLanguage, "", kIniLanguageBufferSize);
    return result;
}

bool WriteIniSetting(const std::string& programFolder, const std::string& key, const std::string& value,
                     ProfileFile& profile, Dialogs& dialogs) {
    if (key.empty() || value.empty())
        return true;
    if (profile.WriteString(IniFilePath(programFolder), kIniSection, key, value))
        return true;
    dialogs.Message(0, "Запись в файл - провалена. Возможно\n установлен атрибут только для чтения",
                    kProgramTitle, MsgButtons::Ok, MsgIcon::None, MsgDefault::First);
    return false;
}

}  // namespace velmora
