#include "packages/win32/MainMenus.h"

#include <array>

#include "packages/win32/MainWindowIds.h"
#include "platform/win32/WideText.h"

namespace velmora {

namespace {

using main_window::kFirstCommandId;
using main_window::kFirstLanguageId;
using main_window::kLastLanguageId;

struct Shortcut {
    MainCommand command;
    BYTE modifiers;
    WORD key;
    const wchar_t* label;
};

constexpr std::array<Shortcut, 5> kShortcuts{{
    {MainCommand::RunChecked, FVIRTKEY, VK_F5, L"F5"},
    {MainCommand::NewPackage, FVIRTKEY | FCONTROL, 'N', L"Ctrl+N"},
    {MainCommand::SelectAll, FVIRTKEY | FCONTROL, 'A', L"Ctrl+A"},
    {MainCommand::DeleteChecked, FVIRTKEY, VK_DELETE, L"Del"},
    {MainCommand::Help, FVIRTKEY, VK_F1, L"F1"},
}};

std::wstring ItemText(const MainWindowModel& model, MainCommand command) {
    std::wstring text = Utf8ToWide(model.Caption(command));
    for (const Shortcut& shortcut : kShortcuts) {
        if (shortcut.command == command)
            text += std::wstring(L"\t") + shortcut.label;
    }
    return text;
}

bool SpeedCommand(MainCommand command) {
    return command == MainCommand::SpeedFast || command == MainCommand::SpeedMedium ||
           command == MainCommand::SpeedSlow;
}

constexpr MainCommand kSpeedCommands[] = {MainCommand::SpeedFast, MainCommand::SpeedMedium,
                                          MainCommand::SpeedSlow};
constexpr MainCommand kTimeoutCommands[] = {MainCommand::TimeoutOff, MainCommand::Timeout5,
                                            MainCommand::Timeout15, MainCommand::Timeout30,
                                            MainCommand::Timeout60};
constexpr MainCommand kInputCommands[] = {MainCommand::InputAuto, MainCommand::InputMouse,
                                          MainCommand::InputMessages};

// A submenu of one item for each of the commands, labelled as the model says.
template <std::size_t N>
HMENU BuildChoiceMenu(const MainWindowModel& model, const MainCommand (&commands)[N]) {
    HMENU menu = CreatePopupMenu();
    for (MainCommand command : commands)
        AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(MenuIdOf(command)),
                    ItemText(model, command).c_str());
    return menu;
}

HMENU BuildLanguageMenu(const MenuTexts& texts, const std::vector<std::string>& languages) {
    HMENU menu = CreatePopupMenu();
    if (languages.empty()) {
        AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(kFirstLanguageId),
                    Utf8ToWide(texts.noLanguage).c_str());
        return menu;
    }
    for (std::size_t i = 0; i < languages.size() && kFirstLanguageId + i <= kLastLanguageId; ++i)
        AppendMenuW(menu, MF_STRING, kFirstLanguageId + i, Utf8ToWide(languages[i]).c_str());
    return menu;
}

void AppendEntries(HMENU menu, const MainWindowModel& model, const std::vector<MenuEntry>& entries,
                   const MenuTexts& texts, const std::vector<std::string>& languages,
                   bool (*shown)(MainCommand)) {
    bool separatorPending = false;
    for (const MenuEntry& entry : entries) {
        switch (entry.kind) {
            case MenuEntry::Separator:
                // Only between shown items, so a hidden item never leaves two rules in a row.
                separatorPending = GetMenuItemCount(menu) > 0;
                continue;
            case MenuEntry::Command:
                if (shown != nullptr && !shown(entry.command))
                    continue;
                break;
            case MenuEntry::Languages:
            case MenuEntry::Speeds:
            case MenuEntry::Timeouts:
            case MenuEntry::Inputs:
                break;
        }
        if (separatorPending)
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        separatorPending = false;
        if (entry.kind == MenuEntry::Command) {
            AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(MenuIdOf(entry.command)),
                        ItemText(model, entry.command).c_str());
        } else if (entry.kind == MenuEntry::Languages) {
            AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(BuildLanguageMenu(texts, languages)),
                        Utf8ToWide(texts.languageMenu).c_str());
        } else if (entry.kind == MenuEntry::Speeds) {
            AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(BuildChoiceMenu(model, kSpeedCommands)),
                        Utf8ToWide(texts.speedMenu).c_str());
        } else if (entry.kind == MenuEntry::Timeouts) {
            AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(BuildChoiceMenu(model, kTimeoutCommands)),
                        Utf8ToWide(texts.timeoutMenu).c_str());
        } else {
            AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(BuildChoiceMenu(model, kInputCommands)),
                        Utf8ToWide(texts.inputMenu).c_str());
        }
    }
}

}  // namespace

