#include "discs/win32/DiscWizard.h"

#include <commctrl.h>

#include <array>
#include <vector>

#include "discs/win32/DiscWizardIds.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "resources/ResourceIds.h"
#include "ui/win32/BaseWindow.h"
#include "ui/win32/ModalLoop.h"
#include "ui/win32/WindowLayout.h"

namespace velmora {
namespace {

using namespace disc_wizard;

// Layout at 96 DPI, client pixels.
constexpr int kClientWidth = 440;
constexpr int kClientHeight = 290;
constexpr int kButtonTop = 254;
constexpr int kButtonWidth = 84;
constexpr int kButtonHeight = 25;
constexpr int kMargin = 12;
constexpr int kLine = 18;
constexpr int kTextWidth = kClientWidth - 2 * kMargin;

constexpr UINT_PTR kCopyTimer = 1;
// A timer tick copies for this long, then the window handles input and paints again; the timer comes only
// when no other message waits, so the copy never starves the window.
constexpr ULONGLONG kCopySliceMs = 40;

constexpr COLORREF kGreen = RGB(0, 128, 0);
constexpr COLORREF kRed = RGB(192, 0, 0);

constexpr DWORD kWrapText = SS_LEFT | SS_NOPREFIX;
constexpr DWORD kPathText = SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS;

class DiscWizardWindow : public BaseWindow<DiscWizardWindow> {
  public:
    explicit DiscWizardWindow(const DiscWizardPorts& ports) : model_(ports) {}

    static const wchar_t* ClassName() { return kClassName; }
    static void DescribeClass(WNDCLASSEXW& wc) {
        wc.hIcon = LoadWizardIcon(SM_CXICON, SM_CYICON);
        wc.hIconSm = LoadWizardIcon(SM_CXSMICON, SM_CYSMICON);
    }

    void Run(HWND owner);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    static HICON LoadWizardIcon(int metricX, int metricY) {
        return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_WIZARD),
                                             IMAGE_ICON, GetSystemMetrics(metricX), GetSystemMetrics(metricY),
                                             LR_SHARED));
    }
    int Scale(int pixels) const { return MulDiv(pixels, static_cast<int>(dpi_), USER_DEFAULT_SCREEN_DPI); }

    // A control of a page (-1: of every page) at 96-DPI client coordinates.
    HWND Add(int page, const wchar_t* className, int id, DWORD style, int x, int y, int width, int height,
             const std::string& text = {}, bool bold = false, DWORD exStyle = 0);
    void OnCreate();
    void AddPages();
    void OnCommand(int id, int code);
    void RequestClose();
    void CopySlice();
    void Render();
    void RenderLog();
    HBRUSH ColourLine(HDC dc, HWND control);

    DiscWizardModel model_;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    unique_hfont font_;
    unique_hfont boldFont_;
    unique_hbitmap moveDownPicture_;
    unique_hbitmap moveUpPicture_;
    std::array<std::vector<HWND>, kWizardPageCount> pages_;
    std::vector<HWND> boldControls_;
    HWND next_ = nullptr;
    HWND back_ = nullptr;
    HWND speedList_ = nullptr;
    HWND log_ = nullptr;
    HWND progress_ = nullptr;
    std::size_t logShown_ = 0;
    bool done_ = false;
    bool asking_ = false;   // the close question is open: the copy waits for its answer
    bool copying_ = false;  // inside a slice of the copy, which may show a message box
};

HWND DiscWizardWindow::Add(int page, const wchar_t* className, int id, DWORD style, int x, int y, int width,
                           int height, const std::string& text, bool bold, DWORD exStyle) {
    HWND control = CreateWindowExW(exStyle, className, Utf8ToWide(text).c_str(), WS_CHILD | style, Scale(x),
                                   Scale(y), Scale(width), Scale(height), Window(),
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(bold ? boldFont_.get() : font_.get()), FALSE);
    if (page < 0)
        ShowWindow(control, SW_SHOWNA);
    else
        pages_[static_cast<std::size_t>(page)].push_back(control);
    return control;
}

