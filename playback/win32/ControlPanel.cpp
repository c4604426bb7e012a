#include "playback/win32/ControlPanel.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/CommonControls.h"
#include "platform/win32/WideText.h"
#include "playback/win32/ControlPanelWindow.h"
#include "playback/win32/StatisticsWindow.h"
#include "resources/ResourceIds.h"
#include "ui/win32/WindowLayout.h"

namespace velmora {
namespace panel_window {
namespace {

namespace L = panel_layout;

// The controls that keep their place; the others move with what the panel shows (Render).
constexpr std::array<std::pair<int, PanelRect>, 11> kFixedPlaces{{
    {kLogo, L::kLogo},
    {kSeparator, PanelRect{L::kSeparatorX, 0, 2, L::kStrip.height}},
    {kCounter, L::kCounter},
    {kStatus, L::kStatusLine},
    {kPasteButton, L::kPasteButton},
    {kBrowseButton, L::kBrowseButton},
    {kProgramsPanelButton, L::kProgramsPanelButton},
    {kCancelTextButton, L::kCancelTextButton},
    {kAutoReplaceBox, L::kAutoReplaceBox},
    {kFilterBox, L::kFilterBox},
    {kCapturedText, L::kCapturedText},
}};

// The buttons are pictures that report clicks; their bitmaps sit on the classic face grey.
constexpr std::array<std::pair<int, int>, 4> kButtons{
    {{kPlay, IDB_PANEL_PLAY}, {kPause, IDB_PANEL_PAUSE}, {kStop, IDB_PANEL_STOP}, {kNext, IDB_PANEL_NEXT}}};

}  // namespace

void ControlPanelWindow::SetOrKill(UINT_PTR id, bool enabled, int intervalMs) {
    const int period = std::max(intervalMs, 1);
    if (Window() == nullptr) {
        earlyTimers_[id - kStepTimer] = enabled ? period : 0;
        return;
    }
    if (enabled)
        SetTimer(Window(), id, static_cast<UINT>(period), nullptr);
    else
        KillTimer(Window(), id);
}

bool ControlPanelWindow::IsOwnWindow(WindowId window) {
    HWND hwnd = reinterpret_cast<HWND>(window);
    return hwnd && (hwnd == Window() || IsChild(Window(), hwnd) || GetWindow(hwnd, GW_OWNER) == Window());
}

void ControlPanelWindow::AddControls() {
    const HWND w = Window();
    AddControl(w, L"STATIC", kLogo, SS_ICON | SS_CENTERIMAGE | SS_REALSIZECONTROL);
    AddControl(w, L"STATIC", kCaption, SS_LEFT | SS_NOPREFIX);
    AddControl(w, L"STATIC", kAction, SS_LEFT | SS_NOPREFIX);
    AddControl(w, L"STATIC", kSeparator, SS_ETCHEDVERT);
    AddControl(w, L"STATIC", kCounter, SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX);
    AddControl(w, L"STATIC", kStatus, SS_LEFT | SS_NOPREFIX);
    if (recording_) {
        const PanelTexts& t = model_.texts;
        AddControl(w, L"BUTTON", kPasteButton, BS_PUSHBUTTON, t.pasteCaption);
        AddControl(w, L"BUTTON", kBrowseButton, BS_PUSHBUTTON, t.browseCaption);
        AddControl(w, L"BUTTON", kProgramsPanelButton, BS_PUSHBUTTON, t.programsPanelCaption);
        AddControl(w, L"BUTTON", kCancelTextButton, BS_PUSHBUTTON, t.cancelTextCaption);
        AddControl(w, L"BUTTON", kAutoReplaceBox, BS_AUTOCHECKBOX | BS_MULTILINE, t.autoReplaceCaption);
        AddControl(w, L"BUTTON", kFilterBox, BS_AUTOCHECKBOX, t.filterCaption);
        HWND text = AddControl(w, L"EDIT", kCapturedText,
                               ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP);
        SendMessageW(text, EM_SETLIMITTEXT, 0, 0);  // as long as the field it came from
    }
    for (const auto& [id, bitmap] : kButtons)
        AddControl(w, L"STATIC", id, SS_BITMAP | SS_NOTIFY);
}

void ControlPanelWindow::ApplyDpi() {
    font_ = CreateGuiFont(Dpi());
    SetChildFonts(Window(), font_.get());
    captionFont_.reset(CreateFontW(-Scale(13), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   FIXED_PITCH | FF_MODERN, L"Courier New"));
    SendMessageW(Item(kCaption), WM_SETFONT, reinterpret_cast<WPARAM>(captionFont_.get()), TRUE);
    unique_hicon logo = LoadIconSized(IDI_LOGO, Scale(32));
    SendMessageW(Item(kLogo), STM_SETICON, reinterpret_cast<WPARAM>(logo.get()), 0);
    logo_ = std::move(logo);
    for (std::size_t i = 0; i < kButtons.size(); ++i) {
        unique_hbitmap picture = LoadFaceBitmap(kButtons[i].second, Dpi());
        SendMessageW(Item(kButtons[i].first), STM_SETIMAGE, IMAGE_BITMAP,
                     reinterpret_cast<LPARAM>(picture.get()));
        bitmaps_[i] = std::move(picture);
    }
    for (const auto& [id, place] : kFixedPlaces) {
        if (Item(id) != nullptr)
            Place(id, place);
    }
    // Only the strip is visible: the region also holds the options area, which the window height hides.
    std::array<POINT, 9> corners{};
    const auto region = PanelRegion();
    for (std::size_t i = 0; i < corners.size(); ++i)
        corners[i] = POINT{Scale(region[i].x), Scale(region[i].y)};
    if (HRGN rgn = CreatePolygonRgn(corners.data(), static_cast<int>(corners.size()), WINDING)) {
        if (!SetWindowRgn(Window(), rgn, TRUE))
            DeleteObject(rgn);  // the window owns the region only when it took it
    }
}

RECT ControlPanelWindow::ScaledRect(const PanelRect& r) const {
    return {Scale(r.left), Scale(r.top), Scale(r.left) + Scale(r.width), Scale(r.top) + Scale(r.height)};
}

// Only a control whose place changed is moved: the panel is drawn again on every change of the player's
// state, and each move costs a round of messages (under Wine one to the X server too).
void ControlPanelWindow::Place(int id, const PanelRect& place) {
    const RECT r = ScaledRect(place);
    HWND control = Item(id);
    RECT now{};
    GetWindowRect(control, &now);
    MapWindowPoints(HWND_DESKTOP, Window(), reinterpret_cast<POINT*>(&now), 2);
    if (!EqualRect(&now, &r))
        SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

void ControlPanelWindow::Show(int id, bool visible) {
    HWND control = Item(id);
    if (((GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0) != visible)
        ShowWindow(control, visible ? SW_SHOWNA : SW_HIDE);
}

void ControlPanelWindow::AddTips() {
    tooltip_ = AddTooltips(Window(), TTS_NOPREFIX);
    if (!tooltip_)
        return;
    const std::array<std::pair<int, const std::string*>, 11> tips{
        {{kPlay, &model_.texts.playTip},
         {kPause, &model_.texts.pauseTip},
         {kStop, &model_.texts.stopTip},
         {kNext, &model_.texts.nextTip},
         {kPasteButton, &model_.texts.pasteTip},
         {kBrowseButton, &model_.texts.browseTip},
         {kProgramsPanelButton, &model_.texts.programsPanelTip},
         {kCancelTextButton, &model_.texts.cancelTextTip},
         {kAutoReplaceBox, &model_.texts.autoReplaceTip},
         {kFilterBox, &model_.texts.filterTip},
         {kCapturedText, &model_.texts.resumeText}}};
    for (const auto& [id, text] : tips) {
        if (Item(id))
            SetTip(tooltip_, Window(), Item(id), *text);
    }
}

void ControlPanelWindow::OnCreate() {
    model_.ApplyLanguage();
    AddControls();
    ApplyDpi();
    model_.status = model_.texts.statusCaption;
    AddTips();
    shutdownBlock_.Create(Window(),
                          Utf8ToWide("Velmora Runwright: " + model_.Text(PanelText::WaitingForInstall)));
    Render();
}

void ControlPanelWindow::Render() {
    auto place = [&](int id, bool visible, const PanelRect& r) {
        Place(id, r);
        Show(id, visible);
    };
    // Unchanged texts are not set again, so the strip does not flicker.
    SetTextIfChanged(Item(kCaption), model_.caption);
    place(kCaption, model_.captionVisible, model_.captionRect);
    SetTextIfChanged(Item(kAction), model_.action);
    place(kAction, true, model_.actionRect);
    SetTextIfChanged(Item(kCounter), model_.counter);
    Show(kCounter, model_.counterVisible);
    Show(kSeparator, model_.separatorVisible);
    SetTextIfChanged(Item(kStatus), model_.status);
    place(kPlay, model_.playVisible, model_.playRect);
    place(kPause, model_.pauseVisible, model_.pauseRect);
    place(kStop, model_.stopVisible, model_.stopRect);
    place(kNext, model_.nextVisible, model_.nextRect);
    if (recording_) {
        CheckDlgButton(Window(), kFilterBox, recorder_.filterChecked ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(Window(), kAutoReplaceBox, recorder_.autoReplaceChecked ? BST_CHECKED : BST_UNCHECKED);
        EnableWindow(Item(kFilterBox), recorder_.filterEnabled);
        EnableWindow(Item(kAutoReplaceBox), recorder_.autoReplaceEnabled);
        settingText_ = true;
        SetTextIfChanged(Item(kCapturedText), recorder_.capturedText);
        settingText_ = false;
    }

    RECT rect{};
    GetWindowRect(Window(), &rect);
    const int width = Scale(L::kStrip.width);
    const int height = Scale(model_.windowHeight);
    if (rect.right - rect.left != width || rect.bottom - rect.top != height)
        SetWindowPos(Window(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ControlPanelWindow::Paint() {
    unique_hdc_paint paint(Window());
    RECT strip = ScaledRect(L::kStrip);
    DrawEdge(paint.get(), &strip, EDGE_RAISED, BF_RECT);
    RECT options = ScaledRect(L::kOptionsArea);
    DrawEdge(paint.get(), &options, EDGE_RAISED, BF_RECT);
}

void ControlPanelWindow::RunEnded(bool stopped) {
    if (Window() == nullptr) {
        endedEarly_ = stopped;
        return;
    }
    windowEvents_.reset();
    KillTimer(Window(), kStepTimer);
    KillTimer(Window(), kNextPackageTimer);
    KillTimer(Window(), kQuickTryTimer);
    awake_.reset();
    exitCode_ = c_.stats.ExitCode();
    const bool direct = c_.shared.directRun;
    HWND owner = nullptr;
    if (!stopped && !direct && callbacks_.showMainWindow)
        owner = callbacks_.showMainWindow(false);
    ShowWindow(Window(), SW_HIDE);
    if (!c_.shared.noStatistics)
        exitCode_ = ShowStatistics(owner, c_.stats, c_.language, direct, &report_).exitCode;
    if (stopped && !direct && callbacks_.showMainWindow)
        callbacks_.showMainWindow(true);
    if (callbacks_.ended)
        callbacks_.ended(exitCode_);
    // Closed from a clean stack: the player that called here is still on it.
    PostMessageW(Window(), kCloseMessage, 0, 0);
}

LRESULT ControlPanelWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_TIMER:
            OnTimer(wParam);
            return 0;
        case kMouseHookMessage:
            TakeHookedEvents();
            return 0;
        case kEndedEarlyMessage:
            RunEnded(endedEarly_.value_or(false));
            return 0;
        case kWindowsChangedMessage:
            if (windowEvents_)
                windowEvents_->Taken();
            player_.WindowsChanged();
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            // Any press on the strip or its labels moves the window with the mouse.
            ReleaseCapture();
            SendMessageW(Window(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
            return 0;
        case WM_SETCURSOR:
            ShowStatusTip(reinterpret_cast<HWND>(wParam));
            break;
        case WM_CTLCOLORSTATIC:
            SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        case WM_PAINT:
            Paint();
            return 0;
        case WM_QUERYENDSESSION:
            // An installer's restart request must not end the run; only the run's own restart may.
            if (!player_.OwnRestartRequested())
                return FALSE;
            shutdownBlock_.Destroy();
            return TRUE;
        case WM_ENDSESSION:
            // The session goes on after all: a program refused the run's restart.
            if (wParam == FALSE)
                player_.RestartRefused();
            return 0;
        case WM_CLOSE:
            if (recording_)
                EndRecording();  // closed another way than by the stop button: nothing is saved
            else
                player_.Stop();  // closing by any other way is a stop, so the statistics are kept
            return 0;
        case kCloseMessage:
            DestroyWindow(Window());
            return 0;
        case WM_DESTROY:
            OnDestroy();
            return 0;
        default:
            break;
    }
    return Default(message, wParam, lParam);
}

void ControlPanelWindow::OnDestroy() {
    hook_.reset();
    windowEvents_.reset();
    KillTimer(Window(), kBlinkTimer);
    KillTimer(Window(), kStepTimer);
    KillTimer(Window(), kNextPackageTimer);
    KillTimer(Window(), kQuickTryTimer);
    awake_.reset();
}

void ControlPanelWindow::OnTimer(UINT_PTR id) {
    if (id == kStepTimer) {
        player_.OnStepTimer();
    } else if (id == kNextPackageTimer) {
        player_.OnNextPackageTimer();
    } else if (id == kQuickTryTimer) {
        player_.WindowsChanged();
    } else if (id == kBlinkTimer) {
        model_.captionVisible = !model_.captionVisible;
        Render();
    }
}

void ControlPanelWindow::OnCommand(int id, int code) {
    if (id == kCapturedText) {
        if (code == EN_CHANGE && !settingText_)
            OnCapturedTextChanged();
    } else if (code == STN_CLICKED || code == BN_CLICKED) {
        OnClick(id);
    }
}

// The window owns the panel once it exists; a window that failed to be created leaves it to the opener.
void ControlPanelWindow::OnFinalMessage() {
    if (!created_)
        return;
    PanelCallbacks callbacks = std::move(callbacks_);
    const int exitCode = exitCode_;
    delete this;
    if (callbacks.closed)
        callbacks.closed(exitCode);
}

bool ControlPanelWindow::Create() {
    awake_.emplace();
    if (!recording_) {
        // The first package starts before the panel is made, so that the installer loads while it is: the
        // player's calls meanwhile are kept for the window (SetOrKill, RunEnded).
        c_.stats.Reset();
        player_.LoadPlaySpeed();
        player_.Play();
        player_.OnNextPackageTimer();
    }
    // Only now: the controls and the screen's size start the display driver.
    InitCommonControls(ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES);
    const PanelPlacement place = PlacePanel(c_.system.ScreenSize(), static_cast<int>(GetDpiForSystem()));
    if (!CreateWindowOfClass(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"Velmora Runwright", WS_POPUP, place.left,
                             place.top, place.width, place.height)) {
        player_.Stop();  // the report ends; an installer already started is left running, as after a stop
        return false;
    }
    created_ = true;
    // The strip is placed as drawn at 96 DPI; at the monitor's DPI it has grown (Render), about its middle.
    if (const int grown = Scale(place.width) - place.width; grown != 0)
        SetWindowPos(Window(), nullptr, place.left - grown / 2, place.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetTopMost(true);
    if (recording_) {
        StartRecording();
        return true;
    }
    windowEvents_.emplace(Window(), kWindowsChangedMessage);
    for (std::size_t i = 0; i < earlyTimers_.size(); ++i) {
        if (earlyTimers_[i] > 0)
            SetOrKill(kStepTimer + i, true, earlyTimers_[i]);
    }
    // Posted, so that the panel is not closed inside its own creation.
    if (endedEarly_)
        PostMessageW(Window(), kEndedEarlyMessage, 0, 0);
    return true;
}

void ControlPanelWindow::OnClick(int id) {
    if (!recording_) {
        switch (id) {
            case kPause:
                return player_.Pause();
            case kPlay:
                return player_.Resume();
            case kNext:
                return player_.Skip();
            case kStop:
                return player_.Stop();
            default:
                return;
        }
    }
    switch (id) {
        case kPause:
            return PauseRecording();
        case kPlay:
            return ResumeRecording(true);
        case kCancelTextButton:
            return ResumeRecording(false);
        case kStop:
            return StopRecording();
        case kFilterBox:
            return OnFilterClicked();
        case kAutoReplaceBox:
            recorder_.autoReplaceChecked = IsDlgButtonChecked(Window(), kAutoReplaceBox) == BST_CHECKED;
            return;
        case kPasteButton:
        case kBrowseButton:
            return ShowPasteMenu(id);
        case kProgramsPanelButton:
            // With an owner window the shell says itself what went wrong.
            static_cast<void>(
                c_.shell.Open("rundll32.exe", "shell32.dll,Control_RunDLL appwiz.cpl", "", IdOf(Window())));
            return;
        default:
            return;
    }
}

void ControlPanelWindow::ShowStatusTip(HWND over) {
    static constexpr std::array<std::pair<int, PanelControl>, 9> kTips{{
        {kStop, PanelControl::Stop},
        {kPlay, PanelControl::Play},
        {kAutoReplaceBox, PanelControl::AutoReplace},
        {kFilterBox, PanelControl::Filter},
        {kBrowseButton, PanelControl::Browse},
        {kCancelTextButton, PanelControl::CancelText},
        {kPasteButton, PanelControl::Paste},
        {kProgramsPanelButton, PanelControl::ProgramsPanel},
        {kCapturedText, PanelControl::CapturedText},
    }};
    for (const auto& [id, control] : kTips) {
        if (over != nullptr && over == Item(id)) {
            model_.status = model_.StatusTipFor(control, recording_ && recorder_.lastWindowIsEdit,
                                                !recording_ || recorder_.filterChecked);
            SetText(Item(kStatus), model_.status);
            return;
        }
    }
}

}  // namespace panel_window
}  // namespace velmora
