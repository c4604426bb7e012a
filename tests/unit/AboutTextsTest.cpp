#include "base/AboutTexts.h"

#include <gtest/gtest.h>

#include "base/ProjectAddresses.h"
#include "tests/unit/TextDoubles.h"

namespace velmora {
namespace {

// Built-in texts carry their affixes; a language file's get them only where missing.
TEST(AboutTextsTest, TextsGetTheirAffixesAndTheProgramsVersionAndLinkOnlyTheAddressesThereAre) {
    TextDoubles doubles;
    const AboutTexts builtIn = MakeAboutTexts(doubles.language);
    EXPECT_EQ(builtIn.version, "Версия 1.2." + std::to_string(VELMORA_VERSION_BUILD));
    EXPECT_EQ(builtIn.translator, (AboutLink{"# translator #", ""}));
    EXPECT_EQ(builtIn.suggestions.empty(), AuthorMailAddress().empty())
        << "no request to write without an address";

    doubles.LoadEnglish(
        "[About]\r\n4=Copyright\r\n5=Version\r\n[Autor]\r\n1=Translation:\r\n2=Ann\r\n3=ann@example.org\r\n");
    const AboutTexts texts = MakeAboutTexts(doubles.language);
    EXPECT_EQ(texts.rightsCaption, "Copyright:");
    EXPECT_EQ(texts.translatorCaption, "Translation:");
    EXPECT_EQ(texts.version, "Version 1.2." + std::to_string(VELMORA_VERSION_BUILD));
    EXPECT_EQ(texts.translator, (AboutLink{"Ann", "mailto:ann@example.org"}));
}

}  // namespace
}  // namespace velmora
