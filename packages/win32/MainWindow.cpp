#include "packages/win32/MainWindow.h"

#include <commctrl.h>

#include <algorithm>

#include "base/Utilities.h"
#include "packages/win32/MainMenus.h"
#include "packages/win32/MainWindowIds.h"
#include "platform/win32/WideText.h"
#include "resources/ResourceIds.h"
#include "ui/win32/ListViewRows.h"
#include "ui/win32/ProgressWindow.h"
#include "ui/win32/WindowLayout.h"

namespace velmora {

namespace {

// Sizes in pixels at 96 DPI; they grow with the window's monitor.
constexpr int kClientWidth = 600;
constexpr int kClientHeight = 440;
constexpr int kMargin = 8;
constexpr int kFrameHeight = 52;
constexpr int kBoxHeight = 22;
constexpr int kBrowseWidth = 26;
constexpr int kMoveButtonSize = 26;
constexpr int kCommandWidth = 180;
constexpr int kLineHeight = 18;
constexpr int kStatusHeight = 22;

WindowId IdOf(HWND window) {
    return reinterpret_cast<WindowId>(window);
}

HICON LoadProgramIcon(int metricX, int metricY) {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_LOGO), IMAGE_ICON,
                                         GetSystemMetrics(metricX), GetSystemMetrics(metricY), LR_SHARED));
}

