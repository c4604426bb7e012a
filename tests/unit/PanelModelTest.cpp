#include "playback/PanelModel.h"

#include <gtest/gtest.h>

#include "platform/doubles/Fakes.h"
#include "platform/doubles/MemoryFileSystem.h"
#include "platform/doubles/MemoryProfileFile.h"

namespace velmora {
namespace {

class PanelModelTest : public ::testing::Test {
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
    PanelModel panel{language};
};

TEST(PanelPlacementTest, CentredStripTwoHundredTwipsFromTheTop) {
    EXPECT_EQ(PlacePanel({1024, 768}, 96), (PanelPlacement{283, 13, 457, 43}));
    // Wider than a 16-bit count of twips can hold at 15 twips a pixel.
    EXPECT_EQ(PlacePanel({3840, 2160}, 96), (PanelPlacement{1691, 13, 457, 43}));
    EXPECT_EQ(PlacePanel({1920, 1080}, 144).top, 20);
    EXPECT_EQ(PlacePanel({400, 300}, 0), (PanelPlacement{0, 13, 457, 43}));
}

TEST(PanelPlacementTest, RegionTracesTheStripAndTheOptionsArea) {
    const std::array<Point, 9> expected{Point{0, 0},     Point{457, 0},  Point{457, 43},
                                        Point{0, 43},    Point{0, 0},    Point{0, 201},
                                        Point{457, 201}, Point{457, 48}, Point{0, 48}};
    EXPECT_EQ(PanelRegion(), expected);
}

TEST_F(PanelModelTest, BuiltInTextsWithoutALanguageFile) {
    panel.ApplyLanguage();
    EXPECT_EQ(panel.texts.pasteCaption, "Вставить >>");
    EXPECT_EQ(panel.texts.autoReplaceTip, "Автоматическая замена пути на переменную");
    EXPECT_EQ(panel.texts.nextTip, "Перейти к установке следующего пакета");
    EXPECT_EQ(panel.texts.cancelTextCaption, "Отменить");
    EXPECT_EQ(panel.status, "Строка информации");
    EXPECT_EQ(panel.Text(PanelText::SearchingWindow), "Поиск окна");
    EXPECT_EQ(panel.Text(PanelText::StartingNext), "Запуск следующей инсталяции");
}

TEST_F(PanelModelTest, LanguageFileTextsWithThePasteArrowsEnsured) {
    LoadEnglish(
        "[Stels]\r\n9=Paste\r\n11=Continue installation\r\n22=Continue with changes\r\n37=Searching\r\n"
        "[New]\r\n32=Replace paths by variables\r\n");
    panel.ApplyLanguage();
    EXPECT_EQ(panel.texts.pasteCaption, "Paste >>");
    EXPECT_EQ(panel.texts.playTip, "Continue installation");
    EXPECT_EQ(panel.texts.resumeText, "Continue with changes");
    EXPECT_EQ(panel.texts.autoReplaceTip, "Replace paths by variables");
    EXPECT_EQ(panel.texts.stopTip, "Остановить Запись/Воспроизведение");  // key 14 missing
    EXPECT_EQ(panel.Text(PanelText::SearchingWindow), "Searching");
}

TEST_F(PanelModelTest, LayoutsSwitchCleanlyBetweenRecordingAndPlaying) {
    panel.RecordLayout();
    EXPECT_EQ(panel.caption, "Запись");
    EXPECT_FALSE(panel.nextVisible || panel.counterVisible || panel.separatorVisible);
    EXPECT_EQ(panel.pauseRect.left, panel.stopRect.left - 32);

    panel.PlayLayout(5);
    EXPECT_EQ(panel.counter, "1/5");
    EXPECT_TRUE(panel.pauseVisible && panel.nextVisible && panel.counterVisible && panel.separatorVisible);
    EXPECT_FALSE(panel.playVisible);
    EXPECT_EQ(panel.pauseRect, (PanelRect{352, 8, 27, 27}));
    EXPECT_EQ(panel.captionRect, panel_layout::kCaption);
    EXPECT_EQ(panel.actionRect, panel_layout::kAction);
    panel.ShowPaused();
    EXPECT_TRUE(panel.playVisible);
    EXPECT_FALSE(panel.pauseVisible);
}

TEST_F(PanelModelTest, StatusTipsDependOnTheLastWindowAndTheFilter) {
    panel.ApplyLanguage();
    EXPECT_EQ(panel.StatusTipFor(PanelControl::Browse, false, true), "Вызвать окно выбора папки");
    EXPECT_EQ(panel.StatusTipFor(PanelControl::Filter, false, true),
              "Последнее окно не распознано как текстовое");
    EXPECT_EQ(panel.StatusTipFor(PanelControl::Filter, true, true), "");
    EXPECT_EQ(panel.StatusTipFor(PanelControl::Play, false, true), "Продолжить без внесения изменений");
    EXPECT_EQ(panel.StatusTipFor(PanelControl::Play, false, false), panel.texts.resumeText);
    EXPECT_EQ(panel.StatusTipFor(PanelControl::CapturedText, true, true), panel.texts.resumeText);
    EXPECT_EQ(panel.StatusTipFor(PanelControl::CapturedText, false, true),
              "Для внесения изменений уберите галочку `Фильтр`");
}

}  // namespace
}  // namespace velmora
