#include "base/AboutTexts.h"

#include <gtest/gtest.h>

#include "base/ProjectAddresses.h"
#include "platform/doubles/Fakes.h"
#include "platform/doubles/MemoryFileSystem.h"
#include "platform/doubles/MemoryProfileFile.h"

namespace velmora {
namespace {

class AboutTextsTest : public ::testing::Test {
  protected:
    void LoadEnglish(const std::string& text) {
        files.AddFile("C:\\Tools\\language\\English.lng", text);
        language.languageName = "English";
        language.LoadLanguage("C:\\Tools", 1033, false);
    }
    MemoryFileSystem files;
    MemoryProfileFile profile{files};
    FakeDialogs dialogs;
    Language language{files, profile, dialogs};
};

TEST_F(AboutTextsTest, BuiltInTextsCarryTheirAffixesAndTheProgramsVersion) {
    const AboutTexts texts = MakeAboutTexts(language);
    EXPECT_EQ(texts.title, "О программе...");
    EXPECT_EQ(texts.version, "Версия 1.2." + std::to_string(VELMORA_VERSION_BUILD));
    EXPECT_EQ(texts.rightsCaption, "Авторские права:");
    EXPECT_EQ(texts.translatorCaption, "Перевод:");
    EXPECT_EQ(texts.translator, (AboutLink{"# translator #", ""}));
    EXPECT_EQ(texts.suggestions.empty(), AuthorMailAddress().empty())
        << "no request to write without an address";
}

TEST_F(AboutTextsTest, LanguageFileTextsGetTheirAffixesOnlyWhereMissing) {
    LoadEnglish(
        "[About]\r\n4=Copyright\r\n5=Version\r\n[Autor]\r\n1=Translation:\r\n2=Ann\r\n3=ann@example.org\r\n");
    AboutTexts texts = MakeAboutTexts(language);
    EXPECT_EQ(texts.rightsCaption, "Copyright:");
    EXPECT_EQ(texts.translatorCaption, "Translation:");
    EXPECT_EQ(texts.version, "Version 1.2." + std::to_string(VELMORA_VERSION_BUILD));
    EXPECT_EQ(texts.translator, (AboutLink{"Ann", "mailto:ann@example.org"}));

    LoadEnglish("[Autor]\r\n3=mailto:ann@example.org\r\n");
    EXPECT_EQ(MakeAboutTexts(language).translator.target, "mailto:ann@example.org");
}

}  // namespace
}  // namespace velmora