HWND AddControl(HWND parent, const wchar_t* className, int id, DWORD style, DWORD exStyle = 0,
                const std::string& text = {}) {
    return CreateWindowExW(exStyle, className, Utf8ToWide(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0,
                           0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

void SetText(HWND control, const std::string& text) {
    SetWindowTextW(control, Utf8ToWide(text).c_str());
}

std::string TextOf(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return WideToUtf8(text);
}

// Posted by the folder box to its window.
constexpr UINT kFolderEnteredMessage = WM_APP + 1;
constexpr UINT kFolderKeyMessage = WM_APP + 2;

// Enter in the folder box loads the typed folder; every key, Enter or not, counts the marks again.
LRESULT CALLBACK FolderBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR owner) {
    switch (message) {
        case WM_GETDLGCODE:
            return DefSubclassProc(box, message, wParam, lParam) | DLGC_WANTALLKEYS;
        case WM_CHAR:
            if (wParam == L'\r')
                return 0;  // no beep: Enter was handled on key down
            break;
        case WM_KEYDOWN:
            if (wParam == VK_RETURN)
                PostMessageW(reinterpret_cast<HWND>(owner), kFolderEnteredMessage, 0, 0);
            break;
        case WM_KEYUP:
            PostMessageW(reinterpret_cast<HWND>(owner), kFolderKeyMessage, 0, 0);
            break;
        default:
            break;
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

}  // namespace

MainWindow::MainWindow(const MainWindowContext& context, FrameTexts texts)
    : c_(context),
      texts_(std::move(texts)),
      list_(PackageListPorts{c_.files, c_.codec, c_.language, c_.pathVars}),
      model_(MainModelPorts{list_, c_.files, c_.settings, c_.language, c_.state, c_.system.ProgramFolder()}),
      scenario_(c_.codec, c_.pathVars),
      stats_(c_.clock) {}

MainWindow::~MainWindow() = default;

const wchar_t* MainWindow::ClassName() {
    return kMainWindowClass;
}

void MainWindow::DescribeClass(WNDCLASSEXW& wc) {
    wc.hIcon = LoadProgramIcon(SM_CXICON, SM_CYICON);
    wc.hIconSm = LoadProgramIcon(SM_CXSMICON, SM_CYSMICON);
}

bool MainWindow::Show(int showCommand) {
    if (!CreateWindowOfClass(0, Utf8ToWide(MainWindowCaption()).c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                             CW_USEDEFAULT, kClientWidth, kClientHeight)) {
        return false;
    }
    // The window's monitor is known only now; size the client area for it.
    RECT r{0, 0, Scale(kClientWidth), Scale(kClientHeight)};
    AdjustWindowRectExForDpi(&r, WS_OVERLAPPEDWINDOW, TRUE, 0, dpi_);
    SetWindowPos(Window(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(Window(), showCommand);
    UpdateWindow(Window());
    // The list's tips read every scenario; the window is on screen first so the progress can be seen.
    LoadTips();
    return true;
}

bool MainWindow::TranslateShortcut(MSG& message) {
    if (!shortcuts_ || !IsWindowVisible(Window()) ||
        (message.hwnd != Window() && !IsChild(Window(), message.hwnd))) {
        return false;
    }
    // In the folder box, Del and Ctrl+A edit the text.
    if (message.hwnd == folderBox_ && message.message == WM_KEYDOWN &&
        (message.wParam == VK_DELETE || message.wParam == 'A')) {
        return false;
    }
    return TranslateAcceleratorW(Window(), shortcuts_.get(), &message) != 0;
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_SIZE:
            Layout();
            return 0;
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize = {Scale(360), Scale(260)};
            return 0;
        }
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return 0;
        case WM_NOTIFY:
            return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_CONTEXTMENU:
            if (reinterpret_cast<HWND>(wParam) == packageList_ && LOWORD(lParam) == 0xFFFF &&
                HIWORD(lParam) == 0xFFFF) {
                // The menu key: the menu opens at the current item as if it had been right-clicked.
                model_.ListClicked(model_.current, true);
                RECT item{};
                if (model_.current)
                    ListView_GetItemRect(packageList_, static_cast<int>(*model_.current), &item, LVIR_LABEL);
                POINT at{item.left, item.bottom};
                ClientToScreen(packageList_, &at);
                ShowContextMenu(at);
            }
            return 0;
        case kFolderEnteredMessage:
            if (const MainAction action = model_.TypeFolder(TextOf(folderBox_)); action == MainAction::None)
                LoadTips();
            else
                CarryOut(action);
            return 0;
        case kFolderKeyMessage:
            model_.FolderKeyTyped();
            RenderTexts();
            RenderMenus();
            return 0;
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_DESTROY:
            OnDestroy();
            return 0;
        default:
            return Default(message, wParam, lParam);
    }
}

void MainWindow::OnCreate() {
    dpi_ = GetDpiForWindow(Window());
    frame_ = AddControl(Window(), L"BUTTON", kIdFolderFrame, BS_GROUPBOX);
    folderBox_ = AddControl(Window(), WC_EDITW, kIdFolderBox, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
    SetWindowSubclass(folderBox_, FolderBoxProc, 1, reinterpret_cast<DWORD_PTR>(Window()));
    browseButton_ = AddControl(Window(), L"BUTTON", kIdBrowseFolder, WS_TABSTOP | BS_PUSHBUTTON, 0, "...");
    packageList_ = AddControl(
        Window(), WC_LISTVIEWW, kIdPackageList,
        WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE);
    ListView_SetExtendedListViewStyle(packageList_, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT |
                                                        LVS_EX_INFOTIP | LVS_EX_DOUBLEBUFFER |
                                                        LVS_EX_LABELTIP);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = Scale(400);
    ListView_InsertColumn(packageList_, 0, &column);
    // Bitmaps on a face-grey background: mapped to the system's face colour.
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    moveUpPicture_.reset(static_cast<HBITMAP>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDB_MOVE_UP), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS)));
    moveDownPicture_.reset(static_cast<HBITMAP>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDB_MOVE_DOWN), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS)));
    moveUpButton_ = AddControl(Window(), L"BUTTON", kIdMoveUp, WS_TABSTOP | BS_PUSHBUTTON | BS_BITMAP);
    moveDownButton_ = AddControl(Window(), L"BUTTON", kIdMoveDown, WS_TABSTOP | BS_PUSHBUTTON | BS_BITMAP);
    SendMessageW(moveUpButton_, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(moveUpPicture_.get()));
    SendMessageW(moveDownButton_, BM_SETIMAGE, IMAGE_BITMAP,
                 reinterpret_cast<LPARAM>(moveDownPicture_.get()));
    countLine_ = AddControl(Window(), L"STATIC", kIdCountLine, SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_NOTIFY);
    switchesLine_ = AddControl(Window(), L"STATIC", kIdSwitchesLine, SS_RIGHT | SS_ENDELLIPSIS | SS_NOPREFIX);
    separator_ = AddControl(Window(), L"STATIC", -1, SS_ETCHEDHORZ);
    statusLine_ =
        AddControl(Window(), L"STATIC", kIdStatusLine, SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_NOPREFIX);
    // The switch label is hidden while there is nothing to show.
    SetText(switchesLine_, texts_.commandText);
    ShowWindow(switchesLine_, texts_.commandVisible ? SW_SHOWNA : SW_HIDE);

    tooltip_ =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Window(), nullptr, instance, nullptr);
    shortcuts_ = MakeShortcuts();
    ApplyFont();

    model_.Start();
    if (c_.checkAssociationOnce)
        c_.checkAssociationOnce(IdOf(Window()));
    ApplyTopMost();
    RebuildMenus();
    RenderList();
    RenderTexts();
    SetFocus(packageList_);
}

