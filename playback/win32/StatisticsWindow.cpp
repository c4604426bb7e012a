#include "playback/win32/StatisticsWindow.h"

#include <algorithm>
#include <string>

#include <shellapi.h>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "playback/win32/StatisticsWindowIds.h"
#include "resources/ResourceIds.h"
#include "ui/win32/BaseWindow.h"
#include "ui/win32/ModalLoop.h"

namespace velmora {

namespace {

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

class StatWindow : public BaseWindow<StatWindow> {
  public:
    static const wchar_t* ClassName() { return stat_window::kClassName; }
    StatWindow(Statistics& stats, const Language& language, bool directRun, const RunReport* report)
        : stats_(stats), model_(stats, language, directRun) {
        if (report)
            model_.SetReport(report->Path(), report->Failed());
    }

    StatisticsWindowResult Run(HWND owner);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    void OnCreate();
    int Scale(int pixels) const { return MulDiv(pixels, dpi_, 96); }
    HWND AddControl(const wchar_t* cls, DWORD style, int id, int x, int y, int w, int h);
    void Finish(bool endProgram) {
        result_.endProgram = endProgram;
        done_ = true;
    }

    Statistics& stats_;
    StatisticsWindowModel model_;
    int dpi_ = 96;
    unique_hfont listFont_;
    bool done_ = false;
    StatisticsWindowResult result_;
};

HWND StatWindow::AddControl(const wchar_t* cls, DWORD style, int id, int x, int y, int w, int h) {
    HWND control = CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, Scale(x), Scale(y), Scale(w),
                                   Scale(h), Window(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return control;
}

void StatWindow::OnCreate() {
    model_.Load(TimeOfDay);
    result_.exitCode = model_.exitCode;

    HINSTANCE instance = GetModuleHandleW(nullptr);
    auto icon = [&](int size) {
        return reinterpret_cast<LPARAM>(
            LoadImageW(instance, MAKEINTRESOURCEW(IDI_STATISTICS), IMAGE_ICON, size, size, LR_SHARED));
    };
    SendMessageW(Window(), WM_SETICON, ICON_BIG, icon(GetSystemMetrics(SM_CXICON)));
    SendMessageW(Window(), WM_SETICON, ICON_SMALL, icon(GetSystemMetrics(SM_CXSMICON)));

    const int listWidth = kClientWidth - 2 * kMargin;
    HWND list =
        AddControl(L"LISTBOX", WS_BORDER | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | LBS_NOINTEGRALHEIGHT,
                   stat_window::kList, kMargin, kMargin, listWidth, kListHeight);
    // Courier New 8.25 pt, so the padded columns line up.
    listFont_.reset(CreateFontW(-MulDiv(33, dpi_, 72 * 4), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                FIXED_PITCH | FF_MODERN, L"Courier New"));
    SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(listFont_.get()), FALSE);
    int widest = 0;
    {
        unique_hdc_window dc(list);
        HGDIOBJ old = SelectObject(dc.get(), listFont_.get());
        for (const std::string& line : model_.lines) {
            std::wstring wide = Utf8ToWide(line);
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
            SIZE extent{};
            GetTextExtentPoint32W(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &extent);
            widest = extent.cx > widest ? extent.cx : widest;
        }
        SelectObject(dc.get(), old);
    }
    SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + Scale(4)), 0);

    HWND close = AddControl(L"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, stat_window::kClose,
                            kClientWidth - kMargin - kButtonWidth, kMargin + kListHeight + kMargin,
                            kButtonWidth, kButtonHeight);
    SetWindowTextW(close, Utf8ToWide(model_.closeCaption).c_str());
    if (!model_.openReportCaption.empty()) {
        HWND open = AddControl(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, stat_window::kOpenReport, kMargin,
                               kMargin + kListHeight + kMargin, kReportButtonWidth, kButtonHeight);
        SetWindowTextW(open, Utf8ToWide(model_.openReportCaption).c_str());
    }
    SetWindowTextW(Window(), Utf8ToWide(model_.caption).c_str());

    HWND countdown = AddControl(L"STATIC", SS_LEFT, stat_window::kCountdown, kMargin, kShortClientHeight,
                                listWidth, kCountdownHeight);
    SetWindowTextW(countdown, Utf8ToWide(model_.countdownLine).c_str());

    // The window is as tall as its list and button; a direct run makes it 3870 twips tall (or as tall as the
    // countdown line needs, at any DPI) to uncover the countdown below them.
    const DWORD style = static_cast<DWORD>(GetWindowLongW(Window(), GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongW(Window(), GWL_EXSTYLE));
    RECT frame{0, 0, Scale(kClientWidth),
               Scale(model_.countdownVisible ? kTallClientHeight : kShortClientHeight)};
    AdjustWindowRectExForDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi_));
    int height = frame.bottom - frame.top;
    if (model_.countdownVisible)
        height = std::max(height, MulDiv(StatisticsWindowModel::kDirectRunHeightTwips, dpi_, 1440));
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int width = frame.right - frame.left;
    SetWindowPos(Window(), nullptr, work.left + ((work.right - work.left) - width) / 2,
                 work.top + ((work.bottom - work.top) - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (model_.timerEnabled)
        SetTimer(Window(), kCountdownTimer, StatisticsWindowModel::kTimerIntervalMs, nullptr);
    SetFocus(close);
}

LRESULT StatWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_TIMER:
            if (wParam == kCountdownTimer) {
                if (model_.Tick()) {
                    KillTimer(Window(), kCountdownTimer);
                    Finish(true);
                } else {
                    SetDlgItemTextW(Window(), stat_window::kCountdown,
                                    Utf8ToWide(model_.countdownLine).c_str());
                }
            }
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == stat_window::kClose || LOWORD(wParam) == IDOK) {
                Finish(model_.CloseClicked());
                return 0;
            }
            if (LOWORD(wParam) == stat_window::kOpenReport) {
                // Someone is at the machine to read it: the program no longer ends under them.
                KillTimer(Window(), kCountdownTimer);
                SetDlgItemTextW(Window(), stat_window::kCountdown, L"");
                ShellExecuteW(Window(), L"open", Utf8ToWide(model_.reportPath).c_str(), nullptr, nullptr,
                              SW_SHOWNORMAL);
                return 0;
            }
            break;
        case WM_CLOSE:
            // The title-bar button closes without emptying the list.
            Finish(false);
            return 0;
        default:
            break;
    }
    return Default(message, wParam, lParam);
}

StatisticsWindowResult StatWindow::Run(HWND owner) {
    dpi_ = static_cast<int>(owner ? GetDpiForWindow(owner) : GetDpiForSystem());
    if (dpi_ <= 0)
        dpi_ = 96;
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
    StatWindow window(stats, language, directRun, report);
    return window.Run(owner);
}

}  // namespace velmora
