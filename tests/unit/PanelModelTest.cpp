#include "playback/PanelModel.h"

#include <gtest/gtest.h>

#include "tests/unit/TextDoubles.h"

namespace velmora {
namespace {

TEST(PanelPlacementTest, CentredStripTwoHundredTwipsFromTheTop) {
    // Wider than a 16-bit count of twips can hold at 15 twips a pixel.
    EXPECT_EQ(PlacePanel({3840, 2160}, 96), (PanelPlacement{1691, 13, 457, 43}));
    EXPECT_EQ(PlacePanel({1920, 1080}, 144).top, 20);
    EXPECT_EQ(PlacePanel({400, 300}, 0), (PanelPlacement{0, 13, 457, 43}));
}

class PanelModelTest : public ::testing::Test, public TextDoubles {
  protected:
    PanelModel panel{language};
};

TEST_F(PanelModelTest, LanguageFileTextsWithThePasteArrowsEnsured) {
    LoadEnglish("[Stels]\r\n9=Paste\r\n37=Searching\r\n");
    panel.ApplyLanguage();
    EXPECT_EQ(panel.texts.pasteCaption, "Paste >>");
    EXPECT_EQ(panel.texts.stopTip, "Остановить Запись/Воспроизведение");  // key 14 missing
    EXPECT_EQ(panel.Text(PanelText::SearchingWindow), "Searching");
}

TEST_F(PanelModelTest, StatusTipsDependOnTheLastWindowAndTheFilter) {
    panel.ApplyLanguage();
    EXPECT_EQ(panel.StatusTipFor(PanelControl::Filter, false, true), panel.Text(PanelText::NotTextWindow));
    EXPECT_EQ(panel.StatusTipFor(PanelControl::Filter, true, true), "");
    EXPECT_EQ(panel.StatusTipFor(PanelControl::Play, false, true),
              panel.Text(PanelText::ContinueWithoutChanges));
    EXPECT_EQ(panel.StatusTipFor(PanelControl::Play, false, false), panel.texts.resumeText);
    EXPECT_EQ(panel.StatusTipFor(PanelControl::CapturedText, false, true),
              panel.Text(PanelText::ClearFilterToEdit));
}

}  // namespace
}  // namespace velmora
