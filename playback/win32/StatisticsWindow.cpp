#include "playback/win32/StatisticsWindow.h"

#include <algorithm>
#include <string>

#include <commctrl.h>
#include <shellapi.h>

#include "platform/win32/CommonControls.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "playback/win32/StatisticsWindowIds.h"
#include "resources/ResourceIds.h"
#include "ui/win32/BaseWindow.h"
#include "ui/win32/Controls.h"
#include "ui/win32/ModalLoop.h"
#include "ui/win32/WindowLayout.h"

namespace velmora {

namespace {

using namespace statistics_window;

constexpr UINT_PTR kCountdownTimer = 1;

// Layout at 96 DPI, client pixels.
constexpr int kClientWidth = 560;
constexpr int kMargin = 8;
constexpr int kListHeight = 170;
constexpr int kButtonWidth = 88;
constexpr int kReportButtonWidth = 120;
constexpr int kButtonHeight = 25;
constexpr int kCountdownHeight = 18;
// Client height without the countdown line, and with it.
constexpr int kShortClientHeight = kMargin + kListHeight + kMargin + kButtonHeight + kMargin;
constexpr int kTallClientHeight = kShortClientHeight + kCountdownHeight + kMargin;
// The whole window's height in a direct run, at least.
constexpr int kDirectRunHeight =
    StatisticsWindowModel::kDirectRunHeightTwips * USER_DEFAULT_SCREEN_DPI / 1440;  // 1440 twips an inch

std::string TimeOfDay(const LocalTime& time) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(time.year);
    st.wMonth = static_cast<WORD>(time.month);
    st.wDay = static_cast<WORD>(time.day);
    st.wHour = static_cast<WORD>(time.hour);
    st.wMinute = static_cast<WORD>(time.minute);
    st.wSecond = static_cast<WORD>(time.second);
    wchar_t text[80] = {};
    if (GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &st, nullptr, text, 80) == 0)
        return PadTwo(time.hour) + ":" + PadTwo(time.minute) + ":" + PadTwo(time.second);
    return WideBufferToUtf8(text, 80);
}

class StatisticsWindow : public BaseWindow<StatisticsWindow> {
  public:
    static const wchar_t* ClassName() { return kClassName; }
    StatisticsWindow(Statistics& stats, const Language& language, bool directRun, const RunReport* report)
        : stats_(stats), model_(stats, language, directRun) {
        if (report)
            model_.SetReport(report->Path(), report->Failed());
    }

    StatisticsWindowResult Run(HWND owner);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    void OnCreate();
    void OnCommand(int id);
    // The list's tip follows the line under the mouse: a package whose step timed out names the windows
    // it waited for.
    static LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR self);
    void OnListMouse(LPARAM at);
    void OnTimer();
    // Fonts for the window's DPI, every control placed for it, and the window's client height.
    int ApplyDpi();
    void OnDpiChanged() override { ResizeClient(Scale(kClientWidth), ApplyDpi()); }
    // The list's font, and a horizontal scroll range as wide as its widest line.
    void SetListFont();
    void Finish(bool endProgram) {
        result_.endProgram = endProgram;
        done_ = true;
    }

    Statistics& stats_;
    StatisticsWindowModel model_;
    unique_hfont font_;
    unique_hfont listFont_;
    HWND list_ = nullptr;
    HWND tooltips_ = nullptr;
    int tipLine_ = -1;
    bool done_ = false;
    StatisticsWindowResult result_;
};

void StatisticsWindow::OnCreate() {
    model_.Load(TimeOfDay);
    result_.exitCode = model_.exitCode;
    SetIcons(IDI_STATISTICS);
    SetText(Window(), model_.caption);
    const HWND w = Window();
    list_ = AddControl(w, L"LISTBOX", kList,
                       WS_BORDER | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | LBS_NOINTEGRALHEIGHT);
    for (const std::string& line : model_.lines)
        SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(line).c_str()));
    tooltips_ = AddTooltips(w);
    SetSubclass(list_, ListProc, 1, reinterpret_cast<DWORD_PTR>(this));
    const HWND close = AddControl(w, L"BUTTON", kClose, BS_DEFPUSHBUTTON | WS_TABSTOP, model_.closeCaption);
    if (!model_.openReportCaption.empty())
        AddControl(w, L"BUTTON", kOpenReport, BS_PUSHBUTTON | WS_TABSTOP, model_.openReportCaption);
    AddControl(w, L"STATIC", kCountdown, SS_LEFT, model_.countdownLine);
    PlaceOnOwner(Scale(kClientWidth), ApplyDpi());
    if (model_.timerEnabled)
        SetTimer(w, kCountdownTimer, StatisticsWindowModel::kTimerIntervalMs, nullptr);
    SetFocus(close);
}