void DiscWizardWindow::OnCreate() {
    model_.owner = reinterpret_cast<WindowId>(Window());
    LOGFONTW message = MessageFont(dpi_);
    font_.reset(CreateFontIndirectW(&message));
    message.lfWeight = FW_BOLD;
    boldFont_.reset(CreateFontIndirectW(&message));

    const DiscWizardTexts& t = model_.texts;
    const int buttonLeft = kClientWidth - kMargin - kButtonWidth;
    Add(-1, L"BUTTON", kCancel, WS_TABSTOP | BS_PUSHBUTTON, kMargin, kButtonTop, kButtonWidth, kButtonHeight,
        t.cancel);
    back_ = Add(-1, L"BUTTON", kBack, WS_TABSTOP | BS_PUSHBUTTON, buttonLeft - 6 - kButtonWidth, kButtonTop,
                kButtonWidth, kButtonHeight, t.back);
    next_ = Add(-1, L"BUTTON", kNext, WS_TABSTOP | BS_DEFPUSHBUTTON, buttonLeft, kButtonTop, kButtonWidth,
                kButtonHeight);
    Add(-1, L"STATIC", -1, SS_ETCHEDHORZ, 0, kButtonTop - 10, kClientWidth, 2);
    AddPages();
    Render();
    SetFocus(GetDlgItem(Window(), kDestinationBrowse));
}

void DiscWizardWindow::AddPages() {
    const DiscWizardTexts& t = model_.texts;
    constexpr int kInner = kMargin + 12;
    constexpr int kInnerWidth = kTextWidth - 24;

    // Page 0: the destination.
    Add(0, L"STATIC", -1, kWrapText, kMargin, 10, kTextWidth, 2 * kLine, t.chooseDestination);
    Add(0, L"STATIC", -1, kWrapText, kMargin, 48, kTextWidth, kLine, t.createFolderFirst);
    Add(0, L"BUTTON", -1, BS_GROUPBOX, kMargin, 72, kTextWidth, 58, t.destinationGroup);
    Add(0, L"BUTTON", kDestinationBrowse, WS_TABSTOP | BS_PUSHBUTTON, kInner, 94, 80, kButtonHeight,
        t.browse);
    Add(0, L"STATIC", kDestinationLine, kPathText, kInner + 90, 98, kInnerWidth - 90, kLine);
    Add(0, L"STATIC", -1, kWrapText, kMargin, 142, kTextWidth, kLine, t.willReceive);
    for (std::size_t i = 0; i < t.contents.size(); ++i)
        Add(0, L"STATIC", -1, kWrapText, kInner, 164 + 20 * static_cast<int>(i), kInnerWidth, kLine,
            t.contents[i]);

    // Page 1: the scenario folder and the speed.
    Add(1, L"BUTTON", -1, BS_GROUPBOX, kMargin, 8, kTextWidth, 58, t.sourceGroup);
    Add(1, L"BUTTON", kSourceBrowse, WS_TABSTOP | BS_PUSHBUTTON, kInner, 30, 32, kButtonHeight, "...");
    Add(1, L"STATIC", kSourceLine, kPathText, kInner + 42, 34, kInnerWidth - 42, kLine);
    Add(1, L"STATIC", -1, kWrapText, kMargin, 78, 240, kLine, t.found);
    Add(1, L"STATIC", kCountLine, kWrapText, kMargin + 244, 78, kTextWidth - 244, kLine);
    Add(1, L"STATIC", kDiagnosisLine, kWrapText, kMargin, 100, kTextWidth, 2 * kLine);
    Add(1, L"BUTTON", -1, BS_GROUPBOX, kMargin, 144, kTextWidth, 62, t.speedGroup);
    speedList_ =
        Add(1, WC_COMBOBOXW, kSpeedList, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, kInner, 168, 150, 120);
    Add(1, L"STATIC", -1, kWrapText, kInner + 162, 172, kInnerWidth - 162, kLine, t.speedNote);
    for (const std::string& speed : t.speeds)
        SendMessageW(speedList_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(speed).c_str()));
    SendMessageW(speedList_, CB_SETCURSEL, static_cast<WPARAM>(model_.speed), 0);

    // Page 2: the summary.
    Add(2, L"STATIC", -1, kWrapText, kMargin, 10, kTextWidth, kLine, t.ready, true);
    Add(2, L"STATIC", -1, kWrapText, kMargin, 32, kTextWidth, 2 * kLine, t.pressNext);
    Add(2, L"STATIC", -1, kWrapText, kMargin, 72, kTextWidth, kLine, t.check);
    const std::array<std::pair<const std::string*, int>, 3> summary{
        {{&t.sourceCaption, kSummarySource},
         {&t.destinationCaption, kSummaryDestination},
         {&t.programCaption, kSummaryProgram}}};
    for (std::size_t i = 0; i < summary.size(); ++i) {
        const int top = 96 + 44 * static_cast<int>(i);
        Add(2, L"STATIC", -1, kWrapText, kInner, top, kInnerWidth, kLine, *summary[i].first);
        Add(2, L"STATIC", summary[i].second, kPathText, kInner + 16, top + 18, kInnerWidth - 16, kLine, {},
            true);
    }

    // Page 3: the log, and how far the copy is.
    Add(3, L"STATIC", -1, kWrapText, kMargin, 10, kTextWidth, kLine, t.logCaption);
    log_ = Add(
        3, WC_EDITW, kLog,
        WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
        kMargin, 30, kTextWidth, 186, {}, false, WS_EX_CLIENTEDGE);
    // A log of thousands of files is longer than an edit box takes by default.
    SendMessageW(log_, EM_SETLIMITTEXT, 0, 0);
    progress_ = Add(3, PROGRESS_CLASSW, kProgress, PBS_SMOOTH, kMargin, 222, kTextWidth, 14);

    // Page 4: what is left to do by hand, with the main window's move buttons as pictures.
    constexpr int kHintLeft = kMargin + 52;
    constexpr int kHintWidth = kClientWidth - kMargin - kHintLeft;
    Add(4, L"STATIC", -1, kWrapText, kMargin, 10, kTextWidth, kLine, t.remaining, true);
    Add(4, L"STATIC", -1, kWrapText, kMargin, 36, 50, kLine, t.step4Heading, true);
    Add(4, L"STATIC", -1, kWrapText, kHintLeft, 36, kHintWidth, 2 * kLine, t.step4Text);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    moveDownPicture_.reset(static_cast<HBITMAP>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDB_MOVE_DOWN), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS)));
    moveUpPicture_.reset(static_cast<HBITMAP>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDB_MOVE_UP), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS)));
    int pictureLeft = kHintLeft;
    for (HBITMAP picture : {moveDownPicture_.get(), moveUpPicture_.get()}) {
        HWND control = Add(4, L"STATIC", -1, SS_BITMAP, pictureLeft, 74, 16, 17);
        SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
        pictureLeft += 22;
    }
    Add(4, L"STATIC", -1, kWrapText, kMargin, 102, 50, kLine, t.step5Heading, true);
    Add(4, L"STATIC", -1, kWrapText, kHintLeft, 102, kHintWidth, 3 * kLine, t.step5Text);
    Add(4, L"STATIC", -1, kWrapText, kHintLeft, 158, kHintWidth, kLine, t.example);
    Add(4, L"STATIC", kTip, kWrapText, kMargin, 186, kTextWidth, 3 * kLine, t.tip);
}

