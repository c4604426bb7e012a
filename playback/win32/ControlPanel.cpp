#include "playback/win32/ControlPanel.h"

#include <commctrl.h>

#include <array>
#include <optional>
#include <string>

#include "platform/win32/WideText.h"
#include "playback/win32/ControlPanelIds.h"
#include "base/NoticeTexts.h"
#include "playback/win32/StatisticsWindow.h"
#include "recording/Recorder.h"
#include "recording/win32/MouseHook.h"
#include "resources/ResourceIds.h"
#include "ui/win32/BaseWindow.h"
#include "ui/win32/NoticeWindows.h"

namespace velmora {

namespace {

using namespace panel_window;

constexpr UINT kCloseMessage = WM_APP + 1;
constexpr UINT kMouseHookMessage = WM_APP + 2;  // the recorder's mouse hook has events waiting

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

// While a run is in progress the machine must not fall asleep under the installers.
class KeepAwake {
  public:
    KeepAwake() { SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED); }
    ~KeepAwake() { SetThreadExecutionState(ES_CONTINUOUS); }
    KeepAwake(const KeepAwake&) = delete;
    KeepAwake& operator=(const KeepAwake&) = delete;
};

// Tells the log-off screen why the panel refuses to end the session, where the system offers that. Loaded
// by name because it may be missing, and it is a failing stub under Wine. Its Query companion aborts the
// process under Wine, so it is never called.
class ShutdownBlock {
  public:
    void Create(HWND window, const std::wstring& reason) {
        using CreateFn = BOOL(WINAPI*)(HWND, LPCWSTR);
        auto create = reinterpret_cast<CreateFn>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "ShutdownBlockReasonCreate")));
        if (create && create(window, reason.c_str()))
            window_ = window;
    }
    ~ShutdownBlock() {
        if (!window_)
            return;
        using DestroyFn = BOOL(WINAPI*)(HWND);
        auto destroy = reinterpret_cast<DestroyFn>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "ShutdownBlockReasonDestroy")));
        if (destroy)
            destroy(window_);
    }

  private:
    HWND window_ = nullptr;
};

class Panel : public BaseWindow<Panel>, public PlayerHost {
  public:
    Panel(const PanelContext& context, PanelCallbacks callbacks, bool recording)
        : c_(context),
          callbacks_(std::move(callbacks)),
          model_(context.language),
          player_(PlayerPorts{context.windows, context.shell, context.files, context.system, context.settings,
                              context.language, context.pathVars, context.scenario, context.step,
                              context.shared, context.stats, model_, *this}),
          recorder_(RecorderPorts{context.windows, context.files, context.dialogs, context.clock,
                                  context.language, context.pathVars, context.scenario, context.step,
                                  context.shared}),
          recording_(recording) {}

    bool Create();

