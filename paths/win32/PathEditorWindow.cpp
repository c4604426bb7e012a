#include "paths/win32/PathEditorWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "paths/PathEditorModel.h"
#include "paths/win32/PathEditorIds.h"
#include "platform/win32/CommonControls.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "resources/ResourceIds.h"
#include "ui/win32/BaseWindow.h"
#include "ui/win32/Controls.h"
#include "ui/win32/ListViewRows.h"
#include "ui/win32/ModalLoop.h"

namespace velmora {
namespace {

namespace ids = path_editor;

// The window's parts in pixels at 96 DPI; they grow with the monitor's DPI.
constexpr int kClientWidth = 671;
constexpr int kClientHeight = 473;
constexpr int kTableLeft = 184;
constexpr int kTableTop = 64;
constexpr int kColumnWidths[] = {96, 200, 200};
// The note and the progress bar stand right of the folder group, above the table.
constexpr int kTopRightLeft = 401;
constexpr int kMargin = 8;

struct Place {
    int id, x, y, width, height;
};
// The folder group and the left column, which never move.
constexpr Place kPlaces[] = {
    {ids::kFolderGroup, 8, 2, 385, 52},     {ids::kFolderBox, 16, 22, 340, 22},
    {ids::kBrowse, 360, 21, 25, 24},        {ids::kFindGroup, 8, 64, 169, 136},
    {ids::kFindLabel, 16, 82, 153, 17},     {ids::kFindBox, 16, 99, 153, 22},
    {ids::kReplaceLabel, 16, 126, 153, 17}, {ids::kReplaceBox, 16, 143, 153, 22},
    {ids::kReplace, 80, 171, 89, 24},       {ids::kSaveGroup, 8, 208, 169, 144},
    {ids::kSaveHint, 16, 226, 153, 88},     {ids::kSave, 80, 319, 89, 24},
    {ids::kStatsGroup, 8, 360, 169, 80},    {ids::kTotalCaption, 16, 378, 110, 17},
    {ids::kTotal, 128, 378, 41, 17},        {ids::kChangedCaption, 16, 398, 110, 17},
    {ids::kChanged, 128, 398, 41, 17},      {ids::kToSaveCaption, 16, 418, 110, 17},
    {ids::kToSave, 128, 418, 41, 17},
};

// Posted by a text box when Enter is pressed in it (wParam: its id), and once after the window shows.
constexpr UINT kEnterMessage = WM_APP + 1;
constexpr UINT kStartMessage = WM_APP + 2;

// Enter in the folder box loads the folder; in the search boxes it presses the replace button. The dialog
// keys (Tab) keep working.
LRESULT CALLBACK EnterBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR owner) {
    switch (message) {
        case WM_GETDLGCODE: {
            LRESULT code = DefSubclass(box, message, wParam, lParam);
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
    return DefSubclass(box, message, wParam, lParam);
}

class PathEditorWindow : public BaseWindow<PathEditorWindow> {
  public:
    explicit PathEditorWindow(const PathEditorContext& c)
        : model_({c.files, c.codec, c.pathVars, c.settings, c.dialogs, c.language, c.state}) {}

    static const wchar_t* ClassName() { return ids::kClassName; }
    // Shows the window and runs its messages until it closes; true when a save wrote any file.
    bool Run(HWND owner);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    HWND Control(int id) const { return GetDlgItem(Window(), id); }
    WindowId AsOwner() const { return IdOf(Window()); }
    HWND Add(const wchar_t* className, int id, DWORD style, const std::string& text = {}, DWORD exStyle = 0) {
        return AddControl(Window(), className, id, style, text, exStyle);
    }
    void OnCreate();
    void AddTable();
    void ApplyFonts();
    void OnDpiChanged() override;
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

void PathEditorWindow::OnCreate() {
    SetIcons(IDI_LOGO);
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
    AddTable();
    status_ = Add(STATUSCLASSNAMEW, ids::kStatus, SBARS_SIZEGRIP);
    for (int id : {ids::kFolderBox, ids::kFindBox, ids::kReplaceBox})
        SetSubclass(Control(id), EnterBoxProc, 1, reinterpret_cast<DWORD_PTR>(Window()));
    ApplyFonts();
}

void PathEditorWindow::AddTable() {
    const PathEditorTexts& t = model_.texts;
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
}

// The message font as it is drawn at the window's DPI; the counters and the changed rows use its bold form.
void PathEditorWindow::ApplyFonts() {
    unique_hfont font = CreateMessageFont(Dpi());
    unique_hfont bold = CreateMessageFont(Dpi(), FW_BOLD);
    for (HWND child = GetWindow(Window(), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        const bool counter = id == ids::kTotal || id == ids::kChanged || id == ids::kToSave;
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(counter ? bold.get() : font.get()), TRUE);
    }
    font_ = std::move(font);
    boldFont_ = std::move(bold);
}

void PathEditorWindow::OnDpiChanged() {
    ApplyFonts();
    for (int i = 0; i < 3; ++i)
        ListView_SetColumnWidth(table_, i, Scale(kColumnWidths[i]));
    Layout();
}

void PathEditorWindow::Layout() {
    RECT client{};
    GetClientRect(Window(), &client);
    for (const Place& p : kPlaces)
        MoveWindow(Control(p.id), Scale(p.x), Scale(p.y), Scale(p.width), Scale(p.height), TRUE);
    const int rightWidth = std::max(0, static_cast<int>(client.right) - Scale(kTopRightLeft + kMargin));
    MoveWindow(Control(ids::kNote), Scale(kTopRightLeft), Scale(8), rightWidth, Scale(17), TRUE);
    MoveWindow(progress_, Scale(kTopRightLeft), Scale(32), rightWidth, Scale(20), TRUE);
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
    SetTextIfChanged(Control(ids::kFolderBox), model_.folderText);
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
    OwnerDisabled ownerDisabled(owner);
    if (CreateWindowOfClass(WS_EX_CONTROLPARENT, Utf8ToWide(model_.texts.title).c_str(), WS_OVERLAPPEDWINDOW,
                            CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, owner)) {
        const HWND window = Window();
        PlaceOnOwner(Scale(kClientWidth), Scale(kClientHeight));
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
