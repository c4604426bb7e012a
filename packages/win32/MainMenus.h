#pragma once
// The main window's menus, built from the model's layout and captions, and its keyboard shortcuts.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "packages/MainWindowModel.h"
#include "platform/win32/UniqueHandle.h"

namespace velmora {

int MenuIdOf(MainCommand command);
std::optional<MainCommand> CommandOfMenuId(int id);
std::optional<std::size_t> LanguageOfMenuId(int id);
// The context menu's twins of the menu bar's commands.
bool IsContextCommand(MainCommand command);

// F5, Ctrl+N, Ctrl+A, Del and F1.
unique_haccel MakeShortcuts();

struct MenuTexts {
    std::string languageMenu;  // "Язык"
    std::string speedMenu;     // "Скорость установки"
    std::string noLanguage;    // the placeholder shown when there are no language files: "Русский"
    std::string timeoutMenu;   // "Ожидание окна"
    std::string inputMenu;     // "Нажатия"
};

// The menu bar with the languages' submenu; commands for which `shown` answers false are left out.
HMENU BuildMenuBar(const MainWindowModel& model, const MenuTexts& texts,
                   const std::vector<std::string>& languages, bool (*shown)(MainCommand));
HMENU BuildContextMenu(const MainWindowModel& model);
// Enables and checks every item of the menu from the model; `language` is the current language's name.
void UpdateMenuStates(HMENU menu, const MainWindowModel& model, const std::vector<std::string>& languages,
                      const std::string& language);

}  // namespace velmora
