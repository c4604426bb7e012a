#pragma once
#include <array>
#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/ProfileFile.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"

namespace velmora {

// Where the chosen language is kept for the current user (value "Language").
inline constexpr const char* kLanguageRegistryKey =
    "Software\\VB and VBA Program Settings\\Velmora\\Language";
inline constexpr const char* kLanguageRegistryValue = "Language";

// An empty text stays empty and a text shorter than the affix is kept; otherwise the affix is put at the end
// (or, with atStart, in front) unless it already stands there.
std::string EnsureAffix(const std::string& text, bool atStart, const std::string& affix);
// The template with its first "%s" (any case) replaced by the value; a template without one is kept.
std::string FormatPercentS(const std::string& templateText, const std::string& value);
// The language name for a Windows language identifier; only whole identifiers count.
std::string DefaultLanguageName(int langId);

// The language tables: every text of the program by section and key, loaded from a language file, with the
// built-in text as the answer wherever the file has none.
class Language {
  public:
    Language(FileSystem& files, ProfileFile& profile, Dialogs& dialogs)
        : files_(files), profile_(profile), dialogs_(dialogs) {}

    // Sets languageName from the per-user registry value, or empty.
    void ReadLanguageSetting(Registry& registry);
    // Fills the tables for languageName (the user's default language when empty) from the "language" folder
    // beside the program. A missing file is reported unless the language is Russian, whose texts are built
    // in, or the run is direct; every lookup then gives the built-in text.
    void LoadLanguage(const std::string& programFolder, int userLangId, bool directRun);

    // The loaded text, or empty for a missing text, an unknown section or a key out of range.
    std::string GetLangText(const std::string& section, int key) const;
    // The loaded text, or def when there is none.
    std::string LangText(const std::string& def, const std::string& section, int key) const;
    std::string LangTextAffix(const std::string& def, const std::string& section, int key, bool atStart,
                              const std::string& affix) const;
    std::string LangTextFormat(const std::string& def, const std::string& section, int key,
                               const std::string& value) const;

    std::string languageName;
    std::string languageFile;

    struct Table {
        const char* name;
        int keys;
    };
    static const std::array<Table, 18> kTables;

  private:
    FileSystem& files_;
    ProfileFile& profile_;
    Dialogs& dialogs_;
    // One table a section, in the order of kTables; 1-based, so entry 0 is never used.
    std::array<std::vector<std::string>, 18> tables_;
};

}  // namespace velmora
