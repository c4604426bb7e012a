#pragma once
// The main window's commands and the menus that hold them: each command's built-in caption and language key,
// and the menus' entries in display order. The model says which commands are enabled; the window builds its
// menus from this layout.
#include <cstddef>
#include <vector>

namespace velmora {

// Every command of the main window's menus. The context menu's entries are separate commands because they
// are enabled separately and carry language keys of their own.
enum class MainCommand : int {
    // File
    ChooseFolder,
    Reload,
    NewPackage,
    DiscWizard,
    PathEditor,
    Exit,
    // Edit
    SelectAll,
    UnselectAll,
    InvertSelection,
    DeleteChecked,
    Properties,
    // View (hidden in the menu bar, its setting still applies)
    TopMost,
    // Service
    RunChecked,
    RunAll,
    ProgramsPanel,
    Associate,
    SpeedFast,
    SpeedMedium,
    SpeedSlow,
    TimeoutOff,
    Timeout5,
    Timeout15,
    Timeout30,
    Timeout60,
    InputAuto,  // how presses reach an installer (kSettingInput)
    InputMouse,
    InputMessages,
    ReportFolder,
    ReportsOff,
    Reboot,  // a restart an installer asks for is made, and the run goes on at the next logon
    // Help
    Help,
    Mail,
    Site,
    GuestBook,
    About,
    // The list's context menu
    NewPackageHere,
    RunCheckedHere,
    CheckItem,
    UncheckItem,
    SelectAllHere,
    UnselectAllHere,
    InvertSelectionHere,
    DeleteCheckedHere,
    PropertiesHere,
    Count
};
inline constexpr std::size_t kMainCommandCount = static_cast<std::size_t>(MainCommand::Count);

// One entry of a menu: a command, a separator line, or the submenu of languages, of speeds, of step
// time-outs or of how presses go.
struct MenuEntry {
    enum Kind { Command, Separator, Languages, Speeds, Timeouts, Inputs } kind = Command;
    MainCommand command = MainCommand::Count;
};

// The built-in caption of a command and its key in the language section "MainMenu" (0: none).
struct CommandText {
    const char* builtIn;
    int key;
};
CommandText BuiltInCommandText(MainCommand command);

// The menu bar's top-level menus and the context menu, with their entries in display order.
struct MenuLayout {
    struct Menu {
        const char* builtIn;  // "&Файл"
        int key;              // section "MainMenu"
        std::vector<MenuEntry> entries;
    };
    std::vector<Menu> bar;  // File, Edit, Service, Help
    Menu context;
};
const MenuLayout& MainMenuLayout();

}  // namespace velmora
