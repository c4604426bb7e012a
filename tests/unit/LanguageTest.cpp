#include "base/Language.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/unit/TextDoubles.h"

namespace velmora {
namespace {

class LanguageTest : public ::testing::Test, public TextDoubles {
  protected:
    void Load(const std::string& name, int userLangId = 1033, bool directRun = false) {
        language.languageName = name;
        language.LoadLanguage("C:\\Tools", userLangId, directRun);
    }
};

TEST_F(LanguageTest, LoadsKnownSectionsAndKeysInRangeAndAMissingFileLeavesOnlyTheBuiltInTexts) {
    files.AddFile("C:\\Tools\\language\\English.lng",
                  "[main]\r\n1=Package list\r\n26=Last\r\n27=Beyond\r\n[Other]\r\n1=Unknown\r\n"
                  "[New]\r\n18=Package '%s' exists\r\n");
    Load("English");
    EXPECT_EQ(language.GetLangText("MAIN", 1), "Package list");
    EXPECT_EQ(language.GetLangText("main", 26), "Last");
    for (const auto& [section, key] : std::vector<std::pair<std::string, int>>{
             {"main", 27}, {"Other", 1}, {"main", 0}, {"main", -5}, {"nosuch", 1}})
        EXPECT_EQ(language.LangText("Список", section, key), "Список") << section << key;
    EXPECT_EQ(language.LangTextFormat("Пакет 'Setup' существует", "New", 18, "Setup"),
              "Package 'Setup' exists");
    EXPECT_TRUE(dialogs.messages.empty());

    files.AddFolder("C:\\Tools\\language\\German.lng");  // a folder named like the file counts as missing
    Load("German");
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(language.LangText("Список", "main", 1), "Список");
}

TEST_F(LanguageTest, MissingFileIsSilentForRussianAndInADirectRun) {
    Load("", 1049);
    EXPECT_EQ(language.languageName, "Russian");
    Load("rUSSIAN");
    Load("English", 1033, true);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(LanguageTest, NameLeadingOutOfTheFolderFallsBackToTheDefault) {
    files.AddFile("C:\\evil.lng", "[main]\r\n1=Evil\r\n");
    files.AddFile("C:\\Tools\\language\\German.lng", "[main]\r\n1=Eins\r\n");
    Load("..\\..\\evil", 1031);
    EXPECT_EQ(language.languageName, "German");
    EXPECT_EQ(language.GetLangText("main", 1), "Eins");
}

TEST(LanguageTextTest, DefaultNamesAffixesAndPlaceholders) {
    EXPECT_EQ(DefaultLanguageName(3079), "English");  // only whole identifiers count: not German in Austria
    EXPECT_EQ(EnsureAffix("a", false, "..."), "a");
    EXPECT_EQ(FormatPercentS("%S and %s", "x"), "x and %s");
}

// The shipped language file must stay readable by Windows' INI reader in any code page: ASCII only, CRLF
// line ends, no byte-order mark, every section headed once in table order and only numbered keys in range.
TEST(ShippedLanguageFileTest, EnglishIsPlainAsciiWithAllSectionsAndKeysInRange) {
    const std::string text = TextDoubles::ShippedEnglish();
    ASSERT_FALSE(text.empty());
    std::vector<std::string> sections;
    for (std::size_t start = 0, end = 0; start < text.size(); start = end + 2) {
        end = text.find("\r\n", start);
        ASSERT_NE(end, std::string::npos) << "no CRLF after " << start;
        const std::string line = text.substr(start, end - start);
        for (char c : line)
            ASSERT_TRUE(c >= ' ' && c < 0x7F) << line;  // no bare line feed, no byte beyond ASCII
        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[' && line.back() == ']') {
            sections.push_back(line.substr(1, line.size() - 2));
            continue;
        }
        const std::string key = line.substr(0, line.find('='));
        ASSERT_TRUE(!sections.empty() && key != line) << line;
        const int number = std::atoi(key.c_str());
        EXPECT_EQ(std::to_string(number), key);
        EXPECT_TRUE(number >= 1 && number <= Language::kTables[sections.size() - 1].keys) << line;
    }
    ASSERT_EQ(sections.size(), Language::kTables.size());
    for (std::size_t i = 0; i < sections.size(); ++i)
        EXPECT_EQ(sections[i], Language::kTables[i].name);
}

}  // namespace
}  // namespace velmora
