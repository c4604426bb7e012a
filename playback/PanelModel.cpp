#include "playback/PanelModel.h"

#include <algorithm>

namespace velmora {

namespace {
constexpr const char* kSection = "Stels";
constexpr int kTwipsPerInch = 1440;
constexpr int kTopTwips = 200;
}  // namespace

PanelPlacement PlacePanel(Size screen, int dpi) {
    if (dpi <= 0)
        dpi = 96;
    PanelPlacement placement;
    placement.width = panel_layout::kStrip.width;
    placement.height = panel_layout::kStrip.height;
    placement.left = std::max(0, (screen.width - placement.width) / 2);
    placement.top = (kTopTwips * dpi + kTwipsPerInch / 2) / kTwipsPerInch;
    return placement;
}

std::array<Point, 9> PanelRegion() {
    const int w = panel_layout::kStrip.width;
    const int h = panel_layout::kStrip.height;
    const int optionsTop = panel_layout::kOptionsArea.top;
    const int optionsBottom = panel_layout::kOptionsArea.top + panel_layout::kOptionsArea.height;
    const int optionsWidth = panel_layout::kOptionsArea.width;
    return {Point{0, 0},
            Point{w, 0},
            Point{w, h},
            Point{0, h},
            Point{0, 0},
            Point{0, optionsBottom},
            Point{optionsWidth, optionsBottom},
            Point{optionsWidth, optionsTop},
            Point{0, optionsTop}};
}

const char* BuiltInPanelText(PanelText key) {
    switch (key) {
        case PanelText::Recording:
            return "Запись";
        case PanelText::ContinueChangedText:
            return "Для продолжения с изменённым текстом нажмите `Продолжить запись`";
        case PanelText::NotTextWindow:
            return "Последнее окно не распознано как текстовое";
        case PanelText::ClearFilterToEdit:
            return "Для внесения изменений уберите галочку `Фильтр`";
        case PanelText::ChosenNotTextField:
            return "Выбранное окно не распознано текстовым полем";
        case PanelText::ContinueWithoutChanges:
            return "Продолжить без внесения изменений";
        case PanelText::StartingNext:
            return "Запуск следующей инсталяции";
        case PanelText::Saving:
            return "Сохранение пакета...";
        case PanelText::ChangesMade:
            return "Внесены изменения";
        case PanelText::Pause:
            return "Пауза";
        case PanelText::ReadingFile:
            return "Чтение файла";
        case PanelText::DoYourOwnActions:
            return "Теперь можете делать свои действия";
        case PanelText::WaitingForInstall:
            return "Выполняется ожидание установки";
        case PanelText::WindowCovered:
            return "Нужное окно закрыто другим приложением";
        case PanelText::SearchingWindow:
            return "Поиск окна";
        case PanelText::WaitingForInstaller:
            return "Ожидание завершения программы установки...";
        case PanelText::RestartCountdown:
            return "Перезагрузка Windows через %s с. Стоп - отмена";
        case PanelText::Restarting:
            return "Перезагрузка Windows...";
    }
    return "";
}

std::string PanelModel::Text(PanelText key) const {
    return language_.LangText(BuiltInPanelText(key), kSection, static_cast<int>(key));
}

void PanelModel::ApplyLanguage() {
    const Language& l = language_;
    texts.autoReplaceCaption = l.LangText("Автозамена", kSection, 1);
    texts.autoReplaceTip = l.LangText("Автоматическая замена пути на переменную", "New", 32);
    texts.filterCaption = l.LangText("Фильтр", kSection, 2);
    texts.filterTip =
        l.LangText("Уберите галочку, если Вы не можете вставить текст в текстовое поле", kSection, 3);
    texts.programsPanelCaption = l.LangText("Панель", kSection, 4);
    texts.programsPanelTip = l.LangText("Панель управления: Установка и удаление программ", kSection, 5);
    texts.browseCaption = l.LangText("Выбор папки >>", kSection, 6);
    texts.browseTip = l.LangText("Вызвать окно выбора папки", kSection, 7);
    texts.statusCaption = l.LangText("Строка информации", kSection, 8);
    texts.pasteCaption = l.LangTextAffix("Вставить >>", kSection, 9, false, " >>");
    texts.pasteTip = l.LangText("Вставить данные из буфера обмена", kSection, 10);
    texts.playTip = l.LangText("Продолжить установку", kSection, 11);
    texts.pauseTip = l.LangText("Режим Паузы", kSection, 12);
    texts.nextTip = l.LangText("Перейти к установке следующего пакета", kSection, 13);
    texts.stopTip = l.LangText("Остановить Запись/Воспроизведение", kSection, 14);
    texts.resumeText = l.LangText("Продолжить запись с учётом внесённых изменений", kSection, 22);
    texts.cancelTextTip = l.LangText("Продолжить запись без учета изменений", kSection, 41);
    texts.cancelTextCaption = l.LangText("Отменить", kSection, 42);
    status = texts.statusCaption;
}

void PanelModel::PlayLayout(int scenarioCount) {
    using namespace panel_layout;
    playRect = {kButtonLeft1, kButtonTop, kButtonSize, kButtonSize};
    pauseRect = playRect;
    stopRect = {kButtonLeft2, kButtonTop, kButtonSize, kButtonSize};
    nextRect = {kButtonLeft3, kButtonTop, kButtonSize, kButtonSize};
    playVisible = false;
    pauseVisible = true;
    stopVisible = true;
    nextVisible = true;
    counterVisible = true;
    separatorVisible = true;
    captionRect = panel_layout::kCaption;
    actionRect = panel_layout::kAction;
    captionVisible = true;
    windowHeight = kStrip.height;
    counter = "1/" + std::to_string(scenarioCount);
}

void PanelModel::RecordLayout() {
    using namespace panel_layout;
    caption = Text(PanelText::Recording);
    captionVisible = true;
    captionRect = panel_layout::kCaption;
    captionRect.left = kCaptionLeftRecording;
    playRect = {kButtonLeft2, kButtonTop, kButtonSize, kButtonSize};
    pauseRect = playRect;
    stopRect = {kButtonLeft3, kButtonTop, kButtonSize, kButtonSize};
    playVisible = false;
    pauseVisible = true;
    stopVisible = true;
    nextVisible = false;
    counterVisible = false;
    separatorVisible = false;
    actionRect = panel_layout::kAction;
    actionRect.width = kActWidthRecording;
    windowHeight = kStrip.height;
}

void PanelModel::ShowPaused() {
    pauseVisible = false;
    playVisible = true;
}

void PanelModel::ShowRunning() {
    playVisible = false;
    pauseVisible = true;
}

std::string PanelModel::StatusTipFor(PanelControl control, bool lastWindowIsEdit, bool filterChecked) const {
    switch (control) {
        case PanelControl::AutoReplace:
            return texts.autoReplaceTip;
        case PanelControl::Browse:
            return texts.browseTip;
        case PanelControl::CancelText:
            return texts.cancelTextTip;
        case PanelControl::Paste:
            return texts.pasteTip;
        case PanelControl::ProgramsPanel:
            return texts.programsPanelTip;
        case PanelControl::Stop:
            return texts.stopTip;
        case PanelControl::Filter:
            return filterChecked && !lastWindowIsEdit ? Text(PanelText::NotTextWindow) : std::string{};
        case PanelControl::Play:
            return lastWindowIsEdit || !filterChecked ? texts.resumeText
                                                      : Text(PanelText::ContinueWithoutChanges);
        case PanelControl::CapturedText:
            return lastWindowIsEdit || !filterChecked ? texts.resumeText : Text(PanelText::ClearFilterToEdit);
    }
    return {};
}

}  // namespace velmora
