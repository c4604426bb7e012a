#include "packages/MainCommandTable.h"

#include <array>

namespace velmora {
namespace {

// In the order of MainCommand.
constexpr std::array<CommandText, kMainCommandCount> kCommandTexts{{
    {"Выбрать папку SCN", 2},
    {"reload", 0},
    {"Новый пакет", 4},
    {"Мастер создания диска", 5},
    {"Мастер редактирования пакетов", 48},
    {"Вы&ход", 6},
    {"Выделить всё", 8},
    {"Убрать выделение со всех", 9},
    {"Инвертировать выделение", 10},
    {"Удалить выбранное", 11},
    {"Свойства", 12},
    {"Поверх всех окон", 14},
    {"Установить выбранное", 17},
    {"Установить всё", 18},
    {"Панель управления", 19},
    {"Сопоставить файлы .scn", 20},
    {"Быстрая", 23},
    {"Средняя", 24},
    {"Медленая", 25},
    {"Без ограничения", 50},
    {"5 минут", 51},
    {"15 минут", 52},
    {"30 минут", 53},
    {"60 минут", 54},
    {"Автоматически: мышь там, где мог бы нажать человек", 59},
    {"Всегда мышь", 60},
    {"Всегда сообщения окну", 61},
    {"Папка для отчётов...", 55},
    {"Не сохранять отчёты", 56},
    {"Перезагружать, если установщик просит", 57},
    {"Содержание справки", 27},
    {"Написать письмо", 28},
    {"Сайт", 29},
    {"Гостевая книга", 30},
    {"О программе...", 31},
    {"Новый пакет", 32},
    {"Установить выбранное", 33},
    {"Выбрать", 34},
    {"Снять выделение", 35},
    {"Выделить всё", 36},
    {"Снять выделение со всех", 37},
    {"Инвертировать выделение", 38},
    {"Удалить выбранное", 39},
    {"Свойства...", 40},
}};

MenuEntry Item(MainCommand command) {
    return MenuEntry{MenuEntry::Command, command};
}
constexpr MenuEntry kSeparator{MenuEntry::Separator};

MenuLayout MakeLayout() {
    using C = MainCommand;
    MenuLayout layout;
    layout.bar = {
        {"&Файл",
         1,
         {Item(C::ChooseFolder), Item(C::Reload), Item(C::NewPackage), kSeparator, Item(C::DiscWizard),
          Item(C::PathEditor), kSeparator, Item(C::Exit)}},
        {"Правка",
         7,
         {Item(C::SelectAll), Item(C::UnselectAll), Item(C::InvertSelection), Item(C::DeleteChecked),
          kSeparator, Item(C::Properties)}},
        {"Сервис",
         16,
         {Item(C::RunChecked), Item(C::RunAll), kSeparator, Item(C::ProgramsPanel), kSeparator,
          Item(C::Associate), kSeparator, MenuEntry{MenuEntry::Languages}, MenuEntry{MenuEntry::Speeds},
          MenuEntry{MenuEntry::Timeouts}, MenuEntry{MenuEntry::Inputs}, Item(C::Reboot), kSeparator,
          Item(C::ReportFolder), Item(C::ReportsOff)}},
        {"&Помощь",
         26,
         {Item(C::Help), kSeparator, Item(C::Mail), Item(C::Site), Item(C::GuestBook), kSeparator,
          Item(C::About)}},
    };
    layout.context = {"Контекстное меню",
                      0,
                      {Item(C::NewPackageHere), Item(C::RunCheckedHere), kSeparator, Item(C::CheckItem),
                       Item(C::UncheckItem), kSeparator, Item(C::SelectAllHere), Item(C::UnselectAllHere),
                       Item(C::InvertSelectionHere), kSeparator, Item(C::DeleteCheckedHere), kSeparator,
                       Item(C::PropertiesHere)}};
    return layout;
}

}  // namespace

CommandText BuiltInCommandText(MainCommand command) {
    auto index = static_cast<std::size_t>(command);
    return index < kCommandTexts.size() ? kCommandTexts[index] : CommandText{"", 0};
}

const MenuLayout& MainMenuLayout() {
    static const MenuLayout layout = MakeLayout();
    return layout;
}

}  // namespace velmora