LRESULT DiscWizardWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case DM_GETDEFID:
            return MAKELRESULT(kNext, DC_HASDEFID);
        case WM_CTLCOLORSTATIC:
            if (HBRUSH brush = ColourLine(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
                return reinterpret_cast<LRESULT>(brush);
            break;
        case WM_TIMER:
            if (wParam == kCopyTimer)
                CopySlice();
            return 0;
        case WM_CLOSE:
            RequestClose();
            return 0;
        default:
            break;
    }
    return Default(message, wParam, lParam);
}

void DiscWizardWindow::OnCommand(int id, int code) {
    switch (id) {
        case kNext:
            switch (model_.Next()) {
                case DiscWizardModel::Action::CopyStarted:
                    SetTimer(Window(), kCopyTimer, USER_TIMER_MINIMUM, nullptr);
                    break;
                case DiscWizardModel::Action::Close:
                    done_ = true;
                    return;
                case DiscWizardModel::Action::None:
                    break;
            }
            break;
        case kBack:
            model_.Back();
            break;
        case kCancel:
            RequestClose();
            return;
        case kDestinationBrowse:
            model_.ChooseDestination();
            break;
        case kSourceBrowse:
            model_.ChooseSource();
            break;
        case kSpeedList:
            if (code == CBN_SELCHANGE)
                model_.SelectSpeed(static_cast<int>(SendMessageW(speedList_, CB_GETCURSEL, 0, 0)));
            return;
        default:
            return;
    }
    Render();
}

void DiscWizardWindow::RequestClose() {
    if (asking_)
        return;
    asking_ = true;
    const bool close = model_.RequestClose();
    asking_ = false;
    if (close) {
        KillTimer(Window(), kCopyTimer);
        done_ = true;
    }
}

