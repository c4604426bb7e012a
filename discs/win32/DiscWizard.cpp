#include "discs/win32/DiscWizard.h"

#include <commctrl.h>

#include <array>
#include <vector>

#include "discs/win32/DiscWizardIds.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "resources/ResourceIds.h"
#include "ui/win32/BaseWindow.h"
#include "ui/win32/Controls.h"
#include "ui/win32/ModalLoop.h"

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
constexpr int kInner = kMargin + 12;  // inside a group box
constexpr int kInnerWidth = kTextWidth - 24;

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

    void Run(HWND owner);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    // Where a control stands, in pixels at 96 DPI, and whether it writes in bold.
    struct Placed {
        HWND control;
        RECT place;
        bool bold;
    };

    // A control of a page (-1: of every page) at 96-DPI client coordinates.
    HWND Add(int page, const wchar_t* className, int id, DWORD style, int x, int y, int width, int height,
             const std::string& text = {}, bool bold = false, DWORD exStyle = 0);
    void OnCreate();
    void AddDestinationPage();
    void AddSourcePage();
    void AddSummaryPage();
    void AddLogPage();
    void AddHintsPage();
    // Fonts and pictures for the window's DPI, and every control placed for it.
    void ApplyDpi();
    void OnDpiChanged() override {
        ApplyDpi();
        ResizeClient(Scale(kClientWidth), Scale(kClientHeight));
    }
    void OnCommand(int id, int code);
    void RequestClose();
    void CopySlice();
    void Render();
    void RenderLog();
    HBRUSH ColourLine(HDC dc, HWND control);

    DiscWizardModel model_;
    unique_hfont font_;
    unique_hfont boldFont_;
    unique_hbitmap moveDownPicture_;
    unique_hbitmap moveUpPicture_;
    std::array<std::vector<HWND>, kWizardPageCount> pages_;
    std::vector<Placed> placed_;
    std::array<HWND, 2> pictures_{};  // the move buttons' pictures on the last page
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
    // Created visible; Render hides the pages that are not the current one.
    HWND control = AddControl(Window(), className, id, style, text, exStyle);
    placed_.push_back({control, {x, y, x + width, y + height}, bold});
    if (page >= 0)
        pages_[static_cast<std::size_t>(page)].push_back(control);
    return control;
}

void DiscWizardWindow::OnCreate() {
    model_.owner = IdOf(Window());
    SetIcons(IDI_WIZARD);
    const DiscWizardTexts& t = model_.texts;
    const int buttonLeft = kClientWidth - kMargin - kButtonWidth;
    Add(-1, L"BUTTON", kCancel, WS_TABSTOP | BS_PUSHBUTTON, kMargin, kButtonTop, kButtonWidth, kButtonHeight,
        t.cancel);
    back_ = Add(-1, L"BUTTON", kBack, WS_TABSTOP | BS_PUSHBUTTON, buttonLeft - 6 - kButtonWidth, kButtonTop,
                kButtonWidth, kButtonHeight, t.back);
    next_ = Add(-1, L"BUTTON", kNext, WS_TABSTOP | BS_DEFPUSHBUTTON, buttonLeft, kButtonTop, kButtonWidth,
                kButtonHeight);
    Add(-1, L"STATIC", -1, SS_ETCHEDHORZ, 0, kButtonTop - 10, kClientWidth, 2);
    AddDestinationPage();
    AddSourcePage();
    AddSummaryPage();
    AddLogPage();
    AddHintsPage();
    ApplyDpi();
    Render();
    SetFocus(GetDlgItem(Window(), kDestinationBrowse));
}

void DiscWizardWindow::ApplyDpi() {
    unique_hfont font = CreateMessageFont(Dpi());
    unique_hfont bold = CreateMessageFont(Dpi(), FW_BOLD);
    for (const Placed& p : placed_) {
        MoveWindow(p.control, Scale(p.place.left), Scale(p.place.top), Scale(p.place.right - p.place.left),
                   Scale(p.place.bottom - p.place.top), TRUE);
        SendMessageW(p.control, WM_SETFONT, reinterpret_cast<WPARAM>(p.bold ? bold.get() : font.get()), TRUE);
    }
    font_ = std::move(font);
    boldFont_ = std::move(bold);
    unique_hbitmap down = LoadFaceBitmap(IDB_MOVE_DOWN, Dpi());
    unique_hbitmap up = LoadFaceBitmap(IDB_MOVE_UP, Dpi());
    SendMessageW(pictures_[0], STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(down.get()));
    SendMessageW(pictures_[1], STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(up.get()));
    moveDownPicture_ = std::move(down);
    moveUpPicture_ = std::move(up);
}

void DiscWizardWindow::AddDestinationPage() {
    const DiscWizardTexts& t = model_.texts;
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
}

// The scenario folder and the speed.
void DiscWizardWindow::AddSourcePage() {
    const DiscWizardTexts& t = model_.texts;
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
}

void DiscWizardWindow::AddSummaryPage() {
    const DiscWizardTexts& t = model_.texts;
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
}

// The log, and how far the copy is.
void DiscWizardWindow::AddLogPage() {
    Add(3, L"STATIC", -1, kWrapText, kMargin, 10, kTextWidth, kLine, model_.texts.logCaption);
    log_ = Add(
        3, WC_EDITW, kLog,
        WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
        kMargin, 30, kTextWidth, 186, {}, false, WS_EX_CLIENTEDGE);
    // A log of thousands of files is longer than an edit box takes by default.
    SendMessageW(log_, EM_SETLIMITTEXT, 0, 0);
    progress_ = Add(3, PROGRESS_CLASSW, kProgress, PBS_SMOOTH, kMargin, 222, kTextWidth, 14);
}

// What is left to do by hand, with the main window's move buttons as pictures.
void DiscWizardWindow::AddHintsPage() {
    const DiscWizardTexts& t = model_.texts;
    constexpr int kHintLeft = kMargin + 52;
    constexpr int kHintWidth = kClientWidth - kMargin - kHintLeft;
    Add(4, L"STATIC", -1, kWrapText, kMargin, 10, kTextWidth, kLine, t.remaining, true);
    Add(4, L"STATIC", -1, kWrapText, kMargin, 36, 50, kLine, t.step4Heading, true);
    Add(4, L"STATIC", -1, kWrapText, kHintLeft, 36, kHintWidth, 2 * kLine, t.step4Text);
    for (std::size_t i = 0; i < pictures_.size(); ++i)
        pictures_[i] = Add(4, L"STATIC", -1, SS_BITMAP, kHintLeft + 22 * static_cast<int>(i), 74, 16, 17);
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
    SetText(Window(), model_.Title());
    for (std::size_t page = 0; page < pages_.size(); ++page) {
        const bool shown = static_cast<int>(page) == model_.step;
        for (HWND control : pages_[page])
            ShowWindow(control, shown ? SW_SHOWNA : SW_HIDE);
    }
    SetText(next_, model_.nextCaption);
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
        SetText(control, *text);
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
    OwnerDisabled ownerDisabled(owner);
    if (CreateWindowOfClass(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, L"",
                            WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100,
                            owner)) {
        const HWND window = Window();
        PlaceOnOwner(Scale(kClientWidth), Scale(kClientHeight));
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
