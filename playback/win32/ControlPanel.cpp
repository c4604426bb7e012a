#include "playback/win32/ControlPanel.h"

#include <commctrl.h>

#include "platform/win32/WideText.h"
#include "playback/win32/ControlPanelWindow.h"
#include "playback/win32/StatisticsWindow.h"
#include "resources/ResourceIds.h"

namespace velmora {
namespace panel_window {

void ControlPanelWindow::SetOrKill(TimerId id, bool enabled, int intervalMs) {
    if (enabled)
        SetTimer(Window(), id, static_cast<UINT>(intervalMs > 0 ? intervalMs : 1), nullptr);
    else
        KillTimer(Window(), id);
}

bool ControlPanelWindow::IsOwnWindow(WindowId window) {
    HWND hwnd = reinterpret_cast<HWND>(window);
    return hwnd && (hwnd == Window() || IsChild(Window(), hwnd) || GetWindow(hwnd, GW_OWNER) == Window());
}

void ControlPanelWindow::AddControls() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    auto add = [&](const wchar_t* cls, DWORD style, int id, const PanelRect& r) {
        HWND control =
            CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.width, r.height,
                            Window(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        return control;
    };
    namespace L = panel_layout;
    HWND logo = add(L"STATIC", SS_ICON | SS_CENTERIMAGE | SS_REALSIZECONTROL, kLogo, L::kLogo);
    SendMessageW(logo, STM_SETICON,
                 reinterpret_cast<WPARAM>(
                     LoadImageW(instance, MAKEINTRESOURCEW(IDI_LOGO), IMAGE_ICON, 32, 32, LR_SHARED)),
                 0);
    HWND caption = add(L"STATIC", SS_LEFT | SS_NOPREFIX, kCaption, L::kCaption);
    captionFont_.reset(CreateFontW(-13, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   FIXED_PITCH | FF_MODERN, L"Courier New"));
    SendMessageW(caption, WM_SETFONT, reinterpret_cast<WPARAM>(captionFont_.get()), FALSE);
    add(L"STATIC", SS_LEFT | SS_NOPREFIX, kAction, L::kAction);
    add(L"STATIC", SS_ETCHEDVERT, kSeparator, PanelRect{L::kSeparatorX, 0, 2, L::kStrip.height});
    add(L"STATIC", SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, kCounter, L::kCounter);
    add(L"STATIC", SS_LEFT | SS_NOPREFIX, kStatus, L::kStatusLine);
    if (recording_) {
        add(L"BUTTON", BS_PUSHBUTTON, kPasteButton, L::kPasteButton);
        add(L"BUTTON", BS_PUSHBUTTON, kBrowseButton, L::kBrowseButton);
        add(L"BUTTON", BS_PUSHBUTTON, kProgramsPanelButton, L::kProgramsPanelButton);
        add(L"BUTTON", BS_PUSHBUTTON, kCancelTextButton, L::kCancelTextButton);
        add(L"BUTTON", BS_AUTOCHECKBOX | BS_MULTILINE, kAutoReplaceBox, L::kAutoReplaceBox);
        add(L"BUTTON", BS_AUTOCHECKBOX, kFilterBox, L::kFilterBox);
        HWND text = add(L"EDIT", ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP,
                        kCapturedText, L::kCapturedText);
        SendMessageW(text, EM_SETLIMITTEXT, 0, 0);  // as long as the field it came from
    }

    // The buttons are pictures that report clicks; their bitmaps sit on the classic face grey.
    const std::array<std::pair<int, int>, 4> buttons{{{kPlay, IDB_PANEL_PLAY},
                                                      {kPause, IDB_PANEL_PAUSE},
                                                      {kStop, IDB_PANEL_STOP},
                                                      {kNext, IDB_PANEL_NEXT}}};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        HWND image = add(L"STATIC", SS_BITMAP | SS_NOTIFY, buttons[i].first,
                         PanelRect{0, L::kButtonTop, L::kButtonSize, L::kButtonSize});
        bitmaps_[i].reset(static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(buttons[i].second),
                                                          IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS)));
        SendMessageW(image, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmaps_[i].get()));
    }
}

void ControlPanelWindow::AddTooltips() {
    tooltip_ =
        CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, Window(), nullptr, GetModuleHandleW(nullptr), nullptr);
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
        if (!Item(id))
            continue;
        std::wstring wide = Utf8ToWide(*text);
        TTTOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = Window();
        tool.uId = reinterpret_cast<UINT_PTR>(Item(id));
        tool.lpszText = wide.data();
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void ControlPanelWindow::OnCreate() {
    AddControls();
    // Only the strip is visible: the region also holds the options area, which the window height hides.
    std::array<POINT, 9> corners{};
    const auto region = PanelRegion();
    for (std::size_t i = 0; i < corners.size(); ++i)
        corners[i] = POINT{region[i].x, region[i].y};
    if (HRGN rgn = CreatePolygonRgn(corners.data(), static_cast<int>(corners.size()), WINDING)) {
        if (!SetWindowRgn(Window(), rgn, TRUE))
            DeleteObject(rgn);  // the window owns the region only when it took it
    }
    model_.ApplyLanguage();
    const std::array<std::pair<int, const std::string*>, 6> captions{
        {{kPasteButton, &model_.texts.pasteCaption},
         {kBrowseButton, &model_.texts.browseCaption},
         {kProgramsPanelButton, &model_.texts.programsPanelCaption},
         {kCancelTextButton, &model_.texts.cancelTextCaption},
         {kAutoReplaceBox, &model_.texts.autoReplaceCaption},
         {kFilterBox, &model_.texts.filterCaption}}};
    for (const auto& [id, text] : captions)
        SetDlgItemTextW(Window(), id, Utf8ToWide(*text).c_str());
    model_.status = model_.texts.statusCaption;
    AddTooltips();
    shutdownBlock_.Create(Window(),
                          Utf8ToWide("Velmora Runwright: " + model_.Text(PanelText::WaitingForInstall)));
}

