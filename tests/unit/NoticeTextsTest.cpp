#include "base/NoticeTexts.h"

#include <gtest/gtest.h>

#include "tests/unit/TextDoubles.h"

namespace velmora {
namespace {

TEST(NoticeTextsTest, PauseHintListLinesGetTheirDashOnceAndEmptyTextsKeepTheBuiltInOnes) {
    TextDoubles doubles;
    doubles.LoadEnglish("[Pause]\r\n3=then press\r\n4=- click the field\r\n5=To change a text:\r\n");
    const NoticeTexts texts = PauseHintTexts(doubles.language);
    EXPECT_EQ(texts.heading, "To change a text:");
    ASSERT_EQ(texts.lines.size(), 3u);
    EXPECT_EQ(texts.lines[0], "- click the field");
    EXPECT_EQ(texts.lines[1], "- then press");
    EXPECT_EQ(texts.lines[2].rfind("- если в строке состояния", 0), 0u);
}

TEST(NoticeTextsTest, OnlyAStoredOneSuppressesAHint) {
    for (const auto& [stored, wanted] : std::vector<std::pair<const char*, bool>>{
             {nullptr, true}, {"0", true}, {"2", true}, {"1", false}, {" 1", false}}) {
        MemorySettingsStore settings;
        if (stored)
            settings.Save("View", "FirstTip", stored);
        EXPECT_EQ(HintWanted(settings, kSettingFirstTip), wanted) << (stored ? stored : "absent");
        EXPECT_TRUE(HintWanted(settings, kSettingPauseTip));
    }
}

}  // namespace
}  // namespace velmora