void MainWindow::OnCommand(int id, int code, HWND control) {
    if (control == browseButton_ && code == BN_CLICKED) {
        OnMenuCommand(MainCommand::ChooseFolder);
    } else if (control == moveUpButton_ && code == BN_CLICKED) {
        if (model_.MoveUp())
            RenderList();
    } else if (control == moveDownButton_ && code == BN_CLICKED) {
        if (model_.MoveDown())
            RenderList();
    } else if (const std::optional<MainCommand> command = CommandOfMenuId(id)) {
        OnMenuCommand(*command);
    } else if (const std::optional<std::size_t> language = LanguageOfMenuId(id)) {
        if (*language < languageItems_.size())
            SelectLanguage(languageItems_[*language]);
    }
}

LRESULT MainWindow::OnNotify(const NMHDR& header) {
    if (header.hwndFrom != packageList_)
        return 0;
    switch (header.code) {
        case LVN_ITEMCHANGED: {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            if (rendering_ || change.iItem < 0 || !(change.uChanged & LVIF_STATE))
                return 0;
            const auto index = static_cast<std::size_t>(change.iItem);
            if ((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK) {
                model_.SetChecked(index,
                                  (change.uNewState & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2));
                RenderTexts();
                RenderMenus();
            }
            if ((change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED))
                model_.current = index;
            return 0;
        }
        case NM_CLICK:
        case NM_RCLICK: {
            const auto& click = reinterpret_cast<const NMITEMACTIVATE&>(header);
            const bool right = header.code == NM_RCLICK;
            std::optional<std::size_t> hit;
            if (click.iItem >= 0)
                hit = static_cast<std::size_t>(click.iItem);
            model_.ListClicked(hit, right);
            if (right) {
                RenderList();
                POINT at = click.ptAction;
                ClientToScreen(packageList_, &at);
                ShowContextMenu(at);
            }
            return 0;
        }
        case LVN_GETINFOTIPW: {
            auto& tip = const_cast<NMLVGETINFOTIPW&>(reinterpret_cast<const NMLVGETINFOTIPW&>(header));
            if (tip.iItem >= 0 && static_cast<std::size_t>(tip.iItem) < list_.items.size() &&
                tip.cchTextMax > 0) {
                const std::wstring text = Utf8ToWide(list_.items[static_cast<std::size_t>(tip.iItem)].tip);
                const std::size_t count = std::min(text.size(), static_cast<std::size_t>(tip.cchTextMax - 1));
                std::copy_n(text.c_str(), count, tip.pszText);
                tip.pszText[count] = L'\0';
            }
            return 0;
        }
        default:
            return 0;
    }
}

void MainWindow::LoadTips() {
    std::unique_ptr<ProgressWindow> progress;
    list_.LoadTips([&](int ordinal, int count) {
        if (!progress) {
            progress = std::make_unique<ProgressWindow>(Window(), c_.language);
            progress->Show();
            progress->SetRange(0, count);
        }
        SetText(statusLine_,
                c_.language.LangTextFormat("Загрузка %s из", "main", 18, std::to_string(ordinal)) + " " +
                    std::to_string(count));
        UpdateWindow(statusLine_);
        progress->SetValue(ordinal);
    });
    progress.reset();
    // The line said how far the reading was; now it says again what the model says.
    RenderList();
    RenderTexts();
    RenderMenus();
}

void MainWindow::RenderList() {
    rendering_ = true;
    SendMessageW(packageList_, WM_SETREDRAW, FALSE, 0);
    const int count = static_cast<int>(list_.items.size());
    SetListViewRowCount(packageList_, count);
    for (int i = 0; i < count; ++i) {
        const PackageItem& package = list_.items[static_cast<std::size_t>(i)];
        std::wstring name = Utf8ToWide(package.name);
        ListView_SetItemText(packageList_, i, 0, name.data());
        ListView_SetCheckState(packageList_, i, package.checked);
        const bool current = model_.current && *model_.current == static_cast<std::size_t>(i);
        ListView_SetItemState(packageList_, i, current ? LVIS_SELECTED | LVIS_FOCUSED : 0,
                              LVIS_SELECTED | LVIS_FOCUSED);
    }
    if (model_.current)
        ListView_EnsureVisible(packageList_, static_cast<int>(*model_.current), FALSE);
    SendMessageW(packageList_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(packageList_, nullptr, TRUE);
    rendering_ = false;
}

void MainWindow::RenderTexts() {
    SetText(frame_, model_.frameCaption);
    if (TextOf(folderBox_) != model_.folderText)
        SetText(folderBox_, model_.folderText);
    SetText(countLine_, model_.countLine);
    SetText(statusLine_, model_.statusLine);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = Window();
    tool.uId = reinterpret_cast<UINT_PTR>(countLine_);
    std::wstring tip = Utf8ToWide(model_.countTip);
    tool.lpszText = tip.data();
    SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void MainWindow::ApplyTopMost() {
    SetWindowPos(Window(), model_.topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void MainWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
    dpi_ = dpi;
    ApplyFont();
    SetWindowPos(Window(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The message font is made for 96 DPI; a copy of it is scaled for the window's monitor.
void MainWindow::ApplyFont() {
    const LOGFONTW message = MessageFont(dpi_);
    unique_hfont font(CreateFontIndirectW(&message));
    for (HWND control :
         {frame_, folderBox_, browseButton_, packageList_, countLine_, switchesLine_, statusLine_})
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    font_ = std::move(font);
}

void MainWindow::Layout() {
    RECT client{};
    GetClientRect(Window(), &client);
    const int margin = Scale(kMargin);
    const int width = client.right - 2 * margin;
    // The folder box in its frame along the top.
    MoveWindow(frame_, margin, Scale(2), width, Scale(kFrameHeight), TRUE);
    const int boxTop = Scale(2 + 20);
    const int browseWidth = Scale(kBrowseWidth);
    MoveWindow(folderBox_, margin + Scale(10), boxTop, width - Scale(24) - browseWidth, Scale(kBoxHeight),
               TRUE);
    MoveWindow(browseButton_, margin + width - Scale(8) - browseWidth, boxTop, browseWidth, Scale(kBoxHeight),
               TRUE);
    // The list fills the middle; the move buttons stand at its right, centred.
    const int statusTop = client.bottom - Scale(kStatusHeight);
    const int countTop = statusTop - Scale(kLineHeight + 4);
    const int listTop = Scale(2 + kFrameHeight + 8);
    const int buttonSize = Scale(kMoveButtonSize);
    const int listWidth = width - buttonSize - Scale(6);
    const int listHeight = std::max(0, countTop - Scale(4) - listTop);
    MoveWindow(packageList_, margin, listTop, listWidth, listHeight, TRUE);
    ListView_SetColumnWidth(packageList_, 0,
                            listWidth - GetSystemMetricsForDpi(SM_CXVSCROLL, dpi_) - Scale(4));
    const int buttonsTop = listTop + listHeight / 2 - buttonSize - Scale(3);
    MoveWindow(moveUpButton_, margin + listWidth + Scale(6), buttonsTop, buttonSize, buttonSize, TRUE);
    MoveWindow(moveDownButton_, margin + listWidth + Scale(6), buttonsTop + buttonSize + Scale(6), buttonSize,
               buttonSize, TRUE);
    const int commandWidth = Scale(kCommandWidth);
    MoveWindow(countLine_, margin, countTop, width - commandWidth, Scale(kLineHeight), TRUE);
    MoveWindow(switchesLine_, client.right - margin - commandWidth, countTop, commandWidth,
               Scale(kLineHeight), TRUE);
    // The status line runs along the bottom under an etched rule.
    MoveWindow(separator_, 0, statusTop, client.right, Scale(2), TRUE);
    MoveWindow(statusLine_, margin, statusTop + Scale(2), width, Scale(kStatusHeight - 2), TRUE);
}

void MainWindow::OnDestroy() {
    model_.Close();
    c_.instanceLock.Release();
    PostQuitMessage(0);
}

int MainWindow::Scale(int value) const {
    return MulDiv(value, static_cast<int>(dpi_), USER_DEFAULT_SCREEN_DPI);
}

}  // namespace velmora
