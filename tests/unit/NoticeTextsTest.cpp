#include "base/NoticeTexts.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/unit/TextDoubles.h"

namespace velmora {
namespace {

TEST(NoticeTextsTest, PauseHintListLinesGetTheirDashOnceAndEmptyTextsKeepTheBuiltInOnes) {
    TextDoubles doubles;
    doubles.LoadEnglish("[Pause]\r\n3=then press\r\n4=- click the field\r\n5=To change a text:\r\n");
    const NoticeTexts texts = PauseHintTexts(doubles.language);
    EXPECT_EQ(texts.heading, "To change a text:");
    EXPECT_THAT(texts.lines, ::testing::ElementsAre("- click the field", "- then press",
                                                    ::testing::StartsWith("- если в строке состояния")));
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
