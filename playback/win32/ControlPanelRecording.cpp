// The control panel's record mode: the recorder fed from the mouse hook, the pause with its options area,
// the paste menus and the stop that saves the package.
#include <algorithm>

#include "base/NoticeTexts.h"
#include "base/Utilities.h"
#include "platform/win32/WideText.h"
#include "playback/win32/ControlPanelWindow.h"
#include "ui/win32/NoticeWindows.h"

namespace velmora::panel_window {
namespace {

// The clipboard's text, or nothing when it holds none.
std::optional<std::string> ClipboardText(HWND owner) {
    if (!OpenClipboard(owner))
        return std::nullopt;
    std::optional<std::string> text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* wide = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = WideToUtf8(wide);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

}  // namespace

// Without the hook nothing would be recorded: the recording does not start, and neither does the installer.
void ControlPanelWindow::StartRecording() {
    model_.RecordLayout();
    recorder_.Begin(c_.system.ScreenSize());
    hook_.emplace(Window(), kMouseHookMessage);
    if (!ContinueRecording()) {
        ReportHookFailure();
        EndRecording();
        return;
    }
    // Whether the installer starts is not checked: a recording can always be stopped without a step.
    static_cast<void>(c_.shell.Open(c_.shared.installerPath, c_.shared.installerCommandLine,
                                    c_.files.CurrentDirectory(), 0));
}

bool ControlPanelWindow::ContinueRecording() {
    if (!hook_->Install())
        return false;
    model_.ShowRunning();
    model_.caption = model_.Text(PanelText::Recording);
    model_.captionVisible = true;
    model_.windowHeight = panel_layout::kStrip.height;
    SetTimer(Window(), kBlinkTimer, panel_layout::kBlinkIntervalMs, nullptr);
    Render();
    return true;
}

void ControlPanelWindow::ReportHookFailure() {
    c_.dialogs.Message(
        IdOf(Window()),
        c_.language.LangText("Запись невозможна: Windows не позволила программе следить за мышью.", "Stels",
                             44),
        kProgramTitle, MsgButtons::Ok, MsgIcon::Critical, MsgDefault::First);
}

// Events the hook noted reach the recorder in order, also those still waiting when a button of the panel
// is pressed.
void ControlPanelWindow::TakeHookedEvents() {
    if (!hook_)
        return;
    for (const HookedMouseEvent& event : hook_->TakeEvents()) {
        HWND window = reinterpret_cast<HWND>(event.window);
        // The panel's own clicks, and those on its menus and dialogs, are not part of the installation.
        const bool own =
            window != nullptr && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
        recorder_.OnMouse(event, own);
    }
}

void ControlPanelWindow::PauseRecording() {
    TakeHookedEvents();
    hook_->Remove();
    KillTimer(Window(), kBlinkTimer);
    model_.ShowPaused();
    model_.caption = model_.Text(PanelText::Pause);
    model_.captionVisible = true;
    recorder_.Pause();
    ShowCaptureNote();
    // The options area shows below the strip, so the captured text can be seen and corrected.
    model_.windowHeight = panel_layout::kOptionsArea.top + panel_layout::kOptionsArea.height;
    Render();
    HWND text = Item(kCapturedText);
    SetForegroundWindow(Window());
    SetFocus(text);
    SendMessageW(text, EM_SETSEL, 0, -1);
    if (recorder_.note == CaptureNote::NotTextField && HintWanted(c_.settings, kSettingPauseTip))
        ShowPauseHint(c_.language, c_.settings);
}

// A hook that cannot be installed again ends the recording as the stop button does, keeping what was
// recorded up to the pause.
void ControlPanelWindow::ResumeRecording(bool keepText) {
    model_.action.clear();
    recorder_.Resume(keepText);
    model_.status = model_.texts.statusCaption;
    if (!ContinueRecording()) {
        ReportHookFailure();
        StopRecording();
    }
}

void ControlPanelWindow::StopRecording() {
    TakeHookedEvents();
    hook_->Remove();
    KillTimer(Window(), kBlinkTimer);
    model_.action = model_.Text(PanelText::Saving);
    Render();
    UpdateWindow(Window());
    recorder_.Stop(IdOf(Window()));
    EndRecording();
}

void ControlPanelWindow::EndRecording() {
    hook_.reset();
    KillTimer(Window(), kBlinkTimer);
    awake_.reset();
    ShowWindow(Window(), SW_HIDE);
    exitCode_ = 0;
    // The main window comes back with its list read again, so a new package shows.
    if (!c_.shared.directRun && callbacks_.showMainWindow)
        callbacks_.showMainWindow(true);
    PostMessageW(Window(), kCloseMessage, 0, 0);
}

void ControlPanelWindow::ShowCaptureNote() {
    switch (recorder_.note) {
        case CaptureNote::ChangesMade:
            model_.status = model_.Text(PanelText::ChangesMade);
            break;
        case CaptureNote::NotTextField:
            model_.status = model_.Text(PanelText::ChosenNotTextField);
            break;
        case CaptureNote::None:
            break;
    }
}

void ControlPanelWindow::OnCapturedTextChanged() {
    recorder_.SetCapturedText(TextOf(Item(kCapturedText)));
    ShowCaptureNote();
    Render();
}

void ControlPanelWindow::OnFilterClicked() {
    recorder_.filterChecked = IsDlgButtonChecked(Window(), kFilterBox) == BST_CHECKED;
    if (!recorder_.filterChecked)
        model_.status = model_.Text(PanelText::ContinueChangedText);
    else if (!recorder_.lastWindowIsEdit)
        model_.status = model_.Text(PanelText::NotTextWindow);
    Render();
}

void ControlPanelWindow::ShowPasteMenu(int button) {
    struct MenuItem {
        int command;
        const char* builtIn;
        int key;
    };
    static constexpr std::array<MenuItem, 4> kPasteItems{
        {{kPasteClipboard, "Из буфера обмена", 42},
         {kPasteProgramFiles, "Путь к папке Program Files", 43},
         {kPasteUserName, "Имя пользователя", 44},
         {kPasteTemp, "Путь к временной папке TEMP", 45}}};
    static constexpr std::array<MenuItem, 2> kBrowseItems{
        {{kPasteFile, "файла", 46}, {kPasteFolder, "папки", 47}}};
    unique_hmenu menu(CreatePopupMenu());
    auto add = [&](const MenuItem& item) {
        AppendMenuW(menu.get(), MF_STRING, static_cast<UINT_PTR>(item.command),
                    Utf8ToWide(c_.language.LangText(item.builtIn, "MainMenu", item.key)).c_str());
    };
    if (button == kPasteButton)
        std::for_each(kPasteItems.begin(), kPasteItems.end(), add);
    else
        std::for_each(kBrowseItems.begin(), kBrowseItems.end(), add);
    RECT r{};
    GetWindowRect(Item(button), &r);
    const int chosen = static_cast<int>(
        TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_NONOTIFY, r.right, r.top, 0, Window(), nullptr));
    if (chosen != 0)
        Paste(chosen);
}

void ControlPanelWindow::Paste(int command) {
    std::optional<std::string> text;
    switch (command) {
        case kPasteClipboard:
            text = ClipboardText(Window());
            break;
        case kPasteProgramFiles:
            text = c_.pathVars.Value("%PROGRAMFILES%");
            break;
        case kPasteUserName:
            text = c_.pathVars.Value("%USERNAME%");
            break;
        case kPasteTemp:
            text = c_.pathVars.Value("%TEMP%");
            break;
        case kPasteFile:
            text = c_.dialogs.OpenFile(IdOf(Window()), "", c_.language.LangText("Открыть", "New", 15),
                                       GetSetting(c_.settings, kSettingFolderBrowseExe));
            break;
        case kPasteFolder:
            text = c_.dialogs.BrowseFolder(IdOf(Window()), "",
                                           c_.language.LangText("Выберите папку для обзора", "Stels", 18));
            break;
        default:
            break;
    }
    // A cancelled dialog gives nothing, and the selected text stays.
    if (text)
        InsertCapturedText(*text);
}

// Replaces the box's selection with the text and selects what was inserted. The box counts UTF-16 units,
// the recorder bytes of UTF-8.
void ControlPanelWindow::InsertCapturedText(const std::string& text) {
    HWND box = Item(kCapturedText);
    DWORD start = 0, end = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const std::wstring current = Utf8ToWide(recorder_.capturedText);
    const std::size_t from = std::min<std::size_t>(start, current.size());
    const std::size_t to = std::clamp<std::size_t>(end, from, current.size());
    recorder_.InsertCapturedText(text, WideToUtf8(current.substr(0, from)).size(),
                                 WideToUtf8(current.substr(from, to - from)).size());
    ShowCaptureNote();
    Render();
    SetFocus(box);
    SendMessageW(box, EM_SETSEL, from, from + Utf8ToWide(text).size());
}

}  // namespace velmora::panel_window