void DiscWizardWindow::CopySlice() {
    // A message box of the copy's end, or the close question, runs its own loop, which brings timer ticks
    // here again; they wait.
    if (copying_ || asking_)
        return;
    copying_ = true;
    const ULONGLONG end = GetTickCount64() + kCopySliceMs;
    bool more = true;
    while (more && GetTickCount64() < end) {
        // The last operation may end in a message box: the log shows everything before it by then.
        if (model_.CopyDone() + 1 >= model_.CopyCount())
            Render();
        more = model_.CopyStep();
    }
    if (!more)
        KillTimer(Window(), kCopyTimer);
    copying_ = false;
    Render();
}

void DiscWizardWindow::Render() {
    SetWindowTextW(Window(), Utf8ToWide(model_.Title()).c_str());
    for (std::size_t page = 0; page < pages_.size(); ++page) {
        const bool shown = static_cast<int>(page) == model_.step;
        for (HWND control : pages_[page])
            ShowWindow(control, shown ? SW_SHOWNA : SW_HIDE);
    }
    SetWindowTextW(next_, Utf8ToWide(model_.nextCaption).c_str());
    const HWND focus = GetFocus();
    EnableWindow(next_, model_.nextEnabled);
    EnableWindow(back_, model_.backEnabled);
    const std::array<std::pair<int, const std::string*>, 7> lines{{
        {kDestinationLine, &model_.destinationLine.text},
        {kSourceLine, &model_.sourceLine.text},
        {kCountLine, &model_.countLine},
        {kDiagnosisLine, &model_.diagnosisLine},
        {kSummarySource, &model_.summarySource},
        {kSummaryDestination, &model_.summaryDestination},
        {kSummaryProgram, &model_.summaryProgram},
    }};
    for (const auto& [id, text] : lines) {
        HWND control = GetDlgItem(Window(), id);
        SetWindowTextW(control, Utf8ToWide(*text).c_str());
        InvalidateRect(control, nullptr, TRUE);
    }
    RenderLog();
    // A button that was pressed and went away or grey leaves the keyboard with the next sensible one.
    if (focus == nullptr || !IsWindowVisible(focus) || !IsWindowEnabled(focus))
        SetFocus(model_.nextEnabled ? next_ : GetDlgItem(Window(), kCancel));
}

void DiscWizardWindow::RenderLog() {
    const std::string& log = model_.Log();
    if (log.size() > logShown_) {
        // Appended, not set again: a log of thousands of lines would otherwise cost its length per line.
        const int end = GetWindowTextLengthW(log_);
        SendMessageW(log_, EM_SETSEL, static_cast<WPARAM>(end), end);
        SendMessageW(log_, EM_REPLACESEL, FALSE,
                     reinterpret_cast<LPARAM>(Utf8ToWide(log.substr(logShown_)).c_str()));
        logShown_ = log.size();
    }
    SendMessageW(progress_, PBM_SETRANGE32, 0, static_cast<LPARAM>(model_.CopyCount()));
    SendMessageW(progress_, PBM_SETPOS, static_cast<WPARAM>(model_.CopyDone()), 0);
}

HBRUSH DiscWizardWindow::ColourLine(HDC dc, HWND control) {
    TextColour colour = TextColour::Plain;
    switch (GetDlgCtrlID(control)) {
        case kDestinationLine:
            colour = model_.destinationLine.colour;
            break;
        case kSourceLine:
            colour = model_.sourceLine.colour;
            break;
        case kDiagnosisLine:
            colour = TextColour::Red;
            break;
        default:
            return nullptr;
    }
    if (colour == TextColour::Plain)
        return nullptr;
    SetTextColor(dc, colour == TextColour::Green ? kGreen : kRed);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return GetSysColorBrush(COLOR_BTNFACE);
}

void DiscWizardWindow::Run(HWND owner) {
    dpi_ = owner ? GetDpiForWindow(owner) : GetDpiForSystem();
    if (dpi_ == 0)
        dpi_ = USER_DEFAULT_SCREEN_DPI;
    constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT r{0, 0, Scale(kClientWidth), Scale(kClientHeight)};
    AdjustWindowRectExForDpi(&r, kStyle, FALSE, kExStyle, dpi_);
    OwnerDisabled ownerDisabled(owner);
    if (CreateWindowOfClass(kExStyle, L"", kStyle, CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left,
                            r.bottom - r.top, owner)) {
        const HWND window = Window();
        ShowWindow(window, SW_SHOW);
        SetForegroundWindow(window);
        RunModalLoop(window, done_, true);
    }
    ownerDisabled.Release();
    if (Window() != nullptr)
        DestroyWindow(Window());
}

}  // namespace

void ShowDiscWizard(HWND owner, const DiscWizardPorts& ports) {
    DiscWizardWindow window(ports);
    window.Run(owner);
}

}  // namespace velmora
