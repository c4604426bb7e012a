#include "paths/win32/PathEditorWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "paths/PathEditorModel.h"
#include "paths/win32/PathEditorIds.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "resources/ResourceIds.h"
#include "ui/win32/BaseWindow.h"
#include "ui/win32/ListViewRows.h"
#include "ui/win32/ModalLoop.h"
#include "ui/win32/WindowLayout.h"

namespace velmora {
namespace {

namespace ids = path_editor;

// The window's parts in twips, 1440 to the inch, as it was first laid out; they grow with the monitor's DPI.
constexpr int kClientWidth = 10065;
constexpr int kClientHeight = 7095;
constexpr int kTableLeft = 2760;
constexpr int kTableTop = 960;
constexpr int kColumnWidths[] = {1440, 3000, 3000};
// The note and the progress bar stand right of the folder group, above the table.
constexpr int kTopRightLeft = 6015;
constexpr int kMargin = 120;

struct Place {
    int id, x, y, width, height;
};
// The folder group and the left column, which never move.
constexpr Place kPlaces[] = {
    {ids::kFolderGroup, 120, 30, 5775, 780},    {ids::kFolderBox, 240, 330, 5100, 330},
    {ids::kBrowse, 5400, 315, 375, 360},        {ids::kFindGroup, 120, 960, 2535, 2040},
    {ids::kFindLabel, 240, 1230, 2295, 255},    {ids::kFindBox, 240, 1485, 2295, 330},
    {ids::kReplaceLabel, 240, 1890, 2295, 255}, {ids::kReplaceBox, 240, 2145, 2295, 330},
    {ids::kReplace, 1200, 2565, 1335, 360},     {ids::kSaveGroup, 120, 3120, 2535, 2160},
    {ids::kSaveHint, 240, 3390, 2295, 1320},    {ids::kSave, 1200, 4785, 1335, 360},
    {ids::kStatsGroup, 120, 5400, 2535, 1200},  {ids::kTotalCaption, 240, 5670, 1650, 255},
    {ids::kTotal, 1920, 5670, 615, 255},        {ids::kChangedCaption, 240, 5970, 1650, 255},
    {ids::kChanged, 1920, 5970, 615, 255},      {ids::kToSaveCaption, 240, 6270, 1650, 255},
    {ids::kToSave, 1920, 6270, 615, 255},
};

// Posted by a text box when Enter is pressed in it (wParam: its id), and once after the window shows.
constexpr UINT kEnterMessage = WM_APP + 1;
constexpr UINT kStartMessage = WM_APP + 2;

void SetText(HWND control, const std::string& text) {
    SetWindowTextW(control, Utf8ToWide(text).c_str());
}

std::string TextOf(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return WideToUtf8(text);
}

HICON LoadProgramIcon(int metricX, int metricY) {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_LOGO), IMAGE_ICON,
                                         GetSystemMetrics(metricX), GetSystemMetrics(metricY), LR_SHARED));
}

