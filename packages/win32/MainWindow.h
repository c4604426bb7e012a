#pragma once
// The main window: the scenario folder, its packages as a check-box list in the user's order, the count and
// status lines, the menus, and the hand-over of a run to the control panel. Everything it shows comes from
// its MainWindowModel; it renders the model after every call and carries out what the model answers.
#include <functional>
#include <memory>
#include <string>

#include "base/Program.h"
#include "packages/FrameTexts.h"
#include "packages/MainWindowModel.h"
#include "packages/PackageDialogModel.h"
#include "packages/PackageList.h"
#include "platform/win32/UniqueHandle.h"
#include "playback/Statistics.h"
#include "scenario/ScenarioImage.h"
#include "ui/win32/BaseWindow.h"

namespace velmora {

// The ports and the program's state, which outlive the window, and the ".scn" file type's two commands: once
// at the window's start, and by the menu command (the start-up room owns them).
struct MainWindowContext : Program {
    std::function<void(WindowId owner)> checkAssociationOnce;
    std::function<void(WindowId owner)> associateFromMenu;
};

class MainWindow : public BaseWindow<MainWindow> {
  public:
    MainWindow(const MainWindowContext& context, FrameTexts texts);
    ~MainWindow() override;

    // Creates the window and shows it with the show command the program was started with; false when the
    // window cannot be created.
    bool Show(int showCommand);
    // The menu shortcuts (F5, Ctrl+N, Ctrl+A, Del, F1); true when the message was one of them.
    bool TranslateShortcut(MSG& message);

    static const wchar_t* ClassName();
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    void OnCreate();
    void AddControls();
    void OnCommand(int id, int code, HWND control);
    // The menu commands, in groups; each group answers whether the command was one of its own.
    void OnMenuCommand(MainCommand command);
    bool OnPackageCommand(MainCommand command);
    bool OnMarkCommand(MainCommand command);
    bool OnServiceCommand(MainCommand command);
    void OnOtherCommand(MainCommand command);
    LRESULT OnNotify(const NMHDR& header);
    void OnContextMenuKey();
    void OnDpiChanged() override;
    // The font and the move buttons' pictures for the window's DPI.
    void ApplyDpi();
    void Layout();
    void OnDestroy();

    void LoadTips();
    void RenderAll();
    void RenderList();
    void RenderTexts();
    void RenderMenus();
    void RebuildMenus();
    void ShowContextMenu(POINT screen);
    void OpenPathEditor();
    void CarryOut(MainAction action);
    void StartRun();
    void OpenPanel(bool recording);
    // The package dialog for a new package; its OK leads through the recording hint to the recording.
    void OpenNewPackage();
    // The package dialog for the properties of the listed package at index.
    void OpenProperties(std::size_t index);
    PackageDialogPorts PackageDialogPortsOf();
    std::vector<std::string> ListedNames() const;
    // The package dialog accepted a new package (the recording hand-over of the shared state is filled): the
    // window hides while the control panel records, and comes back with the list read again.
    void StartRecording();
    HWND ReturnFromRun(bool reloadList);
    void SelectLanguage(const std::string& name);
    void OpenDiscWizard();
    void OpenHelp();
    void ApplyTopMost();

    MainWindowContext c_;
    FrameTexts texts_;
    PackageList list_;
    MainWindowModel model_;
    ScenarioImage scenario_;
    StepState step_;
    Statistics stats_;

    unique_hfont font_;
    unique_hmenu contextMenu_;
    unique_haccel shortcuts_;
    unique_hbitmap moveUpPicture_;
    unique_hbitmap moveDownPicture_;
    HWND frame_ = nullptr;
    HWND folderBox_ = nullptr;
    HWND browseButton_ = nullptr;
    HWND packageList_ = nullptr;
    HWND moveUpButton_ = nullptr;
    HWND moveDownButton_ = nullptr;
    HWND countLine_ = nullptr;
    HWND switchesLine_ = nullptr;
    HWND separator_ = nullptr;
    HWND statusLine_ = nullptr;
    HWND tooltip_ = nullptr;
    std::vector<std::string> languageItems_;
    bool rendering_ = false;  // list changes made while rendering are not the user's
};

}  // namespace velmora