int MenuIdOf(MainCommand command) {
    return kFirstCommandId + static_cast<int>(command);
}

std::optional<MainCommand> CommandOfMenuId(int id) {
    if (id < kFirstCommandId || id >= kFirstCommandId + static_cast<int>(kMainCommandCount))
        return std::nullopt;
    return static_cast<MainCommand>(id - kFirstCommandId);
}

std::optional<std::size_t> LanguageOfMenuId(int id) {
    if (id < kFirstLanguageId || id > kLastLanguageId)
        return std::nullopt;
    return static_cast<std::size_t>(id - kFirstLanguageId);
}

bool IsContextCommand(MainCommand command) {
    return command >= MainCommand::NewPackageHere && command < MainCommand::Count;
}

unique_haccel MakeShortcuts() {
    std::array<ACCEL, kShortcuts.size()> table{};
    for (std::size_t i = 0; i < kShortcuts.size(); ++i)
        table[i] = ACCEL{kShortcuts[i].modifiers, kShortcuts[i].key,
                         static_cast<WORD>(MenuIdOf(kShortcuts[i].command))};
    return unique_haccel(CreateAcceleratorTableW(table.data(), static_cast<int>(table.size())));
}

HMENU BuildMenuBar(const MainWindowModel& model, const MenuTexts& texts,
                   const std::vector<std::string>& languages, bool (*shown)(MainCommand)) {
    HMENU bar = CreateMenu();
    for (const MenuLayout::Menu& top : MainMenuLayout().bar) {
        HMENU popup = CreatePopupMenu();
        AppendEntries(popup, model, top.entries, texts, languages, shown);
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup),
                    Utf8ToWide(model.MenuCaption(top)).c_str());
    }
    return bar;
}

HMENU BuildContextMenu(const MainWindowModel& model) {
    HMENU menu = CreatePopupMenu();
    AppendEntries(menu, model, MainMenuLayout().context.entries, MenuTexts{}, {}, nullptr);
    return menu;
}

void UpdateMenuStates(HMENU menu, const MainWindowModel& model, const std::vector<std::string>& languages,
                      const std::string& language) {
    for (std::size_t i = 0; i < kMainCommandCount; ++i) {
        const auto command = static_cast<MainCommand>(i);
        const UINT id = static_cast<UINT>(MenuIdOf(command));
        EnableMenuItem(menu, id, MF_BYCOMMAND | (model.Enabled(command) ? MF_ENABLED : MF_GRAYED));
        if (SpeedCommand(command)) {
            const int speed = static_cast<int>(command) - static_cast<int>(MainCommand::SpeedFast);
            CheckMenuItem(menu, id, MF_BYCOMMAND | (model.speed == speed ? MF_CHECKED : MF_UNCHECKED));
        }
        if (const std::optional<int> minutes = MainWindowModel::TimeoutOf(command))
            CheckMenuItem(menu, id,
                          MF_BYCOMMAND | (model.timeoutMinutes == *minutes ? MF_CHECKED : MF_UNCHECKED));
    }
    for (MainCommand command : kInputCommands) {
        if (MainWindowModel::InputOf(command) == model.input)
            CheckMenuRadioItem(menu, static_cast<UINT>(MenuIdOf(kInputCommands[0])),
                               static_cast<UINT>(MenuIdOf(MainCommand::InputMessages)),
                               static_cast<UINT>(MenuIdOf(command)), MF_BYCOMMAND);
    }
    CheckMenuItem(menu, static_cast<UINT>(MenuIdOf(MainCommand::ReportFolder)),
                  MF_BYCOMMAND | (model.reportFolder.empty() ? MF_UNCHECKED : MF_CHECKED));
    CheckMenuItem(menu, static_cast<UINT>(MenuIdOf(MainCommand::TopMost)),
                  MF_BYCOMMAND | (model.topMost ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(menu, static_cast<UINT>(MenuIdOf(MainCommand::Reboot)),
                  MF_BYCOMMAND | (model.reboot ? MF_CHECKED : MF_UNCHECKED));
    for (std::size_t i = 0; i < languages.size() && kFirstLanguageId + i <= kLastLanguageId; ++i) {
        CheckMenuItem(menu, static_cast<UINT>(kFirstLanguageId + i),
                      MF_BYCOMMAND | (languages[i] == language ? MF_CHECKED : MF_UNCHECKED));
    }
}

}  // namespace velmora