// The window is as tall as its list and button; a direct run makes it 3870 twips tall (or as tall as the
// countdown line needs, at any DPI) to uncover the countdown below them.
int StatisticsWindow::ApplyDpi() {
    font_ = CreateGuiFont(Dpi());
    for (int id : {kClose, kOpenReport, kCountdown})
        SendMessageW(GetDlgItem(Window(), id), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    SetListFont();
    const int listWidth = kClientWidth - 2 * kMargin;
    const int buttonTop = kMargin + kListHeight + kMargin;
    auto place = [&](int id, int x, int y, int width, int height) {
        if (HWND control = GetDlgItem(Window(), id))
            MoveWindow(control, Scale(x), Scale(y), Scale(width), Scale(height), TRUE);
    };
    place(kList, kMargin, kMargin, listWidth, kListHeight);
    place(kClose, kClientWidth - kMargin - kButtonWidth, buttonTop, kButtonWidth, kButtonHeight);
    place(kOpenReport, kMargin, buttonTop, kReportButtonWidth, kButtonHeight);
    place(kCountdown, kMargin, kShortClientHeight, listWidth, kCountdownHeight);
    if (!model_.countdownVisible)
        return Scale(kShortClientHeight);
    const int frameHeight = FrameSize(0, 0).cy;
    return std::max(Scale(kTallClientHeight), Scale(kDirectRunHeight) - frameHeight);
}

void StatisticsWindow::SetListFont() {
    // Courier New 8.25 pt, so the padded columns line up.
    listFont_.reset(CreateFontW(-MulDiv(33, static_cast<int>(Dpi()), 72 * 4), 0, 0, 0, FW_NORMAL, FALSE,
                                FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, L"Courier New"));
    SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(listFont_.get()), TRUE);
    int widest = 0;
    unique_hdc_window dc(list_);
    unique_select_object font(dc.get(), listFont_.get());
    for (const std::string& line : model_.lines) {
        const std::wstring wide = Utf8ToWide(line);
        SIZE extent{};
        GetTextExtentPoint32W(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &extent);
        widest = std::max<int>(widest, extent.cx);
    }
    SendMessageW(list_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + Scale(4)), 0);
}

LRESULT CALLBACK StatisticsWindow::ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR self) {
    if (message == WM_MOUSEMOVE)
        reinterpret_cast<StatisticsWindow*>(self)->OnListMouse(lParam);
    return DefSubclass(list, message, wParam, lParam);
}

void StatisticsWindow::OnListMouse(LPARAM at) {
    const auto hit = static_cast<DWORD>(SendMessageW(list_, LB_ITEMFROMPOINT, 0, at));
    const int line = HIWORD(hit) != 0 ? -1 : static_cast<int>(LOWORD(hit));
    if (line == tipLine_)
        return;
    tipLine_ = line;
    const bool has = line >= 0 && static_cast<std::size_t>(line) < model_.tips.size();
    SetTip(tooltips_, Window(), list_, has ? model_.tips[static_cast<std::size_t>(line)] : std::string{});
}

LRESULT StatisticsWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_TIMER:
            if (wParam == kCountdownTimer)
                OnTimer();
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam));
            return 0;
        case WM_CLOSE:
            // The title-bar button closes without emptying the list.
            Finish(false);
            return 0;
        default:
            break;
    }
    return Default(message, wParam, lParam);
}

void StatisticsWindow::OnTimer() {
    if (model_.Tick()) {
        KillTimer(Window(), kCountdownTimer);
        Finish(true);
    } else {
        SetText(GetDlgItem(Window(), kCountdown), model_.countdownLine);
    }
}

void StatisticsWindow::OnCommand(int id) {
    if (id == kClose || id == IDOK) {
        Finish(model_.CloseClicked());
    } else if (id == kOpenReport) {
        // Someone is at the machine to read it: the program no longer ends under them.
        KillTimer(Window(), kCountdownTimer);
        SetText(GetDlgItem(Window(), kCountdown), {});
        ShellExecuteW(Window(), L"open", Utf8ToWide(model_.reportPath).c_str(), nullptr, nullptr,
                      SW_SHOWNORMAL);
    }
}

StatisticsWindowResult StatisticsWindow::Run(HWND owner) {
    OwnerDisabled ownerDisabled(owner);
    if (CreateWindowOfClass(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, L"",
                            WS_POPUP | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100,
                            owner)) {
        const HWND window = Window();
        ShowWindow(window, SW_SHOW);
        SetForegroundWindow(window);
        RunModalLoop(window, done_, true);
    } else {
        result_.exitCode = stats_.ExitCode();
    }
    ownerDisabled.Release();
    if (Window() != nullptr)
        DestroyWindow(Window());
    return result_;
}

}  // namespace

StatisticsWindowResult ShowStatistics(HWND owner, Statistics& stats, const Language& language, bool directRun,
                                      const RunReport* report) {
    StatisticsWindow window(stats, language, directRun, report);
    return window.Run(owner);
}

}  // namespace velmora
