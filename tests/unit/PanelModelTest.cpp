#include "engine/PanelModel.h"

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
        language.g_Language = "English";
        language.LoadLanguage("C:\\Tools", 1033, false);
    }

    MemoryFileSystem files;
    MemoryProfileFile profile{files};
    FakeDialogs dialogs;
    Language language{files, profile, dialogs};
    PanelModel panel{language};
};

TEST(PanelPlacementTest, CentredStripTwoHundredTwipsFromTheTop) {
    EXPECT_EQ(PositionForm({1024, 768}, 96), (PanelPlacement{283, 13, 457, 43}));
    // Wider than a 16-bit count of twips can hold at 15 twips a pixel.
    EXPECT_EQ(PositionForm({3840, 2160}, 96), (PanelPlacement{1691, 13, 457, 43}));
    EXPECT_EQ(PositionForm({1920, 1080}, 144).top, 20);
    EXPECT_EQ(PositionForm({400, 300}, 0), (PanelPlacement{0, 13, 457, 43}));
}

TEST(PanelPlacementTest, RegionTracesTheStripAndTheOptionsArea) {
    const std::array<Point, 9> expected{Point{0, 0},     Point{457, 0},  Point{457, 43},
                                        Point{0, 43},    Point{0, 0},    Point{0, 201},
                                        Point{457, 201}, Point{457, 48}, Point{0, 48}};
    EXPECT_EQ(PanelRegion(), expected);
}

TEST_F(PanelModelTest, BuiltInTextsWithoutALanguageFile) {
    panel.ApplyPanelLanguage();
    EXPECT_EQ(panel.texts.Command1Caption, "Вставить >>");
    EXPECT_EQ(panel.texts.chkReplaceTip, "Автоматическая замена пути на переменную");
    EXPECT_EQ(panel.texts.imgPlayNextTip, "Перейти к установке следующего пакета");
    EXPECT_EQ(panel.texts.cmdRezumeCaption, "Отменить");
    EXPECT_EQ(panel.lblStatus, "Строка информации");
    EXPECT_EQ(panel.Text(PanelText::SearchingWindow), "Поиск окна");
    EXPECT_EQ(panel.Text(PanelText::StartingNext), "Запуск следующей инсталяции");
}

TEST_F(PanelModelTest, LanguageFileTextsWithThePasteArrowsEnsured) {
    LoadEnglish(
        "[Stels]\r\n9=Paste\r\n11=Continue installation\r\n22=Continue with changes\r\n37=Searching\r\n"
        "[New]\r\n32=Replace paths by variables\r\n");
    panel.ApplyPanelLanguage();
    EXPECT_EQ(panel.texts.Command1Caption, "Paste >>");
    EXPECT_EQ(panel.texts.imgPlayTip, "Continue installation");
    EXPECT_EQ(panel.texts.m_ResumeText, "Continue with changes");
    EXPECT_EQ(panel.texts.chkReplaceTip, "Replace paths by variables");
    EXPECT_EQ(panel.texts.imgStopTip, "Остановить Запись/Воспроизведение");  // key 14 missing
    EXPECT_EQ(panel.Text(PanelText::SearchingWindow), "Searching");
}

TEST_F(PanelModelTest, LayoutsSwitchCleanlyBetweenRecordingAndPlaying) {
    panel.RecordLayout();
    EXPECT_EQ(panel.lblCaption, "Запись");
    EXPECT_FALSE(panel.imgPlayNextVisible || panel.lblKolvoProgVisible || panel.line7Visible);
    EXPECT_EQ(panel.imgPauseRect.left, panel.imgStopRect.left - 32);

    panel.PlayLayout(5);
    EXPECT_EQ(panel.lblKolvoProg, "1/5");
    EXPECT_TRUE(panel.imgPauseVisible && panel.imgPlayNextVisible && panel.lblKolvoProgVisible &&
                panel.line7Visible);
    EXPECT_FALSE(panel.imgPlayVisible);
    EXPECT_EQ(panel.imgPauseRect, (PanelRect{352, 8, 27, 27}));
    EXPECT_EQ(panel.lblCaptionRect, panel_layout::lblCaption);
    EXPECT_EQ(panel.lblActRect, panel_layout::lblAct);
    panel.ShowPaused();
    EXPECT_TRUE(panel.imgPlayVisible);
    EXPECT_FALSE(panel.imgPauseVisible);
}

TEST_F(PanelModelTest, StatusTipsDependOnTheLastWindowAndTheFilter) {
    panel.ApplyPanelLanguage();
    EXPECT_EQ(panel.StatusTipFor(PanelControl::cmdBrowse, false, true), "Вызвать окно выбора папки");
    EXPECT_EQ(panel.StatusTipFor(PanelControl::chkFilter, false, true),
              "Последнее окно не распознано как текстовое");
    EXPECT_EQ(panel.StatusTipFor(PanelControl::chkFilter, true, true), "");
    EXPECT_EQ(panel.StatusTipFor(PanelControl::imgPlay, false, true), "Продолжить без внесения изменений");
    EXPECT_EQ(panel.StatusTipFor(PanelControl::imgPlay, false, false), panel.texts.m_ResumeText);
    EXPECT_EQ(panel.StatusTipFor(PanelControl::Text1, true, true), panel.texts.m_ResumeText);
    EXPECT_EQ(panel.StatusTipFor(PanelControl::Text1, false, true),
              "Для внесения изменений уберите галочку `Фильтр`");
}

}  // namespace
}  // namespace velmora