void ControlPanelWindow::Render() {
    auto setText = [&](int id, const std::string& text) {
        std::wstring wide = Utf8ToWide(text);
        wchar_t current[1024] = {};
        GetWindowTextW(Item(id), current, 1024);
        if (wide != current)  // unchanged texts are not redrawn, so the strip does not flicker
            SetWindowTextW(Item(id), wide.c_str());
    };
    auto place = [&](int id, bool visible, const PanelRect& r) {
        HWND control = Item(id);
        SetWindowPos(control, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
        ShowWindow(control, visible ? SW_SHOWNA : SW_HIDE);
    };
    setText(kCaption, model_.caption);
    place(kCaption, model_.captionVisible, model_.captionRect);
    setText(kAction, model_.action);
    place(kAction, true, model_.actionRect);
    setText(kCounter, model_.counter);
    ShowWindow(Item(kCounter), model_.counterVisible ? SW_SHOWNA : SW_HIDE);
    ShowWindow(Item(kSeparator), model_.separatorVisible ? SW_SHOWNA : SW_HIDE);
    setText(kStatus, model_.status);
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
        setText(kCapturedText, recorder_.capturedText);
        settingText_ = false;
    }

    RECT rect{};
    GetWindowRect(Window(), &rect);
    if (rect.bottom - rect.top != model_.windowHeight)
        SetWindowPos(Window(), nullptr, 0, 0, rect.right - rect.left, model_.windowHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ControlPanelWindow::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Window(), &paint);
    RECT strip{0, 0, panel_layout::kStrip.width, panel_layout::kStrip.height};
    DrawEdge(dc, &strip, EDGE_RAISED, BF_RECT);
    const PanelRect& o = panel_layout::kOptionsArea;
    RECT options{o.left, o.top, o.left + o.width, o.top + o.height};
    DrawEdge(dc, &options, EDGE_RAISED, BF_RECT);
    EndPaint(Window(), &paint);
}

void ControlPanelWindow::RunEnded(bool stopped) {
    KillTimer(Window(), kStepTimer);
    KillTimer(Window(), kNextPackageTimer);
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
    // Closed from a clean stack: the player that called here is still on it.
    PostMessageW(Window(), kCloseMessage, 0, 0);
}

LRESULT ControlPanelWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_TIMER:
            if (wParam == kStepTimer) {
                player_.OnStepTimer();
            } else if (wParam == kNextPackageTimer) {
                player_.OnNextPackageTimer();
            } else if (wParam == kBlinkTimer) {
                model_.captionVisible = !model_.captionVisible;
                Render();
            }
            return 0;
        case kMouseHookMessage:
            TakeHookedEvents();
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == kCapturedText) {
                if (HIWORD(wParam) == EN_CHANGE && !settingText_)
                    OnCapturedTextChanged();
            } else if (HIWORD(wParam) == STN_CLICKED || HIWORD(wParam) == BN_CLICKED) {
                OnClick(LOWORD(wParam));
            }
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
            return FALSE;  // an installer's restart request must not end the run
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
            hook_.reset();
            KillTimer(Window(), kBlinkTimer);
            KillTimer(Window(), kStepTimer);
            KillTimer(Window(), kNextPackageTimer);
            awake_.reset();
            return 0;
        default:
            break;
    }
    return Default(message, wParam, lParam);
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
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    const PanelPlacement place = PlacePanel(c_.system.ScreenSize(), static_cast<int>(GetDpiForSystem()));
    if (!CreateWindowOfClass(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"Velmora Runwright", WS_POPUP, place.left,
                             place.top, place.width, place.height))
        return false;
    created_ = true;
    SetTopMost(true);
    awake_.emplace();
    if (recording_) {
        StartRecording();
        return true;
    }
    c_.stats.Reset();
    player_.LoadPlaySpeed();
    player_.Play();
    Render();
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
            c_.shell.Open("rundll32.exe", "shell32.dll,Control_RunDLL appwiz.cpl", "", Id(Window()));
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
            SetDlgItemTextW(Window(), kStatus, Utf8ToWide(model_.status).c_str());
            return;
        }
    }
}

}  // namespace panel_window

bool OpenPlayPanel(const PanelContext& context, PanelCallbacks callbacks) {
    auto panel = std::make_unique<panel_window::ControlPanelWindow>(context, std::move(callbacks), false);
    if (!panel->Create())
        return false;
    panel.release();  // deleted when its window is destroyed
    return true;
}

bool OpenRecordPanel(const PanelContext& context, PanelCallbacks callbacks) {
    auto panel = std::make_unique<panel_window::ControlPanelWindow>(context, std::move(callbacks), true);
    if (!panel->Create())
        return false;
    panel.release();
    return true;
}

int PlayDirectRun(const PanelContext& context) {
    PanelCallbacks callbacks;
    callbacks.closed = [](int exitCode) { PostQuitMessage(exitCode); };
    if (!OpenPlayPanel(context, std::move(callbacks)))
        return 2;
    MSG message;
    BOOL got = 0;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return got == 0 ? static_cast<int>(message.wParam) : 2;
}

}  // namespace velmora
