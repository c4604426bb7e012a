#include "engine/win32/frmStels.h"

#include <commctrl.h>

#include <array>
#include <optional>
#include <string>

#include "engine/win32/PanelIds.h"
#include "platform/win32/WideText.h"
#include "ui/common/win32/BaseWindow.h"
#include "ui/main/win32/frmStat.h"

namespace velmora {

namespace {

using namespace panel_window;

constexpr int kLogoIcon = 200;
constexpr UINT kCloseMessage = WM_APP + 1;

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
    Panel(const PanelContext& context, PanelCallbacks callbacks)
        : c_(context),
          callbacks_(std::move(callbacks)),
          model_(context.language),
          player_(PlayerPorts{context.windows, context.shell, context.files, context.system, context.settings,
                              context.language, context.pathVars, context.scenario, context.step,
                              context.shared, context.stats, model_, *this}) {}

    bool Create();

    static const wchar_t* ClassName() { return kClassName; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnFinalMessage();

    // --- PlayerHost ---
    void SetStepTimer(bool enabled, int intervalMs) override { SetOrKill(kTmrDo, enabled, intervalMs); }
    void SetExitTimer(bool enabled) override { SetOrKill(kTmrExit, enabled, Player::kExitIntervalMs); }
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

    PanelContext c_;
    PanelCallbacks callbacks_;
    PanelModel model_;
    Player player_;
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
    HWND logo = add(L"STATIC", SS_ICON | SS_CENTERIMAGE | SS_REALSIZECONTROL, kLogo, L::imgLogo);
    SendMessageW(logo, STM_SETICON,
                 reinterpret_cast<WPARAM>(
                     LoadImageW(instance, MAKEINTRESOURCEW(kLogoIcon), IMAGE_ICON, 32, 32, LR_SHARED)),
                 0);
    HWND caption = add(L"STATIC", SS_LEFT | SS_NOPREFIX, kCaption, L::lblCaption);
    captionFont_.reset(CreateFontW(-13, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   FIXED_PITCH | FF_MODERN, L"Courier New"));
    SendMessageW(caption, WM_SETFONT, reinterpret_cast<WPARAM>(captionFont_.get()), FALSE);
    add(L"STATIC", SS_LEFT | SS_NOPREFIX, kAct, L::lblAct);
    add(L"STATIC", SS_ETCHEDVERT, kLine, PanelRect{L::kLine7X, 0, 2, L::shpMain.height});
    add(L"STATIC", SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, kCounter, L::lblKolvoProg);
    add(L"STATIC", SS_LEFT | SS_NOPREFIX, kStatus, L::lblStatus);

    // The buttons are pictures that report clicks; their bitmaps sit on the classic face grey.
    const std::array<std::pair<int, int>, 4> buttons{
        {{kPlay, 111}, {kPause, 112}, {kStop, 113}, {kNext, 114}}};
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
    const std::array<std::pair<int, const std::string*>, 4> tips{{{kPlay, &model_.texts.imgPlayTip},
                                                                  {kPause, &model_.texts.imgPauseTip},
                                                                  {kStop, &model_.texts.imgStopTip},
                                                                  {kNext, &model_.texts.imgPlayNextTip}}};
    for (const auto& [id, text] : tips) {
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
    model_.ApplyPanelLanguage();
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
    setText(kCaption, model_.lblCaption);
    place(kCaption, model_.lblCaptionVisible, model_.lblCaptionRect);
    setText(kAct, model_.lblAct);
    place(kAct, true, model_.lblActRect);
    setText(kCounter, model_.lblKolvoProg);
    ShowWindow(Item(kCounter), model_.lblKolvoProgVisible ? SW_SHOWNA : SW_HIDE);
    ShowWindow(Item(kLine), model_.line7Visible ? SW_SHOWNA : SW_HIDE);
    setText(kStatus, model_.lblStatus);
    place(kPlay, model_.imgPlayVisible, model_.imgPlayRect);
    place(kPause, model_.imgPauseVisible, model_.imgPauseRect);
    place(kStop, model_.imgStopVisible, model_.imgStopRect);
    place(kNext, model_.imgPlayNextVisible, model_.imgPlayNextRect);

    RECT rect{};
    GetWindowRect(Window(), &rect);
    if (rect.bottom - rect.top != model_.windowHeight)
        SetWindowPos(Window(), nullptr, 0, 0, rect.right - rect.left, model_.windowHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Panel::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Window(), &paint);
    RECT strip{0, 0, panel_layout::shpMain.width, panel_layout::shpMain.height};
    DrawEdge(dc, &strip, EDGE_RAISED, BF_RECT);
    EndPaint(Window(), &paint);
}

void Panel::RunEnded(bool stopped) {
    KillTimer(Window(), kTmrDo);
    KillTimer(Window(), kTmrExit);
    awake_.reset();
    exitCode_ = c_.stats.ExitCode();
    const bool direct = c_.shared.g_DirectRun;
    HWND owner = nullptr;
    if (!stopped && !direct && callbacks_.showMainWindow)
        owner = callbacks_.showMainWindow(false);
    ShowWindow(Window(), SW_HIDE);
    if (!c_.shared.g_NoStatistics)
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
            if (wParam == kTmrDo)
                player_.tmrDo_Timer();
            else if (wParam == kTmrExit)
                player_.tmrExit_Timer();
            return 0;
        case WM_COMMAND:
            if (HIWORD(wParam) == STN_CLICKED) {
                switch (LOWORD(wParam)) {
                    case kPause:
                        player_.PausePlay();
                        break;
                    case kPlay:
                        player_.PlayAfterPause();
                        break;
                    case kNext:
                        player_.imgPlayNext_Click();
                        break;
                    case kStop:
                        player_.imgStop_Click();
                        break;
                    default:
                        break;
                }
            }
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            // Any press on the strip or its labels moves the window with the mouse.
            ReleaseCapture();
            SendMessageW(Window(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
            return 0;
        case WM_SETCURSOR: {
            HWND over = reinterpret_cast<HWND>(wParam);
            if (over == Item(kStop) || over == Item(kPlay)) {
                model_.lblStatus = model_.StatusTipFor(
                    over == Item(kStop) ? PanelControl::imgStop : PanelControl::imgPlay, false, true);
                SetDlgItemTextW(Window(), kStatus, Utf8ToWide(model_.lblStatus).c_str());
            }
            break;
        }
        case WM_CTLCOLORSTATIC:
            SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        case WM_PAINT:
            Paint();
            return 0;
        case WM_QUERYENDSESSION:
            return FALSE;  // an installer's restart request must not end the run
        case WM_CLOSE:
            player_.imgStop_Click();  // closing by any other way is a stop, so the statistics are kept
            return 0;
        case kCloseMessage:
            DestroyWindow(Window());
            return 0;
        case WM_DESTROY:
            KillTimer(Window(), kTmrDo);
            KillTimer(Window(), kTmrExit);
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
    const PanelPlacement place = PositionForm(c_.system.ScreenSize(), static_cast<int>(GetDpiForSystem()));
    if (!CreateWindowOfClass(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"Velmora Runwright", WS_POPUP, place.left,
                             place.top, place.width, place.height))
        return false;
    created_ = true;
    SetTopMost(true);
    awake_.emplace();
    c_.stats.ResetStat();
    player_.LoadPlaySpeed();
    player_.Play();
    Render();
    return true;
}

}  // namespace

bool OpenPlayPanel(const PanelContext& context, PanelCallbacks callbacks) {
    auto panel = std::make_unique<Panel>(context, std::move(callbacks));
    if (!panel->Create())
        return false;
    panel.release();  // deleted when its window is destroyed
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
