// The main window's menus and what their commands do, among them opening the windows it hands work to.
#include "packages/win32/MainWindow.h"

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
#include "ui/win32/AboutWindow.h"
#include "ui/win32/Controls.h"
#include "ui/win32/NoticeWindows.h"

namespace velmora {

namespace {

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

}  // namespace

void MainWindow::OnMenuCommand(MainCommand command) {
    // Shortcuts reach here even for a command whose item is disabled (the context menu's twin may be
    // enabled).
    if (!model_.Enabled(command))
        return;
    if (OnMarkCommand(command) || OnServiceCommand(command)) {
        RenderAll();
        return;
    }
    if (!OnPackageCommand(command))
        OnOtherCommand(command);
}

// The package list's commands; each shows its own outcome.
bool MainWindow::OnPackageCommand(MainCommand command) {
    switch (command) {
        case MainCommand::ChooseFolder: {
            const std::string title = c_.language.LangText("Выберите папку содержащую файлы .SCN", "main", 7);
            const std::string folder = BrowseForFolder(c_.dialogs, IdOf(Window()), list_.Folder(), title);
            if (!folder.empty()) {
                model_.ChooseFolder(folder);
                LoadTips();
            }
            return true;
        }
        case MainCommand::Reload:
            model_.Reload();
            LoadTips();
            return true;
        case MainCommand::Exit:
            DestroyWindow(Window());
            return true;
        case MainCommand::Properties:
        case MainCommand::PropertiesHere:
            if (const MainAction action = model_.Properties(); action != MainAction::None)
                CarryOut(action);
            else if (model_.clicked)
                OpenProperties(*model_.clicked);
            return true;
        case MainCommand::NewPackage:
        case MainCommand::NewPackageHere:
            if (const MainAction action = model_.NewPackage(); action != MainAction::None)
                CarryOut(action);
            else
                OpenNewPackage();
            return true;
        case MainCommand::RunChecked:
        case MainCommand::RunCheckedHere:
            CarryOut(model_.RunChecked());
            return true;
        case MainCommand::RunAll:
            CarryOut(model_.RunAll());
            return true;
        default:
            return false;
    }
}

// The marks' commands; the caller shows the list again.
bool MainWindow::OnMarkCommand(MainCommand command) {
    switch (command) {
        case MainCommand::SelectAll:
        case MainCommand::SelectAllHere:
            model_.SelectAll();
            return true;
        case MainCommand::UnselectAll:
        case MainCommand::UnselectAllHere:
            model_.UnselectAll();
            return true;
        case MainCommand::InvertSelection:
        case MainCommand::InvertSelectionHere:
            model_.InvertSelection();
            return true;
        case MainCommand::CheckItem:
        case MainCommand::UncheckItem:
            if (model_.clicked)
                model_.SetChecked(*model_.clicked, command == MainCommand::CheckItem);
            return true;
        case MainCommand::DeleteChecked:
        case MainCommand::DeleteCheckedHere:
            if (model_.RequestDelete() == MainAction::AskDelete &&
                c_.dialogs.Message(IdOf(Window()), model_.deleteQuestion, model_.deleteTitle,
                                   MsgButtons::YesNo, MsgIcon::Information,
                                   MsgDefault::Second) == MsgResult::Yes) {
                model_.DeleteChecked(IsContextCommand(command));
                LoadTips();
            }
            return true;
        default:
            return false;
    }
}

// The Service menu's settings; the caller shows the menus again.
bool MainWindow::OnServiceCommand(MainCommand command) {
    switch (command) {
        case MainCommand::TopMost:
            model_.ToggleTopMost();
            ApplyTopMost();
            return true;
        case MainCommand::SpeedFast:
        case MainCommand::SpeedMedium:
        case MainCommand::SpeedSlow:
            model_.SelectSpeed(static_cast<int>(command) - static_cast<int>(MainCommand::SpeedFast));
            return true;
        case MainCommand::TimeoutOff:
        case MainCommand::Timeout5:
        case MainCommand::Timeout15:
        case MainCommand::Timeout30:
        case MainCommand::Timeout60:
            model_.SelectTimeout(MainWindowModel::TimeoutOf(command).value_or(0));
            return true;
        case MainCommand::InputAuto:
        case MainCommand::InputMouse:
        case MainCommand::InputMessages:
            model_.SelectInput(MainWindowModel::InputOf(command).value_or(InputChoice::Auto));
            return true;
        case MainCommand::ReportFolder:
            if (const std::optional<std::string> folder =
                    c_.dialogs.BrowseFolder(IdOf(Window()), model_.reportFolder,
                                            c_.language.LangText("Папка для отчётов", "Report", 32)))
                model_.SetReportFolder(*folder);
            return true;
        case MainCommand::ReportsOff:
            model_.SetReportFolder("");
            return true;
        case MainCommand::Reboot:
            model_.ToggleReboot();
            return true;
        default:
            return false;
    }
}

void MainWindow::RebuildMenus() {
    languageItems_ = model_.LanguageNames();
    const MenuTexts texts{c_.language.LangText("Язык", "MainMenu", 15),
                          c_.language.LangText("Скорость установки", "MainMenu", 22), "Русский",
                          c_.language.LangText("Ожидание окна", "MainMenu", 49),
                          c_.language.LangText("Нажатия", "MainMenu", 58)};
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
    RenderAll();
}

// The commands that open other windows or programs.
void MainWindow::OnOtherCommand(MainCommand command) {
    switch (command) {
        case MainCommand::PathEditor:
            OpenPathEditor();
            break;
        case MainCommand::DiscWizard:
            OpenDiscWizard();
            break;
        case MainCommand::Help:
            OpenHelp();
            break;
        case MainCommand::ProgramsPanel:
            // With an owner window the shell says itself what went wrong.
            static_cast<void>(
                c_.shell.Open("rundll32.exe", "shell32.dll,Control_RunDLL appwiz.cpl", "", IdOf(Window())));
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
            static_cast<void>(
                c_.shell.Open(AddressOf(command), "", "", IdOf(Window())));  // the shell says why
            break;
        default:
            break;
    }
}

void MainWindow::CarryOut(MainAction action) {
    switch (action) {
        case MainAction::None:
            break;
        case MainAction::ShowFolderError:
            RenderAll();
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
    RenderAll();
}

void MainWindow::StartRun() {
    OpenPanel(false);
}

// The control panel takes the main window's place until it hands back; a recording always brings the list
// back read again, since it may have added a package.
void MainWindow::OpenPanel(bool recording) {
    const PanelContext context{c_.windows,  c_.shell,      c_.dialogs,  c_.clock,  c_.files,  c_.system,
                               c_.settings, c_.language,   c_.pathVars, scenario_, step_,     c_.state,
                               stats_,      c_.logonTasks, c_.restart,  c_.vault,  c_.desktop};
    PanelCallbacks callbacks;
    callbacks.showMainWindow = [this, recording](bool reloadList) {
        return ReturnFromRun(recording || reloadList);
    };
    callbacks.closed = [](int) {};
    ShowWindow(Window(), SW_HIDE);
    const bool opened = recording ? OpenRecordPanel(context, std::move(callbacks))
                                  : OpenPlayPanel(context, std::move(callbacks));
    if (!opened)
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
    RenderAll();
}

void MainWindow::StartRecording() {
    OpenPanel(true);
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
    // Not kept for the next start when refused; this session takes the language either way.
    static_cast<void>(
        c_.registry.SetString(RegistryRoot::CurrentUser, kLanguageRegistryKey, kLanguageRegistryValue, name));
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
        RenderAll();
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
    static_cast<void>(c_.shell.Open(path, "", "", IdOf(Window())));  // the shell says why it could not
}

}  // namespace velmora
