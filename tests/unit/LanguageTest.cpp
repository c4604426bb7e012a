#include "base/Language.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>

#include "platform/doubles/Fakes.h"
#include "platform/doubles/MemoryFileSystem.h"
#include "platform/doubles/MemoryProfileFile.h"

namespace velmora {
namespace {

class LanguageTest : public ::testing::Test {
  protected:
    void AddLanguageFile(const std::string& name, const std::string& text) {
        files.AddFile("C:\\Tools\\language\\" + name + ".lng", text);
    }

    MemoryFileSystem files;
    MemoryProfileFile profile{files};
    FakeDialogs dialogs;
    MemoryRegistry registry;
    Language language{files, profile, dialogs};
};

TEST_F(LanguageTest, LoadsKeysOfKnownSectionsWithinRange) {
    AddLanguageFile("English",
                    "[main]\r\n1=Package list\r\n26=Last\r\n27=Beyond\r\n"
                    "[Wizard]\r\n57=Finish\r\n60=Too far\r\n"
                    "[Other]\r\n1=Unknown\r\n"
                    "[New]\r\n18=Package '%s' exists\r\n");
    language.languageName = "English";
    language.LoadLanguage("C:\\Tools", 1033, false);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(language.languageFile, "C:\\Tools\\language\\English.lng");
    EXPECT_EQ(language.GetLangText("MAIN", 1), "Package list");
    EXPECT_EQ(language.GetLangText("main", 26), "Last");
    EXPECT_EQ(language.GetLangText("main", 27), "");
    EXPECT_EQ(language.GetLangText("Wizard", 57), "Finish");
    EXPECT_EQ(language.GetLangText("Wizard", 60), "");
    EXPECT_EQ(language.GetLangText("Other", 1), "");
    EXPECT_EQ(language.GetLangText("main", 0), "");
    EXPECT_EQ(language.GetLangText("main", -5), "");
    EXPECT_EQ(language.LangText("Список", "main", 1), "Package list");
    EXPECT_EQ(language.LangText("Список", "main", 2), "Список");
    EXPECT_EQ(language.LangText("Список", "nosuch", 1), "Список");
    EXPECT_EQ(language.LangTextFormat("Пакет 'Setup' существует", "New", 18, "Setup"),
              "Package 'Setup' exists");
    EXPECT_EQ(language.LangTextFormat("Пакет 'Setup' существует", "New", 17, "Setup"),
              "Пакет 'Setup' существует");
    EXPECT_EQ(language.LangTextAffix("Список", "main", 1, false, "?"), "Package list?");
    EXPECT_EQ(language.LangTextAffix("Список", "main", 2, false, "?"), "Список?");
}

TEST_F(LanguageTest, LookupsBeforeAnyLoadGiveBuiltInTexts) {
    EXPECT_EQ(language.GetLangText("main", 1), "");
    EXPECT_EQ(language.LangText("Текст", "Stels", 42), "Текст");
}

TEST_F(LanguageTest, ReloadReplacesTheTablesAsAWhole) {
    AddLanguageFile("English", "[main]\r\n1=One\r\n2=Two\r\n");
    AddLanguageFile("German", "[main]\r\n1=Eins\r\n");
    language.languageName = "English";
    language.LoadLanguage("C:\\Tools\\", 1033, false);
    language.languageName = "German";
    language.LoadLanguage("C:\\Tools\\", 1033, false);
    EXPECT_EQ(language.languageFile, "C:\\Tools\\language\\German.lng");
    EXPECT_EQ(language.GetLangText("main", 1), "Eins");
    EXPECT_EQ(language.GetLangText("main", 2), "");
}

TEST_F(LanguageTest, MissingFileIsReportedWithItsFullPath) {
    AddLanguageFile("German", "[main]\r\n1=Eins\r\n");
    language.languageName = "German";
    language.LoadLanguage("C:\\Tools", 1033, false);
    language.languageName = "English";
    language.LoadLanguage("C:\\Tools", 1033, false);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Отсутствует файл перевода C:\\Tools\\language\\English.lng");
    EXPECT_EQ(dialogs.messages[0].title, "Ошибка загрузки языка");
    EXPECT_EQ(dialogs.messages[0].buttons, MsgButtons::Ok);
    // Nothing of the earlier language survives.
    EXPECT_EQ(language.LangText("Список", "main", 1), "Список");
}

TEST_F(LanguageTest, MissingFileIsSilentForRussianAndInADirectRun) {
    language.LoadLanguage("C:\\Tools", 1049, false);
    EXPECT_EQ(language.languageName, "Russian");
    EXPECT_EQ(language.languageFile, "C:\\Tools\\language\\Russian.lng");
    language.languageName = "rUSSIAN";
    language.LoadLanguage("C:\\Tools", 1033, false);
    language.languageName = "English";
    language.LoadLanguage("C:\\Tools", 1033, true);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(LanguageTest, AFolderNamedLikeTheFileCountsAsMissing) {
    files.AddFolder("C:\\Tools\\language\\English.lng");
    language.languageName = "English";
    language.LoadLanguage("C:\\Tools", 1033, false);
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST_F(LanguageTest, NameLeadingOutOfTheFolderFallsBackToTheDefault) {
    files.AddFile("C:\\evil.lng", "[main]\r\n1=Evil\r\n");
    AddLanguageFile("German", "[main]\r\n1=Eins\r\n");
    language.languageName = "..\\..\\evil";
    language.LoadLanguage("C:\\Tools", 1031, false);
    EXPECT_EQ(language.languageName, "German");
    EXPECT_EQ(language.GetLangText("main", 1), "Eins");
}

TEST(DefaultLanguageNameTest, OnlyWholeIdentifiersCount) {
    EXPECT_EQ(DefaultLanguageName(1031), "German");
    EXPECT_EQ(DefaultLanguageName(1049), "Russian");
    EXPECT_EQ(DefaultLanguageName(1058), "Ukrainian");
    EXPECT_EQ(DefaultLanguageName(1059), "Belorussian");
    EXPECT_EQ(DefaultLanguageName(3079), "English");  // German as used in Austria
    EXPECT_EQ(DefaultLanguageName(0), "English");
}

TEST(LanguageTextTest, EnsureAffixAtEitherEnd) {
    EXPECT_EQ(EnsureAffix("Сохранить путь к файлу", false, "?"), "Сохранить путь к файлу?");
    EXPECT_EQ(EnsureAffix("Сохранить путь к файлу?", false, "?"), "Сохранить путь к файлу?");
    EXPECT_EQ(EnsureAffix("Name", true, "- "), "- Name");
    EXPECT_EQ(EnsureAffix("- Name", true, "- "), "- Name");
    EXPECT_EQ(EnsureAffix("", false, "?"), "");
    EXPECT_EQ(EnsureAffix("a", false, "..."), "a");
}

TEST(LanguageTextTest, FormatPercentSFillsOnlyTheFirst) {
    EXPECT_EQ(FormatPercentS("Package '%s' exists", "Setup"), "Package 'Setup' exists");
    EXPECT_EQ(FormatPercentS("%S and %s", "x"), "x and %s");
    EXPECT_EQ(FormatPercentS("No value here", "Setup"), "No value here");
    EXPECT_EQ(FormatPercentS("", "Setup"), "");
    EXPECT_EQ(FormatPercentS("ends with %", "x"), "ends with %");
}

}  // namespace
}  // namespace velmora

namespace velmora {
namespace {

// The shipped language file must stay readable by Windows' INI reader in any code page: ASCII only, CRLF
// line ends, no byte-order mark, every section headed once in table order and only numbered keys in range.
TEST(ShippedLanguageFileTest, EnglishIsPlainAsciiWithAllSectionsAndKeysInRange) {
    std::ifstream in(std::string(VELMORA_SOURCE_DIR) + "/language/English.lng", std::ios::binary);
    ASSERT_TRUE(in.good());
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (std::size_t i = 0; i < text.size(); ++i) {
        ASSERT_LT(static_cast<unsigned char>(text[i]), 0x80u) << "non-ASCII byte at " << i;
        if (text[i] == '\n') {
            ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "bare line feed at " << i;
        }
    }

    std::vector<std::string> sections;
    int keys = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? text.size() : end + 2;
        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[') {
            ASSERT_EQ(line.back(), ']') << line;
            sections.push_back(line.substr(1, line.size() - 2));
            continue;
        }
        ASSERT_FALSE(sections.empty()) << line;
        std::size_t eq = line.find('=');
        ASSERT_NE(eq, std::string::npos) << line;
        int key = std::atoi(line.substr(0, eq).c_str());
        ASSERT_EQ(std::to_string(key), line.substr(0, eq)) << line;
        ASSERT_GE(key, 1) << line;
        ASSERT_LE(key, Language::kTables[sections.size() - 1].keys) << sections.back() << ": " << line;
        ++keys;
    }
    ASSERT_EQ(sections.size(), Language::kTables.size());
    for (std::size_t i = 0; i < sections.size(); ++i)
        EXPECT_EQ(sections[i], Language::kTables[i].name);
    std::cout << keys << " texts in English.lng\n";
}

}  // namespace
}  // namespace velmora
