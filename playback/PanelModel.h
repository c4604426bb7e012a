#pragma once
// What the control panel shows: its fixed layout, its captions and tooltips from the language
// file, and the state the player (and the recorder) change while the panel is open. The window renders these
// fields after every change and forwards clicks to the player; it decides nothing itself.
#include <array>
#include <string>

#include "base/Language.h"
#include "platform/Types.h"

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
inline constexpr PanelRect kStrip{0, 0, 457, 43};  // the visible strip; gives the window size
inline constexpr PanelRect kOptionsArea{0, 48, 457,
                                        153};  // the options area below it (part of the region only)
inline constexpr PanelRect kLogo{5, 5, 41, 33};
inline constexpr PanelRect kCaption{48, 0, 233, 17};
inline constexpr PanelRect kAction{48, 16, 241, 26};
inline constexpr int kSeparatorX = 288;  // separator from y 0 to the strip height
inline constexpr PanelRect kCounter{296, 8, 49, 25};
inline constexpr int kButtonTop = 8;
inline constexpr int kButtonSize = 27;
inline constexpr int kButtonLeft1 = 352;
inline constexpr int kButtonLeft2 = 384;
inline constexpr int kButtonLeft3 = 416;
inline constexpr PanelRect kPasteButton{8, 56, 89, 17};
inline constexpr PanelRect kBrowseButton{8, 72, 89, 17};
inline constexpr PanelRect kProgramsPanelButton{8, 88, 89, 17};
inline constexpr PanelRect kCancelTextButton{8, 112, 89, 17};
inline constexpr PanelRect kAutoReplaceBox{8, 128, 89, 25};
inline constexpr PanelRect kFilterBox{8, 152, 89, 17};
inline constexpr PanelRect kCapturedText{104, 56, 345, 121};
inline constexpr PanelRect kStatusLine{8, 176, 441, 17};
inline constexpr int kCaptionLeftRecording = 104;
inline constexpr int kActWidthRecording = 313;
inline constexpr int kBlinkIntervalMs = 500;  // the caption blinks while recording
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
PanelPlacement PlacePanel(Size screen, int dpi);
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
    // After a scenario's last step, while its installer is given time to end.
    WaitingForInstaller = 43,  // "Ожидание завершения программы установки..."
    // Before a restart an installer asked for; %s: the seconds left.
    RestartCountdown = 45,  // "Перезагрузка Windows через %s с. Стоп - отмена"
    Restarting = 46,        // "Перезагрузка Windows..."
};

// The built-in Russian text of a run-time key.
const char* BuiltInPanelText(PanelText key);

// Controls whose mouse-move shows a tip in the status line.
enum class PanelControl {
    AutoReplace,
    Filter,
    Browse,
    CancelText,
    Paste,
    ProgramsPanel,
    Stop,
    Play,
    CapturedText
};

// Captions and tooltips that ApplyLanguage fills (designer texts unless the language file has its own).
struct PanelTexts {
    std::string autoReplaceCaption, autoReplaceTip;      // keys 1 and section "New" 32
    std::string filterCaption, filterTip;                // keys 2, 3
    std::string programsPanelCaption, programsPanelTip;  // keys 4, 5
    std::string browseCaption, browseTip;                // keys 6, 7
    std::string statusCaption;                           // key 8
    std::string pasteCaption, pasteTip;                  // keys 9 (always ending " >>"), 10
    std::string playTip;                                 // key 11
    std::string pauseTip;                                // key 12
    std::string nextTip;                                 // key 13
    std::string stopTip;                                 // key 14
    std::string resumeText;                              // key 22
    std::string cancelTextTip, cancelTextCaption;        // keys 41, 42
};

class PanelModel {
  public:
    explicit PanelModel(const Language& language) : language_(language) {}

    void ApplyLanguage();
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
    // for Filter, Play and CapturedText (recording). An empty result clears the line.
    std::string StatusTipFor(PanelControl control, bool lastWindowIsEdit, bool filterChecked) const;

    PanelTexts texts;

    std::string caption = "Запись";
    bool captionVisible = true;
    PanelRect captionRect = panel_layout::kCaption;
    std::string action;
    PanelRect actionRect = panel_layout::kAction;
    std::string counter = "1/1";
    bool counterVisible = true;
    bool separatorVisible = true;
    std::string status = "Строка информации";

    bool playVisible = true;
    bool pauseVisible = true;
    bool stopVisible = true;
    bool nextVisible = true;
    PanelRect playRect{panel_layout::kButtonLeft1, panel_layout::kButtonTop, panel_layout::kButtonSize,
                       panel_layout::kButtonSize};
    PanelRect pauseRect = playRect;
    PanelRect stopRect{panel_layout::kButtonLeft2, panel_layout::kButtonTop, panel_layout::kButtonSize,
                       panel_layout::kButtonSize};
    PanelRect nextRect{panel_layout::kButtonLeft3, panel_layout::kButtonTop, panel_layout::kButtonSize,
                       panel_layout::kButtonSize};
    // The window height in pixels; the strip height in both modes.
    int windowHeight = panel_layout::kStrip.height;

  private:
    const Language& language_;
};

}  // namespace velmora
