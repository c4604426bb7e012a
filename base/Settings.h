#pragma once
// Every setting of the program by section, key and default, and the disc settings file "velmora.ini" beside
// the program with its copy into the per-user store.
#include <optional>
#include <string>

#include "base/PathVariables.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/ProfileFile.h"
#include "platform/SettingsStore.h"

namespace velmora {

// One per-user setting. Values are strings; numbers are stored as their decimal text.
struct SettingKey {
    const char* section;
    const char* key;
    const char* def;
};

// The scenario folder the main window lists (a real path).
inline constexpr SettingKey kSettingFolderScn{"Path", "FolderSCN", ""};
// The folder where the last browse for an installer started.
inline constexpr SettingKey kSettingFolderBrowseExe{"Path", "FolderBrowseExe", "c:\\"};
// Playback speed level, 0 fastest to 2 slowest.
inline constexpr SettingKey kSettingSpeed{"Install", "Speed", "2"};
// "1" once the scenario file type has been registered or offered.
inline constexpr SettingKey kSettingRegistry{"Install", "Registry", "0"};
// The main window stays above others when greater than 0.
inline constexpr SettingKey kSettingTopMost{"View", "TopMost", "0"};
// "1" suppresses the notice after the package dialog's OK.
inline constexpr SettingKey kSettingFirstTip{"View", "FirstTip", "0"};
// "1" suppresses the pause notice.
inline constexpr SettingKey kSettingPauseTip{"View", "PauseTip", "0"};
// The current language name; empty means the user's default language. Also read directly from the registry
// (kLanguageRegistryKey in Language.h).
inline constexpr SettingKey kSettingLanguage{"Language", "Language", ""};

inline constexpr int kSlowestSpeed = 2;
// How long (minutes) the player waits for one step's window before the package fails; 0 waits for ever.
inline constexpr SettingKey kSettingTimeout{"Install", "Timeout", "0"};
// The longest step time-out that is stored (a day); a larger one is taken as this.
inline constexpr int kLongestTimeoutMinutes = 1440;
// The folder where each run writes its report, in a file named by the time it started; empty for none.
inline constexpr SettingKey kSettingReportFolder{"Install", "ReportFolder", ""};
// "1": when an installer asks for a restart and packages remain, the run restarts Windows and goes on at the
// user's next logon.
inline constexpr SettingKey kSettingReboot{"Install", "Reboot", "0"};
// How an unattended replay's presses reach the installer: "AUTO" (the mouse where the desktop takes input,
// window messages elsewhere), "MOUSE" (synthetic input only) or "MESSAGES" (window messages everywhere).
inline constexpr SettingKey kSettingInput{"Install", "Input", "AUTO"};
enum class InputChoice { Auto, Mouse, Messages };
// The stored choice; any other text (case and blanks around it aside) is AUTO.
InputChoice GetInputChoice(SettingsStore& store);
// "AUTO", "MOUSE" or "MESSAGES": what is stored and what "/INPUT=" takes.
const char* InputChoiceText(InputChoice choice);
// The step time-out in minutes, 0 to kLongestTimeoutMinutes: a negative or unreadable value is 0 (off).
int GetTimeoutMinutes(SettingsStore& store);

std::string GetSetting(SettingsStore& store, const SettingKey& setting);
void SaveSetting(SettingsStore& store, const SettingKey& setting, const std::string& value);
// The stored decimal number (leading blanks and a sign allowed, trailing text ignored); the default's number
// when the value does not start with one.
int GetSettingNumber(SettingsStore& store, const SettingKey& setting);
// The stored speed level, 0 to kSlowestSpeed, or nothing when the stored text is not one of them (blanks
// around it allowed). Only the levels are ever stored; what a hand-edited value means is for each reader to
// say.
std::optional<int> GetSpeedLevel(SettingsStore& store);

// The disc settings file: section and keys.
inline constexpr const char* kIniFileName = "velmora.ini";
inline constexpr const char* kIniSection = "General";
inline constexpr const char* kIniSpeedInstall = "SpeedInstall";
inline constexpr const char* kIniScnFolder = "SCNFolder";
inline constexpr const char* kIniLanguage = "Language";
inline constexpr const char* kIniScnFolderDefault = "%cdrom%\\Folder SCN";
// The status text of a removable start without its settings file.
inline constexpr const char* kIniMissingStatus = "Не найден файл настроек velmora.ini";

// The path of "velmora.ini" beside the program.
std::string IniFilePath(const std::string& programFolder);

struct IniReadResult {
    std::string iniStatus;  // the status text when the file is missing, else empty
    std::string language;   // the file's Language key (start-up replaces it with the per-user value)
};

// Copies the disc settings into the per-user store. Called only when the program runs from removable media.
IniReadResult ReadIniSettings(const std::string& programFolder, FileSystem& files, ProfileFile& profile,
                              SettingsStore& settings, const PathVariables& pathVars);

// Writes one key of section General; an empty key or value writes nothing and counts as done. A failed
// write is reported in a message box and answered false.
bool WriteIniSetting(const std::string& programFolder, const std::string& key, const std::string& value,
                     ProfileFile& profile, Dialogs& dialogs);

}  // namespace velmora