// Enter in the folder box loads the folder; in the search boxes it presses the replace button. The dialog
// keys (Tab) keep working.
LRESULT CALLBACK EnterBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR owner) {
    switch (message) {
        case WM_GETDLGCODE: {
            LRESULT code = DefSubclassProc(box, message, wParam, lParam);
            const auto* pending = reinterpret_cast<const MSG*>(lParam);
            if (pending != nullptr && pending->message == WM_KEYDOWN && pending->wParam == VK_RETURN)
                code |= DLGC_WANTMESSAGE;
            return code;
        }
        case WM_KEYDOWN:
            if (wParam == VK_RETURN) {
                PostMessageW(reinterpret_cast<HWND>(owner), kEnterMessage,
                             static_cast<WPARAM>(GetDlgCtrlID(box)), 0);
                return 0;
            }
            break;
        case WM_CHAR:
            if (wParam == L'\r')
                return 0;  // no beep: Enter was handled on key down
            break;
        default:
            break;
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

class PathEditorWindow : public BaseWindow<PathEditorWindow> {
  public:
    explicit PathEditorWindow(const PathEditorContext& c)
        : model_({c.files, c.codec, c.pathVars, c.settings, c.dialogs, c.language, c.state}) {}

    static const wchar_t* ClassName() { return ids::kClassName; }
    static void DescribeClass(WNDCLASSEXW& wc) {
        wc.hIcon = LoadProgramIcon(SM_CXICON, SM_CYICON);
        wc.hIconSm = LoadProgramIcon(SM_CXSMICON, SM_CYSMICON);
    }
    // Shows the window and runs its messages until it closes; true when a save wrote any file.
    bool Run(HWND owner);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    int Scale(int twips) const { return MulDiv(twips, static_cast<int>(dpi_), 1440); }
    HWND Control(int id) const { return GetDlgItem(Window(), id); }
    WindowId AsOwner() const { return reinterpret_cast<WindowId>(Window()); }
    HWND Add(const wchar_t* className, int id, DWORD style, const std::string& text = {}, DWORD exStyle = 0);
    void OnCreate();
    void ApplyFonts();
    void Layout();
    void OnCommand(int id, int code);
    LRESULT OnNotify(const NMHDR& header);
    void OnEnter(int id);
    void Replace();
    void Save();
    void RenderRows();
    void RenderTexts();
    void ApplyFocus(PathEditorFocus focus);
    void ClearSearch();
    // Shows the progress bar while the model reads or saves; EndProgress hides it again.
    PathEditorProgress Progress();
    void EndProgress() { ShowWindow(progress_, SW_HIDE); }

    PathEditorModel model_;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    unique_hfont font_;
    unique_hfont boldFont_;
    HWND table_ = nullptr;
    HWND status_ = nullptr;
    HWND progress_ = nullptr;
    int progressCount_ = 0;
    int progressPercent_ = -1;
    bool rendering_ = false;  // table changes made while rendering are not the user's
    bool done_ = false;
    bool wrote_ = false;
};

HWND PathEditorWindow::Add(const wchar_t* className, int id, DWORD style, const std::string& text,
                           DWORD exStyle) {
    return CreateWindowExW(exStyle, className, Utf8ToWide(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0,
                           0, 0, Window(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

void PathEditorWindow::OnCreate() {
    const PathEditorTexts& t = model_.texts;
    constexpr DWORD kLabel = SS_LEFTNOWORDWRAP | SS_NOPREFIX;
    Add(L"BUTTON", ids::kFolderGroup, BS_GROUPBOX, t.folderGroup);
    Add(WC_EDITW, ids::kFolderBox, WS_TABSTOP | ES_AUTOHSCROLL, "c:\\", WS_EX_CLIENTEDGE);
    Add(L"BUTTON", ids::kBrowse, WS_TABSTOP | BS_PUSHBUTTON, "...");
    Add(L"STATIC", ids::kNote, kLabel, t.note);
    progress_ = Add(PROGRESS_CLASSW, ids::kProgress, 0);
    ShowWindow(progress_, SW_HIDE);
    Add(L"BUTTON", ids::kFindGroup, BS_GROUPBOX, t.findGroup);
    Add(L"STATIC", ids::kFindLabel, kLabel, t.findLabel);
    Add(WC_EDITW, ids::kFindBox, WS_TABSTOP | ES_AUTOHSCROLL, {}, WS_EX_CLIENTEDGE);
    Add(L"STATIC", ids::kReplaceLabel, kLabel, t.replaceLabel);
    Add(WC_EDITW, ids::kReplaceBox, WS_TABSTOP | ES_AUTOHSCROLL, {}, WS_EX_CLIENTEDGE);
    Add(L"BUTTON", ids::kReplace, WS_TABSTOP | WS_DISABLED | BS_PUSHBUTTON, t.replaceButton);
    Add(L"BUTTON", ids::kSaveGroup, BS_GROUPBOX, t.saveGroup);
    Add(L"STATIC", ids::kSaveHint, SS_LEFT | SS_NOPREFIX, t.saveHint);
    Add(L"BUTTON", ids::kSave, WS_TABSTOP | WS_DISABLED | BS_PUSHBUTTON, t.saveButton);
    Add(L"BUTTON", ids::kStatsGroup, BS_GROUPBOX, t.statsGroup);
    Add(L"STATIC", ids::kTotalCaption, kLabel, t.totalCaption);
    Add(L"STATIC", ids::kTotal, kLabel, "0");
    Add(L"STATIC", ids::kChangedCaption, kLabel, t.changedCaption);
    Add(L"STATIC", ids::kChanged, kLabel, "0");
    Add(L"STATIC", ids::kToSaveCaption, kLabel, t.toSaveCaption);
    Add(L"STATIC", ids::kToSave, kLabel, "0");
    table_ = Add(WC_LISTVIEWW, ids::kTable, WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL, {},
                 WS_EX_CLIENTEDGE);
    ListView_SetExtendedListViewStyle(
        table_, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_LABELTIP);
    for (int i = 0; i < 3; ++i) {
        std::wstring header = Utf8ToWide(t.columns[i]);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = header.data();
        column.cx = Scale(kColumnWidths[i]);
        ListView_InsertColumn(table_, i, &column);
    }
    status_ = Add(STATUSCLASSNAMEW, ids::kStatus, SBARS_SIZEGRIP);
    for (int id : {ids::kFolderBox, ids::kFindBox, ids::kReplaceBox})
        SetWindowSubclass(Control(id), EnterBoxProc, 1, reinterpret_cast<DWORD_PTR>(Window()));
    ApplyFonts();
}

// The message font is made for 96 DPI; copies of it are scaled for the window's monitor. The counters and
// the changed rows use its bold form.
void PathEditorWindow::ApplyFonts() {
    LOGFONTW message = MessageFont(dpi_);
    unique_hfont font(CreateFontIndirectW(&message));
    message.lfWeight = FW_BOLD;
    unique_hfont bold(CreateFontIndirectW(&message));
    for (HWND child = GetWindow(Window(), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        const bool counter = id == ids::kTotal || id == ids::kChanged || id == ids::kToSave;
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(counter ? bold.get() : font.get()), TRUE);
    }
    font_ = std::move(font);
    boldFont_ = std::move(bold);
}

void PathEditorWindow::Layout() {
    RECT client{};
    GetClientRect(Window(), &client);
    for (const Place& p : kPlaces)
        MoveWindow(Control(p.id), Scale(p.x), Scale(p.y), Scale(p.width), Scale(p.height), TRUE);
    const int rightWidth = std::max(0, static_cast<int>(client.right) - Scale(kTopRightLeft + kMargin));
    MoveWindow(Control(ids::kNote), Scale(kTopRightLeft), Scale(120), rightWidth, Scale(255), TRUE);
    MoveWindow(progress_, Scale(kTopRightLeft), Scale(480), rightWidth, Scale(300), TRUE);
    SendMessageW(status_, WM_SIZE, 0, 0);
    RECT bar{};
    GetWindowRect(status_, &bar);
    // A window shrunk until the table would vanish leaves the table where and as large as it was.
    const int width = client.right - Scale(kTableLeft);
    const int height = client.bottom - Scale(kTableTop) - (bar.bottom - bar.top);
    if (width >= 1 && height >= 1)
        MoveWindow(table_, Scale(kTableLeft), Scale(kTableTop), width, height, TRUE);
}

LRESULT PathEditorWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_SIZE:
            Layout();
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_NOTIFY:
            return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case kStartMessage:
            model_.Start(Progress());
            EndProgress();
            RenderRows();
            RenderTexts();
            SetFocus(Control(ids::kFindBox));
            return 0;
        case kEnterMessage:
            OnEnter(static_cast<int>(wParam));
            return 0;
        case WM_DPICHANGED: {
            dpi_ = HIWORD(wParam);
            ApplyFonts();
            for (int i = 0; i < 3; ++i)
                ListView_SetColumnWidth(table_, i, Scale(kColumnWidths[i]));
            const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(Window(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                         suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_CLOSE:
            if (model_.MayClose(AsOwner()))
                done_ = true;
            return 0;
        default:
            return Default(message, wParam, lParam);
    }
}

void PathEditorWindow::OnCommand(int id, int code) {
    switch (id) {
        case ids::kBrowse:
            if (code == BN_CLICKED && model_.ChooseFolder(AsOwner(), Progress())) {
                EndProgress();
                ClearSearch();
                RenderRows();
                RenderTexts();
            }
            break;
        case ids::kReplace:
            if (code == BN_CLICKED)
                Replace();
            break;
        case ids::kSave:
            if (code == BN_CLICKED)
                Save();
            break;
        case ids::kFindBox:
        case ids::kReplaceBox:
            // While either box has the focus, Enter presses the replace button, which shows it as the
            // default.
            if (code == EN_SETFOCUS || code == EN_KILLFOCUS)
                SendMessageW(Control(ids::kReplace), BM_SETSTYLE,
                             code == EN_SETFOCUS ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
            if (code == EN_CHANGE && id == ids::kFindBox)
                EnableWindow(Control(ids::kReplace), model_.ReplaceEnabled(TextOf(Control(ids::kFindBox))));
            break;
        default:
            break;
    }
}

LRESULT PathEditorWindow::OnNotify(const NMHDR& header) {
    if (header.hwndFrom != table_)
        return 0;
    switch (header.code) {
        case LVN_ITEMCHANGED: {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            if (!rendering_ && change.iItem >= 0 && (change.uChanged & LVIF_STATE) &&
                ((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK)) {
                model_.SetTicked(static_cast<std::size_t>(change.iItem),
                                 (change.uNewState & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2));
                RenderTexts();
            }
            return 0;
        }
        case LVN_COLUMNCLICK:
            model_.Sort(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
            RenderRows();
            return 0;
        case NM_CUSTOMDRAW: {
            auto& draw = const_cast<NMLVCUSTOMDRAW&>(reinterpret_cast<const NMLVCUSTOMDRAW&>(header));
            if (draw.nmcd.dwDrawStage == CDDS_PREPAINT)
                return CDRF_NOTIFYITEMDRAW;
            const auto row = static_cast<std::size_t>(draw.nmcd.dwItemSpec);
            if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT && row < model_.rows.size() &&
                model_.rows[row].bold) {
                SelectObject(draw.nmcd.hdc, boldFont_.get());
                return CDRF_NEWFONT;
            }
            return CDRF_DODEFAULT;
        }
        default:
            return 0;
    }
}

void PathEditorWindow::OnEnter(int id) {
    if (id != ids::kFolderBox) {
        if (IsWindowEnabled(Control(ids::kReplace)))
            Replace();
        return;
    }
    const PathEditorFocus focus = model_.TypeFolder(AsOwner(), TextOf(Control(ids::kFolderBox)), Progress());
    EndProgress();
    ClearSearch();
    RenderRows();
    RenderTexts();
    ApplyFocus(focus);
}

void PathEditorWindow::Replace() {
    const PathEditorFocus focus =
        model_.Replace(AsOwner(), TextOf(Control(ids::kFindBox)), TextOf(Control(ids::kReplaceBox)));
    RenderRows();
    RenderTexts();
    ApplyFocus(focus);
}

void PathEditorWindow::Save() {
    model_.Save(AsOwner(), Progress(), Progress());
    EndProgress();
    wrote_ = wrote_ || model_.saved > 0;
    RenderRows();
    RenderTexts();
}

PathEditorProgress PathEditorWindow::Progress() {
    return [this](int done, int count) {
        if (!IsWindowVisible(progress_) || count != progressCount_) {
            progressCount_ = count;
            progressPercent_ = -1;
            SendMessageW(progress_, PBM_SETRANGE32, 0, count);
            ShowWindow(progress_, SW_SHOWNA);
        }
        // Drawn again only when the percentage changes: a large folder has thousands of rows.
        const int percent = count > 0 ? MulDiv(done, 100, count) : 0;
        if (percent != progressPercent_) {
            progressPercent_ = percent;
            SendMessageW(progress_, PBM_SETPOS, static_cast<WPARAM>(done), 0);
            UpdateWindow(progress_);
        }
    };
}

void PathEditorWindow::RenderRows() {
    rendering_ = true;
    SendMessageW(table_, WM_SETREDRAW, FALSE, 0);
    const int count = static_cast<int>(model_.rows.size());
    SetListViewRowCount(table_, count);
    for (int i = 0; i < count; ++i) {
        const PathEditorRow& row = model_.rows[static_cast<std::size_t>(i)];
        int column = 0;
        for (const std::string* text : {&row.name, &row.storedPath, &row.newPath}) {
            std::wstring wide = Utf8ToWide(*text);
            ListView_SetItemText(table_, i, column++, wide.data());
        }
        ListView_SetCheckState(table_, i, row.ticked);
    }
    SendMessageW(table_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(table_, nullptr, TRUE);
    rendering_ = false;
}

void PathEditorWindow::RenderTexts() {
    HWND folderBox = Control(ids::kFolderBox);
    if (TextOf(folderBox) != model_.folderText)
        SetText(folderBox, model_.folderText);
    const std::wstring status = Utf8ToWide(model_.statusText);
    SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(status.c_str()));
    SetText(Control(ids::kTotal), std::to_string(model_.total));
    SetText(Control(ids::kChanged), std::to_string(model_.changed));
    SetText(Control(ids::kToSave), std::to_string(model_.toSave));
    EnableWindow(Control(ids::kSave), model_.toSave != 0);
    EnableWindow(Control(ids::kReplace), model_.ReplaceEnabled(TextOf(Control(ids::kFindBox))));
}

void PathEditorWindow::ApplyFocus(PathEditorFocus focus) {
    switch (focus) {
        case PathEditorFocus::FindBox:
            SetFocus(Control(ids::kFindBox));
            break;
        case PathEditorFocus::ReplaceBox:
            SetFocus(Control(ids::kReplaceBox));
            break;
        case PathEditorFocus::FolderBoxSelected:
            SetFocus(Control(ids::kFolderBox));
            SendMessageW(Control(ids::kFolderBox), EM_SETSEL, 0, -1);
            break;
        case PathEditorFocus::Unchanged:
            break;
    }
}

// Another folder: the search of the last one does not carry over.
void PathEditorWindow::ClearSearch() {
    SetText(Control(ids::kFindBox), {});
    SetText(Control(ids::kReplaceBox), {});
}

bool PathEditorWindow::Run(HWND owner) {
    dpi_ = owner != nullptr ? GetDpiForWindow(owner) : GetDpiForSystem();
    if (dpi_ == 0)
        dpi_ = USER_DEFAULT_SCREEN_DPI;
    OwnerDisabled ownerDisabled(owner);
    RECT size{0, 0, Scale(kClientWidth), Scale(kClientHeight)};
    AdjustWindowRectExForDpi(&size, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_CONTROLPARENT, dpi_);
    if (CreateWindowOfClass(WS_EX_CONTROLPARENT, Utf8ToWide(model_.texts.title).c_str(), WS_OVERLAPPEDWINDOW,
                            CW_USEDEFAULT, CW_USEDEFAULT, size.right - size.left, size.bottom - size.top,
                            owner)) {
        const HWND window = Window();
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
        SetForegroundWindow(window);
        // The folder is read once the window is on screen, so its progress can be seen.
        PostMessageW(window, kStartMessage, 0, 0);
        RunModalLoop(window, done_, true);
    }
    ownerDisabled.Release();
    if (Window() != nullptr)
        DestroyWindow(Window());
    return wrote_;
}

}  // namespace

bool ShowPathEditor(HWND owner, const PathEditorContext& context) {
    PathEditorWindow window(context);
    return window.Run(owner);
}

}  // namespace velmora