    static const wchar_t* ClassName() { return kClassName; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnFinalMessage();

    // --- PlayerHost ---
    void SetStepTimer(bool enabled, int intervalMs) override { SetOrKill(kStepTimer, enabled, intervalMs); }
    void SetNextPackageTimer(bool enabled) override {
        SetOrKill(kNextPackageTimer, enabled, Player::kNextPackageIntervalMs);
    }
    void SetTopMost(bool topMost) override { c_.windows.SetTopMost(Id(Window()), topMost); }
    bool IsOwnWindow(WindowId window) override;
    void PanelChanged() override { Render(); }
    void RunEnded(bool stopped) override;

  private:
    static WindowId Id(HWND window) { return reinterpret_cast<WindowId>(window); }
    void OnCreate();
    void AddControls();
    void AddTooltips();
    void Render();
    void Paint();
    void SetOrKill(TimerId id, bool enabled, int intervalMs);
    HWND Item(int id) const { return GetDlgItem(Window(), id); }
    void OnClick(int id);
    void ShowStatusTip(HWND over);

    // Recording.
    void StartRecording();
    void ContinueRecording();
    void TakeHookedEvents();
    void PauseRecording();
    void ResumeRecording(bool keepText);
    void StopRecording();
    void EndRecording();
    void ShowCaptureNote();
    void OnCapturedTextChanged();
    void OnFilterClicked();
    void ShowPasteMenu(int button);
    void Paste(int command);
    void InsertCapturedText(const std::string& text);

    PanelContext c_;
    PanelCallbacks callbacks_;
    PanelModel model_;
    Player player_;
    Recorder recorder_;
    bool recording_;
    std::optional<MouseHook> hook_;
    bool settingText_ = false;  // the captured-text box changes because the recorder's text did
    HWND tooltip_ = nullptr;
    unique_hfont captionFont_;
    std::array<unique_hbitmap, 4> bitmaps_;
    std::optional<KeepAwake> awake_;
    ShutdownBlock shutdownBlock_;
    int exitCode_ = 1;
    bool created_ = false;  // from then on the window owns this object
};

void Panel::SetOrKill(TimerId id, bool enabled, int intervalMs) {
    if (enabled)
        SetTimer(Window(), id, static_cast<UINT>(intervalMs > 0 ? intervalMs : 1), nullptr);
    else
        KillTimer(Window(), id);
}

bool Panel::IsOwnWindow(WindowId window) {
    HWND hwnd = reinterpret_cast<HWND>(window);
    return hwnd && (hwnd == Window() || IsChild(Window(), hwnd) || GetWindow(hwnd, GW_OWNER) == Window());
}

void Panel::AddControls() {
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

void Panel::AddTooltips() {
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

void Panel::OnCreate() {
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

void Panel::Render() {
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

void Panel::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Window(), &paint);
    RECT strip{0, 0, panel_layout::kStrip.width, panel_layout::kStrip.height};
    DrawEdge(dc, &strip, EDGE_RAISED, BF_RECT);
    const PanelRect& o = panel_layout::kOptionsArea;
    RECT options{o.left, o.top, o.left + o.width, o.top + o.height};
    DrawEdge(dc, &options, EDGE_RAISED, BF_RECT);
    EndPaint(Window(), &paint);
}

void Panel::RunEnded(bool stopped) {
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
        exitCode_ = ShowStatistics(owner, c_.stats, c_.language, direct).exitCode;
    if (stopped && !direct && callbacks_.showMainWindow)
        callbacks_.showMainWindow(true);
    // Closed from a clean stack: the player that called here is still on it.
    PostMessageW(Window(), kCloseMessage, 0, 0);
}

LRESULT Panel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
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
void Panel::OnFinalMessage() {
    if (!created_)
        return;
    PanelCallbacks callbacks = std::move(callbacks_);
    const int exitCode = exitCode_;
    delete this;
    if (callbacks.closed)
        callbacks.closed(exitCode);
}

bool Panel::Create() {
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

void Panel::OnClick(int id) {
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

void Panel::ShowStatusTip(HWND over) {
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

void Panel::StartRecording() {
    model_.RecordLayout();
    recorder_.Begin(c_.system.ScreenSize());
    hook_.emplace(Window(), kMouseHookMessage);
    ContinueRecording();
    // Whether the installer starts is not checked: a recording can always be stopped without a step.
    c_.shell.Open(c_.shared.installerPath, c_.shared.installerCommandLine, c_.files.CurrentDirectory(), 0);
}

void Panel::ContinueRecording() {
    model_.ShowRunning();
    model_.caption = model_.Text(PanelText::Recording);
    model_.captionVisible = true;
    model_.windowHeight = panel_layout::kStrip.height;
    SetTimer(Window(), kBlinkTimer, panel_layout::kBlinkIntervalMs, nullptr);
    hook_->Install();
    Render();
}

// Events the hook noted reach the recorder in order, also those still waiting when a button of the panel
// is pressed.
void Panel::TakeHookedEvents() {
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

void Panel::PauseRecording() {
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

void Panel::ResumeRecording(bool keepText) {
    model_.action.clear();
    recorder_.Resume(keepText);
    model_.status = model_.texts.statusCaption;
    ContinueRecording();
}

void Panel::StopRecording() {
    TakeHookedEvents();
    hook_->Remove();
    KillTimer(Window(), kBlinkTimer);
    model_.action = model_.Text(PanelText::Saving);
    Render();
    UpdateWindow(Window());
    recorder_.Stop(Id(Window()));
    EndRecording();
}

void Panel::EndRecording() {
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

void Panel::ShowCaptureNote() {
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

void Panel::OnCapturedTextChanged() {
    const int length = GetWindowTextLengthW(Item(kCapturedText));
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(Item(kCapturedText), text.data(), length + 1)));
    recorder_.SetCapturedText(WideToUtf8(text));
    ShowCaptureNote();
    Render();
}

void Panel::OnFilterClicked() {
    recorder_.filterChecked = IsDlgButtonChecked(Window(), kFilterBox) == BST_CHECKED;
    if (!recorder_.filterChecked)
        model_.status = model_.Text(PanelText::ContinueChangedText);
    else if (!recorder_.lastWindowIsEdit)
        model_.status = model_.Text(PanelText::NotTextWindow);
    Render();
}

void Panel::ShowPasteMenu(int button) {
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

void Panel::Paste(int command) {
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
            text = c_.dialogs.OpenFile(Id(Window()), "", c_.language.LangText("Открыть", "New", 15),
                                       c_.settings.Get("Path", "FolderBrowseExe", "c:\\"));
            break;
        case kPasteFolder:
            text = c_.dialogs.BrowseFolder(Id(Window()), "",
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
void Panel::InsertCapturedText(const std::string& text) {
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

}  // namespace

bool OpenPlayPanel(const PanelContext& context, PanelCallbacks callbacks) {
    auto panel = std::make_unique<Panel>(context, std::move(callbacks), false);
    if (!panel->Create())
        return false;
    panel.release();  // deleted when its window is destroyed
    return true;
}

bool OpenRecordPanel(const PanelContext& context, PanelCallbacks callbacks) {
    auto panel = std::make_unique<Panel>(context, std::move(callbacks), true);
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
