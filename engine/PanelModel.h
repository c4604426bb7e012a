#pragma once
// What the control panel (frmStels) shows: its fixed layout, its captions and tooltips from the language
// file, and the state the player (and the recorder) change while the panel is open. The window renders these
// fields after every change and forwards clicks to the player; it decides nothing itself.
#include <array>
#include <string>

#include "platform/Types.h"
#include "startup/Language.h"

namespace velmora {

struct PanelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PanelRect&) const = default;
};

// Designer places in pixels, relative to the panel's top-left corner.
namespace panel_layout {
inline constexpr PanelRect shpMain{0, 0, 457, 43};   // the visible strip; gives the window size
inline constexpr PanelRect shpOpt{0, 48, 457, 153};  // the options area below it (part of the region only)
inline constexpr PanelRect imgLogo{5, 5, 41, 33};
inline constexpr PanelRect lblCaption{48, 0, 233, 17};
inline constexpr PanelRect lblAct{48, 16, 241, 26};
inline constexpr int kLine7X = 288;  // separator from y 0 to the strip height
inline constexpr PanelRect lblKolvoProg{296, 8, 49, 25};
inline constexpr int kButtonTop = 8;
inline constexpr int kButtonSize = 27;
inline constexpr int kButtonLeft1 = 352;
inline constexpr int kButtonLeft2 = 384;
inline constexpr int kButtonLeft3 = 416;
inline constexpr PanelRect Command1{8, 56, 89, 17};
inline constexpr PanelRect cmdBrowse{8, 72, 89, 17};
inline constexpr PanelRect Command3{8, 88, 89, 17};
inline constexpr PanelRect cmdRezume{8, 112, 89, 17};
inline constexpr PanelRect chkReplace{8, 128, 89, 25};
inline constexpr PanelRect chkFilter{8, 152, 89, 17};
inline constexpr PanelRect Text1{104, 56, 345, 121};
inline constexpr PanelRect lblStatus{8, 176, 441, 17};
inline constexpr int kCaptionLeftRecording = 104;
inline constexpr int kActWidthRecording = 313;
inline constexpr int kBlinkIntervalMs = 500;  // Timer1
}  // namespace panel_layout

// Where the panel goes on the screen, in physical pixels.
struct PanelPlacement {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PanelPlacement&) const = default;
};

// Centred horizontally on a screen of the given width, 200 twips from the top at the display's DPI (13 pixels
// at 96 DPI), as large as the strip. Computed in pixels, so screens of any width place it correctly.
PanelPlacement PositionForm(Size screen, int dpi);
// The nine corners of the window region (winding fill): the strip and the options rectangle below it.
std::array<Point, 9> PanelRegion();

// Texts set at run time, by their key in the language section "Stels".
enum class PanelText {
    Recording = 15,            // "Запись"
    ContinueChangedText = 16,  // status after clearing the filter box
    NotTextWindow = 17,  // "Последнее окно не распознано как текстовое"
    ClearFilterToEdit = 20,
    ChosenNotTextField = 21,
    ContinueWithoutChanges = 23,
    StartingNext = 24,  // "Запуск следующей инсталяции"
    Saving = 25,        // "Сохранение пакета..."
    ChangesMade = 26,
    Pause = 28,              // "Пауза"
    ReadingFile = 32,        // "Чтение файла"
    DoYourOwnActions = 34,   // "Теперь можете делать свои действия"
    WaitingForInstall = 35,  // "Выполняется ожидание установки"
    WindowCovered = 36,      // "Нужное окно закрыто другим приложением"
    SearchingWindow = 37,    // "Поиск окна"
};

// The built-in Russian text of a run-time key.
const char* BuiltInPanelText(PanelText key);

// Controls whose mouse-move shows a tip in the status line.
enum class PanelControl {
    chkReplace,
    chkFilter,
    cmdBrowse,
    cmdRezume,
    Command1,
    Command3,
    imgStop,
    imgPlay,
    Text1
};

// Captions and tooltips that ApplyPanelLanguage fills (designer texts unless the language file has its own).
struct PanelTexts {
    std::string chkReplaceCaption, chkReplaceTip;  // keys 1 and section "New" 32
    std::string chkFilterCaption, chkFilterTip;    // keys 2, 3
    std::string Command3Caption, Command3Tip;      // keys 4, 5
    std::string cmdBrowseCaption, cmdBrowseTip;    // keys 6, 7
    std::string lblStatusCaption;                  // key 8
    std::string Command1Caption, Command1Tip;      // keys 9 (always ending " >>"), 10
    std::string imgPlayTip;                        // key 11
    std::string imgPauseTip;                       // key 12
    std::string imgPlayNextTip;                    // key 13
    std::string imgStopTip;                        // key 14
    std::string m_ResumeText;                      // key 22
    std::string cmdRezumeTip, cmdRezumeCaption;    // keys 41, 42
};

class PanelModel {
  public:
    explicit PanelModel(const Language& language) : language_(language) {}

    void ApplyPanelLanguage();
    // A run-time text from the language file, or its built-in text.
    std::string Text(PanelText key) const;

    // The playing layout: play button hidden in the first slot, pause shown there, stop in the second, next
    // in the third; counter "1/" + scenarioCount. The caption is set by the player.
    void PlayLayout(int scenarioCount);
    // The recording layout: caption "Запись" moved right, pause and stop in the second and third slots, no
    // next button, counter or separator; a wider action line.
    void RecordLayout();
    // Pause swaps the pause button for the play button; resume swaps back.
    void ShowPaused();
    void ShowRunning();

    // The status-line tip when the mouse moves over a control. lastWindowIsEdit and filterChecked matter only
    // for chkFilter, imgPlay and Text1 (recording). An empty result clears the line.
    std::string StatusTipFor(PanelControl control, bool lastWindowIsEdit, bool filterChecked) const;

    PanelTexts texts;

    std::string lblCaption = "Запись";
    bool lblCaptionVisible = true;
    PanelRect lblCaptionRect = panel_layout::lblCaption;
    std::string lblAct;
    PanelRect lblActRect = panel_layout::lblAct;
    std::string lblKolvoProg = "1/1";
    bool lblKolvoProgVisible = true;
    bool line7Visible = true;
    std::string lblStatus = "Строка информации";

    bool imgPlayVisible = true;
    bool imgPauseVisible = true;
    bool imgStopVisible = true;
    bool imgPlayNextVisible = true;
    PanelRect imgPlayRect{panel_layout::kButtonLeft1, panel_layout::kButtonTop, panel_layout::kButtonSize,
                          panel_layout::kButtonSize};
    PanelRect imgPauseRect = imgPlayRect;
    PanelRect imgStopRect{panel_layout::kButtonLeft2, panel_layout::kButtonTop, panel_layout::kButtonSize,
                          panel_layout::kButtonSize};
    PanelRect imgPlayNextRect{panel_layout::kButtonLeft3, panel_layout::kButtonTop, panel_layout::kButtonSize,
                              panel_layout::kButtonSize};
    // The window height in pixels; the strip height in both modes.
    int windowHeight = panel_layout::shpMain.height;

  private:
    const Language& language_;
};

}  // namespace velmora
