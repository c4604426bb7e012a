#include "packages/win32/MainWindow.h"

#include <commctrl.h>

#include <algorithm>

#include "base/Utilities.h"
#include "packages/win32/MainMenus.h"
#include "packages/win32/MainWindowIds.h"
#include "platform/win32/CommonControls.h"
#include "platform/win32/WideText.h"
#include "resources/ResourceIds.h"
#include "ui/win32/Controls.h"
#include "ui/win32/ListViewRows.h"
#include "ui/win32/ProgressWindow.h"

namespace velmora {

namespace {

using namespace main_window;

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

// Posted by the folder box to its window.
constexpr UINT kFolderEnteredMessage = WM_APP + 1;
constexpr UINT kFolderKeyMessage = WM_APP + 2;

// Enter in the folder box loads the typed folder; every key, Enter or not, counts the marks again.
LRESULT CALLBACK FolderBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR owner) {
    switch (message) {
        case WM_GETDLGCODE:
            return DefSubclass(box, message, wParam, lParam) | DLGC_WANTALLKEYS;
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
    return DefSubclass(box, message, wParam, lParam);
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
    return kClassName;
}

bool MainWindow::Show(int showCommand) {
    if (!CreateWindowOfClass(0, Utf8ToWide(MainWindowCaption()).c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                             CW_USEDEFAULT, kClientWidth, kClientHeight)) {
        return false;
    }
    // The window's monitor is known only now; size the client area for it.
    ResizeClient(Scale(kClientWidth), Scale(kClientHeight));
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
                HIWORD(lParam) == 0xFFFF)
                OnContextMenuKey();
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
        case WM_DESTROY:
            OnDestroy();
            return 0;
        default:
            return Default(message, wParam, lParam);
    }
}

void MainWindow::OnCreate() {
    SetIcons(IDI_LOGO);
    AddControls();
    tooltip_ = AddTooltips(Window());
    shortcuts_ = MakeShortcuts();
    ApplyDpi();

    model_.Start();
    if (c_.checkAssociationOnce)
        c_.checkAssociationOnce(IdOf(Window()));
    ApplyTopMost();
    RebuildMenus();
    RenderList();
    RenderTexts();
    SetFocus(packageList_);
}

void MainWindow::AddControls() {
    const HWND w = Window();
    frame_ = AddControl(w, L"BUTTON", kFolderFrame, BS_GROUPBOX);
    folderBox_ = AddControl(w, WC_EDITW, kFolderBox, WS_TABSTOP | ES_AUTOHSCROLL, {}, WS_EX_CLIENTEDGE);
    SetSubclass(folderBox_, FolderBoxProc, 1, reinterpret_cast<DWORD_PTR>(w));
    browseButton_ = AddControl(w, L"BUTTON", kBrowseFolder, WS_TABSTOP | BS_PUSHBUTTON, "...");
    packageList_ =
        AddControl(w, WC_LISTVIEWW, kPackageList,
                   WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS, {},
                   WS_EX_CLIENTEDGE);
    ListView_SetExtendedListViewStyle(packageList_, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT |
                                                        LVS_EX_INFOTIP | LVS_EX_DOUBLEBUFFER |
                                                        LVS_EX_LABELTIP);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = Scale(400);
    ListView_InsertColumn(packageList_, 0, &column);
    moveUpButton_ = AddControl(w, L"BUTTON", kMoveUp, WS_TABSTOP | BS_PUSHBUTTON | BS_BITMAP);
    moveDownButton_ = AddControl(w, L"BUTTON", kMoveDown, WS_TABSTOP | BS_PUSHBUTTON | BS_BITMAP);
    countLine_ = AddControl(w, L"STATIC", kCountLine, SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_NOTIFY);
    switchesLine_ = AddControl(w, L"STATIC", kSwitchesLine, SS_RIGHT | SS_ENDELLIPSIS | SS_NOPREFIX);
    separator_ = AddControl(w, L"STATIC", -1, SS_ETCHEDHORZ);
    statusLine_ = AddControl(w, L"STATIC", kStatusLine, SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_NOPREFIX);
    // The switch label is hidden while there is nothing to show.
    SetText(switchesLine_, texts_.commandText);
    ShowWindow(switchesLine_, texts_.commandVisible ? SW_SHOWNA : SW_HIDE);
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

// The menu key: the menu opens at the current item as if it had been right-clicked.
void MainWindow::OnContextMenuKey() {
    model_.ListClicked(model_.current, true);
    RECT item{};
    if (model_.current)
        ListView_GetItemRect(packageList_, static_cast<int>(*model_.current), &item, LVIR_LABEL);
    POINT at{item.left, item.bottom};
    ClientToScreen(packageList_, &at);
    ShowContextMenu(at);
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
    RenderAll();
}

void MainWindow::RenderAll() {
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
    SetTextIfChanged(folderBox_, model_.folderText);
    SetText(countLine_, model_.countLine);
    SetText(statusLine_, model_.statusLine);
    SetTip(tooltip_, Window(), countLine_, model_.countTip);
}

void MainWindow::ApplyTopMost() {
    SetWindowPos(Window(), model_.topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void MainWindow::OnDpiChanged() {
    ApplyDpi();
    Layout();
}

// The message font and the move buttons' pictures as they are drawn at the window's DPI.
void MainWindow::ApplyDpi() {
    unique_hfont font = CreateMessageFont(Dpi());
    for (HWND control :
         {frame_, folderBox_, browseButton_, packageList_, countLine_, switchesLine_, statusLine_})
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    font_ = std::move(font);
    unique_hbitmap up = LoadFaceBitmap(IDB_MOVE_UP, Dpi());
    unique_hbitmap down = LoadFaceBitmap(IDB_MOVE_DOWN, Dpi());
    SendMessageW(moveUpButton_, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(up.get()));
    SendMessageW(moveDownButton_, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(down.get()));
    moveUpPicture_ = std::move(up);
    moveDownPicture_ = std::move(down);
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
                            listWidth - GetSystemMetricsForDpi(SM_CXVSCROLL, Dpi()) - Scale(4));
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

}  // namespace velmora
