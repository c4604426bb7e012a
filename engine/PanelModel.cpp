#include "engine/PanelModel.h"

#include <algorithm>

namespace velmora {

namespace {
constexpr const char* kSection = "Stels";
constexpr int kTwipsPerInch = 1440;
constexpr int kTopTwips = 200;
}  // namespace

PanelPlacement PositionForm(Size screen, int dpi) {
    if (dpi <= 0)
        dpi = 96;
    PanelPlacement placement;
    placement.width = panel_layout::shpMain.width;
    placement.height = panel_layout::shpMain.height;
    placement.left = std::max(0, (screen.width - placement.width) / 2);
    placement.top = (kTopTwips * dpi + kTwipsPerInch / 2) / kTwipsPerInch;
    return placement;
}

std::array<Point, 9> PanelRegion() {
    const int w = panel_layout::shpMain.width;
    const int h = panel_layout::shpMain.height;
    const int optTop = panel_layout::shpOpt.top;
    const int optBottom = panel_layout::shpOpt.top + panel_layout::shpOpt.height;
    const int optWidth = panel_layout::shpOpt.width;
    return {Point{0, 0},
            Point{w, 0},
            Point{w, h},
            Point{0, h},
            Point{0, 0},
            Point{0, optBottom},
            Point{optWidth, optBottom},
            Point{optWidth, optTop},
            Point{0, optTop}};
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
    }
    return "";
}

std::string PanelModel::Text(PanelText key) const {
    return language_.LangText(BuiltInPanelText(key), kSection, static_cast<int>(key));
}

void PanelModel::ApplyPanelLanguage() {
    const Language& l = language_;
    texts.chkReplaceCaption = l.LangText("Автозамена", kSection, 1);
    texts.chkReplaceTip = l.LangText("Автоматическая замена пути на переменную", "New", 32);
    texts.chkFilterCaption = l.LangText("Фильтр", kSection, 2);
    texts.chkFilterTip =
        l.LangText("Уберите галочку, если Вы не можете вставить текст в текстовое поле", kSection, 3);
    texts.Command3Caption = l.LangText("Панель", kSection, 4);
    texts.Command3Tip = l.LangText("Панель управления: Установка и удаление программ", kSection, 5);
    texts.cmdBrowseCaption = l.LangText("Выбор папки >>", kSection, 6);
    texts.cmdBrowseTip = l.LangText("Вызвать окно выбора папки", kSection, 7);
    texts.lblStatusCaption = l.LangText("Строка информации", kSection, 8);
    texts.Command1Caption = l.LangTextAffix("Вставить >>", kSection, 9, false, " >>");
    texts.Command1Tip = l.LangText("Вставить данные из буфера обмена", kSection, 10);
    texts.imgPlayTip = l.LangText("Продолжить установку", kSection, 11);
    texts.imgPauseTip = l.LangText("Режим Паузы", kSection, 12);
    texts.imgPlayNextTip = l.LangText("Перейти к установке следующего пакета", kSection, 13);
    texts.imgStopTip = l.LangText("Остановить Запись/Воспроизведение", kSection, 14);
    texts.m_ResumeText = l.LangText("Продолжить запись с учётом внесённых изменений", kSection, 22);
    texts.cmdRezumeTip = l.LangText("Продолжить запись без учета изменений", kSection, 41);
    texts.cmdRezumeCaption = l.LangText("Отменить", kSection, 42);
    lblStatus = texts.lblStatusCaption;
}

void PanelModel::PlayLayout(int scenarioCount) {
    using namespace panel_layout;
    imgPlayRect = {kButtonLeft1, kButtonTop, kButtonSize, kButtonSize};
    imgPauseRect = imgPlayRect;
    imgStopRect = {kButtonLeft2, kButtonTop, kButtonSize, kButtonSize};
    imgPlayNextRect = {kButtonLeft3, kButtonTop, kButtonSize, kButtonSize};
    imgPlayVisible = false;
    imgPauseVisible = true;
    imgStopVisible = true;
    imgPlayNextVisible = true;
    lblKolvoProgVisible = true;
    line7Visible = true;
    lblCaptionRect = panel_layout::lblCaption;
    lblActRect = panel_layout::lblAct;
    lblCaptionVisible = true;
    windowHeight = shpMain.height;
    lblKolvoProg = "1/" + std::to_string(scenarioCount);
}

void PanelModel::RecordLayout() {
    using namespace panel_layout;
    lblCaption = Text(PanelText::Recording);
    lblCaptionVisible = true;
    lblCaptionRect = panel_layout::lblCaption;
    lblCaptionRect.left = kCaptionLeftRecording;
    imgPlayRect = {kButtonLeft2, kButtonTop, kButtonSize, kButtonSize};
    imgPauseRect = imgPlayRect;
    imgStopRect = {kButtonLeft3, kButtonTop, kButtonSize, kButtonSize};
    imgPlayVisible = false;
    imgPauseVisible = true;
    imgStopVisible = true;
    imgPlayNextVisible = false;
    lblKolvoProgVisible = false;
    line7Visible = false;
    lblActRect = panel_layout::lblAct;
    lblActRect.width = kActWidthRecording;
    windowHeight = shpMain.height;
}

void PanelModel::ShowPaused() {
    imgPauseVisible = false;
    imgPlayVisible = true;
}

void PanelModel::ShowRunning() {
    imgPlayVisible = false;
    imgPauseVisible = true;
}

std::string PanelModel::StatusTipFor(PanelControl control, bool lastWindowIsEdit, bool filterChecked) const {
    switch (control) {
        case PanelControl::chkReplace:
            return texts.chkReplaceTip;
        case PanelControl::cmdBrowse:
            return texts.cmdBrowseTip;
        case PanelControl::cmdRezume:
            return texts.cmdRezumeTip;
        case PanelControl::Command1:
            return texts.Command1Tip;
        case PanelControl::Command3:
            return texts.Command3Tip;
        case PanelControl::imgStop:
            return texts.imgStopTip;
        case PanelControl::chkFilter:
            return filterChecked && !lastWindowIsEdit ? Text(PanelText::NotTextWindow) : std::string{};
        case PanelControl::imgPlay:
            return lastWindowIsEdit || !filterChecked ? texts.m_ResumeText
                                                      : Text(PanelText::ContinueWithoutChanges);
        case PanelControl::Text1:
            return lastWindowIsEdit || !filterChecked ? texts.m_ResumeText
                                                      : Text(PanelText::ClearFilterToEdit);
    }
    return {};
}

}  // namespace velmora
