#pragma once
// The main window as a model: the folder box, the package list with its check marks and current item, the
// count and status lines, and which commands of the menus are enabled. The window renders these fields after
// every call and carries out what a call answers (message boxes, the control panel); it decides nothing
// itself.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "base/Language.h"
#include "base/Settings.h"
#include "base/SharedState.h"
#include "packages/MainCommandTable.h"
#include "packages/PackageList.h"
#include "platform/FileSystem.h"
#include "platform/SettingsStore.h"

namespace velmora {

// What a call asks the window to do next.
enum class MainAction {
    None,
    ShowFolderError,   // a typed folder does not exist: message box folderErrorText, focus back to the box
    AskDelete,         // ask deleteQuestion (Yes/No, No default); on Yes call DeleteChecked
    ShowNoFolder,      // the new-package command needs a folder: message box noFolderMessage
    StartRun,          // hide the window and open the control panel on state.runList
    ShowFileNotFound,  // properties of a package whose file vanished
};

struct MainModelPorts {
    PackageList& list;
    FileSystem& files;
    SettingsStore& settings;
    const Language& language;
    SharedState& state;
    std::string programFolder;
};

class MainWindowModel {
  public:
    // Every command enabled but the two that install the checked packages.
    explicit MainWindowModel(const MainModelPorts& ports);

    // Window start: the stored folder is loaded, the speed and stay-on-top settings are read, the language
    // texts applied and the count taken. Like every call below that reads a folder, it leaves the tips to the
    // window (PackageList::LoadTips with its progress display), so each scenario is read once.
    void Start();
    // The language was changed: captions, the no-folder text and the count are taken again.
    void ApplyLanguage();

    // The folder chooser's result (empty: cancelled, nothing changes).
    void ChooseFolder(const std::string& folder);
    // Enter in the folder box.
    MainAction TypeFolder(const std::string& text);
    // Any key in the folder box (after TypeFolder for Enter).
    void FolderKeyTyped();
    // Reload, and every place that changed the folder's files. The count is not taken again: the marks are
    // gone, the count line keeps its text until the next count.
    void Reload();
    // After a recording or a stopped run: the folder read again and the count taken, so a package recorded
    // meanwhile is listed and counted.
    void ReloadAndCount();
    // The disc wizard closed: the folder it may have stored is loaded. True when a folder was read, whose
    // tips the window then loads.
    bool DiscWizardClosed();

    // The list's item-check handler; the user's click and every command that changes a mark pass through it.
    void SetChecked(std::size_t index, bool checked);
    void SelectAll();
    void UnselectAll();
    void InvertSelection();
    // Recounts the marks: the count line, the status line and the enabled commands that depend on the count.
    void CountChecked();

    // A mouse button released over the list at `hit` (an item index, or nullopt below the last item). The
    // right button also makes the item current and enables the context menu's entries for it.
    void ListClicked(std::optional<std::size_t> hit, bool rightButton);

    // Delete: asks first (AskDelete) unless nothing is checked (None).
    MainAction RequestDelete();
    // The user answered Yes: deletes the checked packages' files, reloads and reports "deleted d of n" in the
    // status line, which both variants keep, since it is the only report of files that could not be deleted.
    // The menu bar's command takes the count again; fromContextMenu leaves the count line as it was, as the
    // context menu always did.
    void DeleteChecked(bool fromContextMenu);

    // Move the current item with its mark and tip; false when it cannot move.
    bool MoveUp();
    bool MoveDown();

    // F5 / "install selected": StartRun with the checked packages in list order, or None when none is
    // checked.
    MainAction RunChecked();
    // "Install all": every package in list order, checked or not; None for an empty list.
    MainAction RunAll();
    // New package: ShowNoFolder without a folder; otherwise the order is saved and None lets the window open
    // the package dialog.
    MainAction NewPackage();
    // Properties of the clicked item: the order is saved; ShowFileNotFound when its file vanished; otherwise
    // None, and the window opens the properties dialog when `clicked` names an item.
    MainAction Properties();
    // The properties dialog closed; newName is the name it gave the package, or empty. The clicked item is
    // renamed and its tip read again, or, when the list no longer matches the folder, the folder is read
    // again and the item made current. True when the folder was read again, whose tips the window then loads.
    bool PropertiesClosed(const std::string& newName);

    // Speed 0, 1 or 2: stored (kSettingSpeed) and checked in the menu.
    void SelectSpeed(int speed);
    // The step time-out in minutes of a Timeout* command (0 for TimeoutOff), or nothing for another command.
    static std::optional<int> TimeoutOf(MainCommand command);
    // Stored (kSettingTimeout) and checked in the menu.
    void SelectTimeout(int minutes);
    // The choice of an Input* command, or nothing for another command.
    static std::optional<InputChoice> InputOf(MainCommand command);
    // Stored (kSettingInput) and checked in the menu.
    void SelectInput(InputChoice choice);
    // Where each run writes its report (kSettingReportFolder); empty writes none.
    void SetReportFolder(const std::string& folder);
    // Stay on top toggled: stored (kSettingTopMost); the window applies topMost.
    void ToggleTopMost();
    // Restarting for an installer toggled: stored (kSettingReboot) and checked in the menu.
    void ToggleReboot();
    // The language files of the program's language folder, by caption (the file name without ".lng").
    std::vector<std::string> LanguageNames() const;
    // True when the language file exists: the window then stores it, loads it and calls ApplyLanguage.
    bool CanSelectLanguage(const std::string& name) const;

    // The window's closing: the order file is written.
    void Close();

    bool Enabled(MainCommand command) const { return enabled_[static_cast<std::size_t>(command)]; }
    std::string Caption(MainCommand command) const;
    std::string MenuCaption(const MenuLayout::Menu& menu) const;

    std::string folderText;    // the folder box
    std::string frameCaption;  // the group box around it
    std::string statusLine;
    std::string countLine;  // "2 из 15"
    std::string countTip;
    std::string folderErrorText, folderErrorTitle;  // for ShowFolderError
    std::string deleteQuestion, deleteTitle;        // for AskDelete
    std::string noFolderMessage, noFolderTitle;     // for ShowNoFolder
    std::optional<std::size_t> current;             // the list's current item
    std::optional<std::size_t> clicked;             // the item last hit by a mouse button
    int speed = 2;                                  // -1: no speed checked
    int timeoutMinutes = 0;                         // the stored step time-out; 0 is off
    InputChoice input = InputChoice::Auto;          // how presses reach an installer
    std::string reportFolder;                       // where runs write their reports; empty: nowhere
    bool topMost = false;
    bool reboot = false;  // a run restarts Windows when an installer asks and goes on at the next logon
    bool hasChecked = false;

  private:
    void SetEnabled(MainCommand command, bool value) { enabled_[static_cast<std::size_t>(command)] = value; }
    void Load(const std::string& folder);

    MainModelPorts p_;
    std::array<bool, kMainCommandCount> enabled_{};
    std::string noFolderText_;
};

}  // namespace velmora
