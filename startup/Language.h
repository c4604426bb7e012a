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

std::string EnsureAffix(const std::string& text, bool atStart, const std::string& affix);
std::string FormatPercentS(const std::string& templateText, const std::string& value);
std::string DefaultLanguageName(int langId);

// The language tables: every text of the program by section and key, loaded from a language file, with the
// built-in text as the answer wherever the file has none.
class Language {
  public:
    Language(FileSystem& files, ProfileFile& profile, Dialogs& dialogs)
        : files_(files), profile_(profile), dialogs_(dialogs) {}

    // Sets g_Language from the per-user registry value, or empty.
    void ReadLanguageSetting(Registry& registry);
    // Fills the tables for g_Language from the "language" folder beside the program. A missing file is
    // reported unless the language is Russian or the run is direct.
    void LoadLanguage(const std::string& programFolder, int userLangId, bool directRun);

    std::string GetLangText(const std::string& section, int key) const;
    std::string LangText(const std::string& def, const std::string& section, int key) const;
    std::string LangTextAffix(const std::string& def, const std::string& section, int key, bool atStart,
                              const std::string& affix) const;
    std::string LangTextFormat(const std::string& def, const std::string& section, int key,
                               const std::string& value) const;

    std::string g_Language;
    std::string g_LangFile;

    struct Table {
        const char* name;
        int keys;
    };
    static const std::array<Table, 17> kTables;

  private:
    FileSystem& files_;
    ProfileFile& profile_;
    Dialogs& dialogs_;
    std::array<std::vector<std::string>, 17> tables_;
};

}  // namespace velmora
