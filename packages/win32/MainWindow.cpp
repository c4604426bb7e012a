#include "packages/win32/MainWindow.h"

#include <commctrl.h>

#include <algorithm>

#include "base/NoticeTexts.h"
#include "base/ProjectAddresses.h"
#include "base/Utilities.h"
#include "discs/win32/DiscWizard.h"
#include "packages/win32/MainMenus.h"
#include "packages/win32/MainWindowIds.h"
#include "packages/win32/PackageDialog.h"
#include "paths/win32/PathEditorWindow.h"
#include "platform/win32/WideText.h"
#include "playback/win32/ControlPanel.h"
#include "resources/ResourceIds.h"
#include "ui/win32/AboutWindow.h"
#include "ui/win32/ListViewRows.h"
#include "ui/win32/NoticeWindows.h"
#include "ui/win32/ProgressWindow.h"

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

// The address a Help menu item opens; empty when the build has none.
std::string AddressOf(MainCommand command) {
    switch (command) {
        case MainCommand::Mail:
            return AuthorMailAddress().empty() ? std::string{} : "mailto:" + AuthorMailAddress();
        case MainCommand::Site:
            return WebSiteAddress();
        case MainCommand::GuestBook:
            return GuestBookAddress();
        default:
            return {};
    }
}

// An item whose address the build left empty is not offered.
bool CommandShown(MainCommand command) {
    switch (command) {
        case MainCommand::Mail:
        case MainCommand::Site:
        case MainCommand::GuestBook:
            return !AddressOf(command).empty();
        default:
            return true;
    }
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

void MainWindow::OnMenuCommand(MainCommand command) {
    // Shortcuts reach here even for a command whose item is disabled (the context menu's twin may be
    // enabled).
    if (!model_.Enabled(command))
        return;
    const bool here = IsContextCommand(command);
    switch (command) {
        case MainCommand::ChooseFolder: {
            const std::string title = c_.language.LangText("Выберите папку содержащую файлы .SCN", "main", 7);
            const std::string folder = BrowseForFolder(c_.dialogs, IdOf(Window()), list_.Folder(), title);
            if (folder.empty())
                return;
            model_.ChooseFolder(folder);
            LoadTips();
            break;
        }
        case MainCommand::Reload:
            model_.Reload();
            LoadTips();
            break;
        case MainCommand::Exit:
            DestroyWindow(Window());
            return;
        case MainCommand::SelectAll:
        case MainCommand::SelectAllHere:
            model_.SelectAll();
            break;
        case MainCommand::UnselectAll:
        case MainCommand::UnselectAllHere:
            model_.UnselectAll();
            break;
        case MainCommand::InvertSelection:
        case MainCommand::InvertSelectionHere:
            model_.InvertSelection();
            break;
        case MainCommand::CheckItem:
        case MainCommand::UncheckItem:
            if (model_.clicked)
                model_.SetChecked(*model_.clicked, command == MainCommand::CheckItem);
            break;
        case MainCommand::DeleteChecked:
        case MainCommand::DeleteCheckedHere:
            if (model_.RequestDelete() == MainAction::AskDelete &&
                c_.dialogs.Message(IdOf(Window()), model_.deleteQuestion, model_.deleteTitle,
                                   MsgButtons::YesNo, MsgIcon::Information,
                                   MsgDefault::Second) == MsgResult::Yes) {
                model_.DeleteChecked(here);
                LoadTips();
            }
            break;
        case MainCommand::Properties:
        case MainCommand::PropertiesHere:
            if (const MainAction action = model_.Properties(); action != MainAction::None)
                CarryOut(action);
            else if (model_.clicked)
                OpenProperties(*model_.clicked);
            return;
        case MainCommand::NewPackage:
        case MainCommand::NewPackageHere:
            if (const MainAction action = model_.NewPackage(); action != MainAction::None)
                CarryOut(action);
            else
                OpenNewPackage();
            return;
        case MainCommand::RunChecked:
        case MainCommand::RunCheckedHere:
            CarryOut(model_.RunChecked());
            return;
        case MainCommand::RunAll:
            CarryOut(model_.RunAll());
            return;
        case MainCommand::TopMost:
            model_.ToggleTopMost();
            ApplyTopMost();
            break;
        case MainCommand::SpeedFast:
        case MainCommand::SpeedMedium:
        case MainCommand::SpeedSlow:
            model_.SelectSpeed(static_cast<int>(command) - static_cast<int>(MainCommand::SpeedFast));
            break;
        case MainCommand::TimeoutOff:
        case MainCommand::Timeout5:
        case MainCommand::Timeout15:
        case MainCommand::Timeout30:
        case MainCommand::Timeout60:
            model_.SelectTimeout(MainWindowModel::TimeoutOf(command).value_or(0));
            break;
        case MainCommand::ReportFolder:
            if (const std::optional<std::string> folder =
                    c_.dialogs.BrowseFolder(IdOf(Window()), model_.reportFolder,
                                            c_.language.LangText("Папка для отчётов", "Report", 32)))
                model_.SetReportFolder(*folder);
            break;
        case MainCommand::ReportsOff:
            model_.SetReportFolder("");
            break;
        case MainCommand::ProgramsPanel:
            c_.shell.Open("rundll32.exe", "shell32.dll,Control_RunDLL appwiz.cpl", "", IdOf(Window()));
            return;
        case MainCommand::Help:
            OpenHelp();
            return;
        case MainCommand::DiscWizard:
            OpenDiscWizard();
            return;
        default:
            OnOtherCommand(command);
            return;
    }
    RenderList();
    RenderTexts();
    RenderMenus();
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

void MainWindow::RebuildMenus() {
    languageItems_ = model_.LanguageNames();
    const MenuTexts texts{c_.language.LangText("Язык", "MainMenu", 15),
                          c_.language.LangText("Скорость установки", "MainMenu", 22), "Русский",
                          c_.language.LangText("Ожидание окна", "MainMenu", 49)};
    HMENU old = GetMenu(Window());
    SetMenu(Window(), BuildMenuBar(model_, texts, languageItems_, &CommandShown));
    if (old != nullptr)
        DestroyMenu(old);
    contextMenu_.reset(BuildContextMenu(model_));
    RenderMenus();
}

void MainWindow::RenderMenus() {
    UpdateMenuStates(GetMenu(Window()), model_, languageItems_, c_.language.languageName);
    UpdateMenuStates(contextMenu_.get(), model_, {}, {});
    DrawMenuBar(Window());
    EnableWindow(moveUpButton_, !list_.items.empty());
    EnableWindow(moveDownButton_, !list_.items.empty());
}

void MainWindow::ShowContextMenu(POINT screen) {
    RenderMenus();
    const UINT id = TrackPopupMenu(contextMenu_.get(), TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                                   screen.x, screen.y, 0, Window(), nullptr);
    if (const std::optional<MainCommand> command = CommandOfMenuId(static_cast<int>(id)))
        OnMenuCommand(*command);
}

void MainWindow::OpenPathEditor() {
    // The editor shows the packages in the order the list has now.
    list_.SaveOrder();
    const bool wrote = ShowPathEditor(
        Window(), {c_.files, c_.codec, c_.pathVars, c_.settings, c_.dialogs, c_.language, c_.state});
    if (c_.state.scenarioFolder != list_.Folder()) {
        // The editor moved the program to another folder (and stored it): the list follows, as after the
        // disc wizard, so that it shows the folder new packages go into.
        if (model_.DiscWizardClosed()) {
            LoadTips();
            return;
        }
    } else if (wrote) {
        // The installers moved: the tips say again whether each one is there. The marks stay.
        LoadTips();
        return;
    }
    RenderList();
    RenderTexts();
    RenderMenus();
}

void MainWindow::OnOtherCommand(MainCommand command) {
    switch (command) {
        case MainCommand::PathEditor:
            OpenPathEditor();
            break;
        case MainCommand::Associate:
            if (c_.associateFromMenu)
                c_.associateFromMenu(IdOf(Window()));
            break;
        case MainCommand::About:
            ShowAbout(Window(), c_.language);
            break;
        case MainCommand::Mail:
        case MainCommand::Site:
        case MainCommand::GuestBook:
            c_.shell.Open(AddressOf(command), "", "", IdOf(Window()));
            break;
        default:
            // The disc wizard has its own window, not yet part of the program.
            break;
    }
}

void MainWindow::CarryOut(MainAction action) {
    switch (action) {
        case MainAction::None:
            break;
        case MainAction::ShowFolderError:
            RenderList();
            RenderTexts();
            RenderMenus();
            c_.dialogs.Message(IdOf(Window()), model_.folderErrorText, model_.folderErrorTitle,
                               MsgButtons::Ok, MsgIcon::Exclamation, MsgDefault::First);
            SetFocus(folderBox_);
            SendMessageW(folderBox_, EM_SETSEL, 0, -1);
            return;
        case MainAction::AskDelete:
            break;
        case MainAction::ShowNoFolder:
            c_.dialogs.Message(IdOf(Window()), model_.noFolderMessage, model_.noFolderTitle, MsgButtons::Ok,
                               MsgIcon::Exclamation, MsgDefault::First);
            return;
        case MainAction::ShowFileNotFound:
            c_.dialogs.Message(IdOf(Window()), c_.language.LangText("Файл не найден", "main", 21),
                               kProgramTitle, MsgButtons::Ok, MsgIcon::Critical, MsgDefault::First);
            return;
        case MainAction::StartRun:
            StartRun();
            return;
    }
    RenderList();
    RenderTexts();
    RenderMenus();
}

void MainWindow::StartRun() {
    const PanelContext context{c_.windows, c_.shell,    c_.dialogs,  c_.clock,    c_.files,
                               c_.system,  c_.settings, c_.language, c_.pathVars, scenario_,
                               step_,      c_.state,    stats_};
    PanelCallbacks callbacks;
    callbacks.showMainWindow = [this](bool reloadList) { return ReturnFromRun(reloadList); };
    callbacks.closed = [](int) {};
    ShowWindow(Window(), SW_HIDE);
    if (!OpenPlayPanel(context, std::move(callbacks)))
        ShowWindow(Window(), SW_SHOW);
}

PackageDialogPorts MainWindow::PackageDialogPortsOf() {
    return {c_.files, c_.settings, c_.dialogs, c_.codec, c_.language, c_.pathVars, c_.state};
}

std::vector<std::string> MainWindow::ListedNames() const {
    std::vector<std::string> names;
    for (const PackageItem& item : list_.items)
        names.push_back(item.name);
    return names;
}

void MainWindow::OpenNewPackage() {
    if (!ShowPackageDialog(Window(), PackageDialogPortsOf(), PackageDialogMode::NewPackage, ListedNames()))
        return;
    if (HintWanted(c_.settings, kSettingFirstTip))
        ShowRecordingHint(c_.language, c_.settings);
    StartRecording();
}

void MainWindow::OpenProperties(std::size_t index) {
    const std::optional<std::string> newName =
        ShowPackageDialog(Window(), PackageDialogPortsOf(), PackageDialogMode::Properties, ListedNames(),
                          list_.items[index].name);
    if (model_.PropertiesClosed(newName.value_or(std::string{})))
        LoadTips();
    RenderList();
    RenderTexts();
    RenderMenus();
}

void MainWindow::StartRecording() {
    const PanelContext context{c_.windows, c_.shell,    c_.dialogs,  c_.clock,    c_.files,
                               c_.system,  c_.settings, c_.language, c_.pathVars, scenario_,
                               step_,      c_.state,    stats_};
    PanelCallbacks callbacks;
    callbacks.showMainWindow = [this](bool) { return ReturnFromRun(true); };
    callbacks.closed = [](int) {};
    ShowWindow(Window(), SW_HIDE);
    if (!OpenRecordPanel(context, std::move(callbacks)))
        ShowWindow(Window(), SW_SHOW);
}

HWND MainWindow::ReturnFromRun(bool reloadList) {
    ShowWindow(Window(), SW_SHOW);
    if (reloadList) {
        // A stop: the list is read again, so a package recorded meanwhile shows (the marks are gone).
        model_.ReloadAndCount();
        LoadTips();
        RenderTexts();
        RenderMenus();
    }
    return Window();
}

void MainWindow::SelectLanguage(const std::string& name) {
    if (!model_.CanSelectLanguage(name))
        return;
    c_.registry.SetString(RegistryRoot::CurrentUser, kLanguageRegistryKey, kLanguageRegistryValue, name);
    c_.language.languageName = name;
    c_.language.LoadLanguage(c_.system.ProgramFolder(), c_.system.UserDefaultLangId(), false);
    model_.ApplyLanguage();
    RebuildMenus();
    RenderTexts();
}

void MainWindow::OpenDiscWizard() {
    ShowDiscWizard(Window(), DiscWizardPorts{c_.files, c_.profile, c_.settings, c_.dialogs, c_.language,
                                             c_.system.ProgramFolder(), c_.state.scenarioFolder});
    // A successful copy stored its scenario folder; the list shows it now.
    if (model_.DiscWizardClosed()) {
        LoadTips();
    } else {
        RenderList();
        RenderTexts();
        RenderMenus();
    }
}

void MainWindow::OpenHelp() {
    const std::string path = AddBackslash(c_.system.ProgramFolder()) + "help.chm";
    if (!PathExists(c_.files, path)) {
        c_.dialogs.Message(IdOf(Window()), c_.language.LangText("Отсутствует файл справки", "main", 5),
                           c_.language.LangText("Ошибка", "main", 6), MsgButtons::Ok, MsgIcon::Exclamation,
                           MsgDefault::First);
        return;
    }
    c_.shell.Open(path, "", "", IdOf(Window()));
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
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi_);
    unique_hfont font(CreateFontIndirectW(&metrics.lfMessageFont));
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
