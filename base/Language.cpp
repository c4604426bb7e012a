#include "base/Language.h"

#include <optional>

#include "base/Utilities.h"

namespace velmora {
namespace {

// The reader copies at most one character less than this.
constexpr std::size_t kTextBufferSize = 2048;

// A name that could lead out of the language folder is no language name.
bool IsPlainName(const std::string& name) {
    return name.find_first_of("\\/:") == std::string::npos && name.find("..") == std::string::npos;
}

// The table index a key names: the decimal number itself, as the file writes it ("7", never "07"), up to
// the table's highest key.
std::optional<std::size_t> KeyNumber(const std::string& key, int highest) {
    if (key.empty() || key.size() > 4 || key.front() == '0' ||
        key.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int number = std::stoi(key);
    return number <= highest ? std::optional<std::size_t>(static_cast<std::size_t>(number)) : std::nullopt;
}

// Cuts a UTF-8 text to at most n code points, as the reader of one value cuts it to its buffer.
std::string CutCodePoints(const std::string& text, std::size_t n) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && count++ == n)
            return text.substr(0, i);
    }
    return text;
}

}  // namespace

const std::array<Language::Table, 18> Language::kTables{{
    {"main", 26},
    {"MainMenu", 61},
    {"About", 6},
    {"Future", 5},
    {"Pause", 6},
    {"Progress", 1},
    {"Statistic", 9},
    {"Stels", 46},
    {"Wizard", 57},
    {"Asociating", 5},
    {"MdlFile", 8},
    {"Resizeble", 4},
    {"Project", 1},
    {"Autor", 3},
    {"New", 36},
    {"Error", 2},
    {"frmWizardPack", 23},
    {"Report", 75},
}};

std::string EnsureAffix(const std::string& text, bool atStart, const std::string& affix) {
    if (text.empty() || text.size() < affix.size())
        return text;
    if (atStart)
        return text.compare(0, affix.size(), affix) == 0 ? text : affix + text;
    return EndsWith(text, affix) ? text : text + affix;
}

std::string FormatPercentS(const std::string& templateText, const std::string& value) {
    std::size_t at = FindNoCase(templateText, "%s");
    if (at == std::string::npos)
        return templateText;
    return templateText.substr(0, at) + value + templateText.substr(at + 2);
}

std::string DefaultLanguageName(int langId) {
    switch (langId) {
        case 1031:
            return "German";
        case 1049:
            return "Russian";
        case 1058:
            return "Ukrainian";
        case 1059:
            return "Belorussian";
        default:
            return "English";
    }
}

void Language::ReadLanguageSetting(Registry& registry) {
    languageName =
        registry.GetString(RegistryRoot::CurrentUser, kLanguageRegistryKey, kLanguageRegistryValue);
}

void Language::LoadLanguage(const std::string& programFolder, int userLangId, bool directRun) {
    for (auto& table : tables_)
        table.clear();
    if (languageName.empty() || !IsPlainName(languageName))
        languageName = DefaultLanguageName(userLangId);
    languageFile = AddBackslash(programFolder) + "language\\" + languageName + ".lng";

    // A folder of that name is no language file.
    bool present = PathExists(files_, languageFile) && !IsFolder(files_, languageFile);
    if (!present && !EqualsNoCase(languageName, "Russian") && !directRun) {
        dialogs_.Message(0, "Отсутствует файл перевода " + languageFile, "Ошибка загрузки языка",
                         MsgButtons::Ok, MsgIcon::None, MsgDefault::First);
    }
    for (std::size_t t = 0; t < kTables.size(); ++t) {
        auto& table = tables_[t];
        table.assign(static_cast<std::size_t>(kTables[t].keys) + 1, std::string{});
        if (!present)
            continue;
        // A section at a time: under Wine every single read searches the whole file again, which made the
        // tables cost a tenth of a second of every start.
        for (const auto& [key, value] : profile_.GetSection(languageFile, kTables[t].name)) {
            const std::optional<std::size_t> number = KeyNumber(key, kTables[t].keys);
            // The first of two lines with one key counts, as it does for the system's reader of one key.
            if (number && table[*number].empty())
                table[*number] = CutCodePoints(value, kTextBufferSize - 1);
        }
    }
}

std::string Language::GetLangText(const std::string& section, int key) const {
    for (std::size_t t = 0; t < kTables.size(); ++t) {
        if (!EqualsNoCase(section, kTables[t].name))
            continue;
        const auto& table = tables_[t];
        if (key < 1 || static_cast<std::size_t>(key) >= table.size())
            return {};
        return table[static_cast<std::size_t>(key)];
    }
    return {};
}

std::string Language::LangText(const std::string& def, const std::string& section, int key) const {
    std::string text = GetLangText(section, key);
    return text.empty() ? def : text;
}

std::string Language::LangTextAffix(const std::string& def, const std::string& section, int key, bool atStart,
                                    const std::string& affix) const {
    return EnsureAffix(LangText(def, section, key), atStart, affix);
}

std::string Language::LangTextFormat(const std::string& def, const std::string& section, int key,
                                     const std::string& value) const {
    return FormatPercentS(LangText(def, section, key), value);
}

}  // namespace velmora
