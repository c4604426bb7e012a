#include "packages/MainWindowModel.h"

#include <algorithm>

#include "base/Settings.h"
#include "base/Utilities.h"

namespace velmora {
namespace {

constexpr const char* kTexts = "main";
constexpr const char* kMenuTexts = "MainMenu";

}  // namespace

MainWindowModel::MainWindowModel(const MainModelPorts& ports) : p_(ports) {
    enabled_.fill(true);
    SetEnabled(MainCommand::RunChecked, false);
    SetEnabled(MainCommand::RunCheckedHere, false);
}

std::string MainWindowModel::Caption(MainCommand command) const {
    CommandText text = BuiltInCommandText(command);
    return text.key == 0 ? text.builtIn : p_.language.LangText(text.builtIn, kMenuTexts, text.key);
}

std::string MainWindowModel::MenuCaption(const MenuLayout::Menu& menu) const {
    return menu.key == 0 ? menu.builtIn : p_.language.LangText(menu.builtIn, kMenuTexts, menu.key);
}

void MainWindowModel::Start() {
    topMost = GetSettingNumber(p_.settings, kSettingTopMost) > 0;
    std::string folder = GetSetting(p_.settings, kSettingFolderScn);
    if (!folder.empty()) {
        p_.state.scenarioFolder = folder;
        folderText = folder;
        Load(folder);
    }
    speed = GetSpeedLevel(p_.settings).value_or(-1);
    timeoutMinutes = GetTimeoutMinutes(p_.settings);
    input = GetInputChoice(p_.settings);
    reboot = GetSetting(p_.settings, kSettingReboot) == "1";
    reportFolder = GetSetting(p_.settings, kSettingReportFolder);
    SetEnabled(MainCommand::ReportsOff, !reportFolder.empty());
    ApplyLanguage();
    statusLine = p_.state.discSettingsStatus;
    // A stored folder that failed to load keeps these enabled; the folder check refuses them then.
    SetEnabled(MainCommand::NewPackage, !folder.empty());
    SetEnabled(MainCommand::NewPackageHere, !folder.empty());
    if (folder.empty()) {
        folderText = noFolderText_;
        statusLine = noFolderText_;
    }
}

void MainWindowModel::ApplyLanguage() {
    frameCaption = p_.language.LangText("Каталог расположения SCN-файлов", kTexts, 1);
    noFolderText_ = p_.language.LangText("Выберите папку", kTexts, 1);
    countTip = p_.language.LangText("Количество выбранных пакетов", kTexts, 22);
    CountChecked();
}

void MainWindowModel::Load(const std::string& folder) {
    current.reset();
    bool loaded = p_.list.Load(folder);
    if (clicked && *clicked >= p_.list.items.size())
        clicked.reset();
    if (loaded) {
        statusLine.clear();
        return;
    }
    p_.state.scenarioFolder.clear();
    folderText = noFolderText_;
    statusLine = p_.language.LangText("Ошибка: Выберите существующий каталог", kTexts, 2);
    countLine.clear();
}

void MainWindowModel::ChooseFolder(const std::string& folder) {
    if (folder.empty())
        return;
    p_.state.scenarioFolder = folder;
    folderText = folder;
    Load(folder);
    // A folder that could not be read is not stored over the one that could.
    bool loaded = !p_.state.scenarioFolder.empty();
    if (loaded)
        SaveSetting(p_.settings, kSettingFolderScn, folder);
    hasChecked = false;
    SetEnabled(MainCommand::NewPackage, loaded);
    SetEnabled(MainCommand::NewPackageHere, loaded);
    CountChecked();
}

MainAction MainWindowModel::TypeFolder(const std::string& text) {
    folderText = text;
    if (!text.empty() && PathExists(p_.files, text)) {
        p_.state.scenarioFolder = text;
        Load(text);
        // A file's path exists too, but is no folder: it is not stored over the one that could be read.
        bool loaded = !p_.state.scenarioFolder.empty();
        if (loaded)
            SaveSetting(p_.settings, kSettingFolderScn, text);
        SetEnabled(MainCommand::NewPackage, loaded);
        SetEnabled(MainCommand::NewPackageHere, loaded);
        return MainAction::None;
    }
    p_.list.Clear();
    current.reset();
    clicked.reset();
    p_.state.scenarioFolder.clear();
    statusLine = p_.language.LangText("Путь не найден, попробуйте ввести заново", kTexts, 25);
    folderErrorText = p_.language.LangText("Не найден указанный путь", kTexts, 26);
    folderErrorTitle = p_.language.LangText("Ошибка", kTexts, 6);
    SetEnabled(MainCommand::NewPackage, false);
    SetEnabled(MainCommand::NewPackageHere, false);
    return MainAction::ShowFolderError;
}

void MainWindowModel::FolderKeyTyped() {
    hasChecked = false;
    CountChecked();
}

void MainWindowModel::Reload() {
    Load(p_.state.scenarioFolder);
}

void MainWindowModel::ReloadAndCount() {
    Load(p_.state.scenarioFolder);
    hasChecked = false;
    CountChecked();
}

bool MainWindowModel::DiscWizardClosed() {
    std::string folder = GetSetting(p_.settings, kSettingFolderScn);
    SetEnabled(MainCommand::NewPackage, !folder.empty());
    SetEnabled(MainCommand::NewPackageHere, !folder.empty());
    if (folder.empty()) {
        folderText = noFolderText_;
        statusLine = noFolderText_;
        return false;
    }
    p_.state.scenarioFolder = folder;
    folderText = folder;
    Load(folder);
    return true;
}

void MainWindowModel::SetChecked(std::size_t index, bool checked) {
    auto& items = p_.list.items;
    if (items.empty()) {
        SetEnabled(MainCommand::RunChecked, false);
        SetEnabled(MainCommand::RunCheckedHere, false);
        return;
    }
    if (index >= items.size())
        return;
    items[index].checked = checked;
    // The run commands follow whether any mark is left, found from the top.
    hasChecked = checked || std::any_of(items.begin(), items.end(),
                                        [](const PackageItem& item) { return item.checked; });
    SetEnabled(MainCommand::RunChecked, hasChecked);
    SetEnabled(MainCommand::RunCheckedHere, hasChecked);
    CountChecked();
}

// Each command below changes every mark; the check handler's rules leave what its call for the last changed
// item leaves, so they run once for that item.
void MainWindowModel::SelectAll() {
    auto& items = p_.list.items;
    if (items.empty())
        return;
    for (PackageItem& item : items)
        item.checked = true;
    SetChecked(0, true);
}

void MainWindowModel::UnselectAll() {
    auto& items = p_.list.items;
    if (items.empty())
        return;
    for (PackageItem& item : items)
        item.checked = false;
    SetChecked(items.size() - 1, false);
}

void MainWindowModel::InvertSelection() {
    auto& items = p_.list.items;
    if (items.empty())
        return;
    for (PackageItem& item : items)
        item.checked = !item.checked;
    SetChecked(items.size() - 1, items.back().checked);
}

void MainWindowModel::CountChecked() {
    const auto& items = p_.list.items;
    auto checked = static_cast<std::size_t>(
        std::count_if(items.begin(), items.end(), [](const PackageItem& item) { return item.checked; }));
    SetEnabled(MainCommand::UnselectAll, checked > 0);
    SetEnabled(MainCommand::DeleteChecked, checked > 0);
    if (checked == 0) {
        SetEnabled(MainCommand::RunChecked, false);
        SetEnabled(MainCommand::RunCheckedHere, false);
        for (MainCommand command : {MainCommand::InvertSelection, MainCommand::Properties,
                                    MainCommand::SelectAll, MainCommand::RunAll})
            SetEnabled(command, !items.empty());
    }
    statusLine = checked > 0 ? p_.language.LangText("Нажмите F5 чтобы начать установку", kTexts, 12) : "";
    countLine = std::to_string(checked) + " " + p_.language.LangText("из", kTexts, 13) + " " +
                std::to_string(items.size());
}

void MainWindowModel::ListClicked(std::optional<std::size_t> hit, bool rightButton) {
    const auto& items = p_.list.items;
    auto setItemEntries = [&](bool value) {
        for (MainCommand command :
             {MainCommand::CheckItem, MainCommand::UncheckItem, MainCommand::PropertiesHere,
              MainCommand::SelectAllHere, MainCommand::UnselectAllHere, MainCommand::InvertSelectionHere,
              MainCommand::DeleteCheckedHere})
            SetEnabled(command, value);
    };
    if (items.empty()) {
        if (rightButton) {
            setItemEntries(false);
            SetEnabled(MainCommand::RunAll, false);
        }
        return;
    }
    if (hit && *hit >= items.size())
        hit.reset();
    if (hit)
        clicked = hit;
    if (!rightButton)
        return;
    setItemEntries(true);
    if (hit) {
        current = hit;
        SetEnabled(MainCommand::RunAll, true);
        SetEnabled(items[*hit].checked ? MainCommand::CheckItem : MainCommand::UncheckItem, false);
    } else {
        SetEnabled(MainCommand::CheckItem, false);
        SetEnabled(MainCommand::UncheckItem, false);
        SetEnabled(MainCommand::PropertiesHere, false);
    }
    SetEnabled(MainCommand::UnselectAllHere, hasChecked);
    SetEnabled(MainCommand::DeleteCheckedHere, hasChecked);
}

MainAction MainWindowModel::RequestDelete() {
    const auto& items = p_.list.items;
    auto checked =
        std::count_if(items.begin(), items.end(), [](const PackageItem& item) { return item.checked; });
    if (checked == 0)
        return MainAction::None;
    deleteQuestion =
        p_.language.LangTextFormat("Вы действительно хотите удалить %s пакетов?", kTexts, 14,
                                   std::to_string(checked)) +
        "\r\n" +
        p_.language.LangTextAffix("Восстановить эти файлы будет невозможно.", kTexts, 15, false, ".");
    deleteTitle = p_.language.LangTextAffix("Удалить выбранное?", kTexts, 16, false, "?");
    return MainAction::AskDelete;
}

void MainWindowModel::DeleteChecked(bool fromContextMenu) {
    int checked = 0;
    int deleted = 0;
    for (std::size_t i = 0; i < p_.list.items.size(); ++i) {
        if (!p_.list.items[i].checked)
            continue;
        ++checked;
        if (p_.files.Remove(p_.list.PathOf(i)))
            ++deleted;
    }
    Load(p_.state.scenarioFolder);
    hasChecked = false;
    if (!fromContextMenu)
        CountChecked();
    statusLine = p_.language.LangTextFormat("Удачно удалено - %s из", kTexts, 17, std::to_string(deleted)) +
                 " " + std::to_string(checked);
    for (MainCommand command :
         {MainCommand::RunChecked, MainCommand::RunCheckedHere, MainCommand::UncheckItem})
        SetEnabled(command, false);
}

bool MainWindowModel::MoveUp() {
    auto& items = p_.list.items;
    if (!current || *current == 0 || *current >= items.size())
        return false;
    std::swap(items[*current - 1], items[*current]);
    current = *current - 1;
    return true;
}

bool MainWindowModel::MoveDown() {
    auto& items = p_.list.items;
    if (!current || *current + 1 >= items.size())
        return false;
    std::swap(items[*current], items[*current + 1]);
    current = *current + 1;
    return true;
}

MainAction MainWindowModel::RunChecked() {
    p_.state.recordMode = false;
    p_.state.runList.clear();
    for (std::size_t i = 0; i < p_.list.items.size(); ++i) {
        if (p_.list.items[i].checked)
            p_.state.runList.push_back(p_.list.PathOf(i));
    }
    if (p_.state.runList.empty())
        return MainAction::None;
    p_.state.currentScenario = p_.state.runList.front();
    return MainAction::StartRun;
}

MainAction MainWindowModel::RunAll() {
    if (p_.list.items.empty())
        return MainAction::None;
    p_.state.runList.clear();
    for (std::size_t i = 0; i < p_.list.items.size(); ++i)
        p_.state.runList.push_back(p_.list.PathOf(i));
    p_.state.recordMode = false;
    p_.state.currentScenario = p_.state.runList.front();
    return MainAction::StartRun;
}

MainAction MainWindowModel::NewPackage() {
    if (p_.state.scenarioFolder.empty()) {
        noFolderMessage = p_.language.LangTextAffix("Дальнейшая работа не возможна.", kTexts, 9, false, ".") +
                          "\r\n" +
                          p_.language.LangTextAffix("Выберите пожалуйста папку для сохранения файлов SCN.",
                                                    kTexts, 10, false, ".");
        noFolderTitle = p_.language.LangText("Внимание", kTexts, 11);
        return MainAction::ShowNoFolder;
    }
    p_.state.recordMode = true;
    p_.list.SaveOrder();
    return MainAction::None;
}

MainAction MainWindowModel::Properties() {
    p_.list.SaveOrder();
    if (!clicked || *clicked >= p_.list.items.size())
        return MainAction::None;
    return PathExists(p_.files, p_.list.PathOf(*clicked)) ? MainAction::None : MainAction::ShowFileNotFound;
}

bool MainWindowModel::PropertiesClosed(const std::string& newName) {
    auto& items = p_.list.items;
    if (!clicked || *clicked >= items.size())
        return false;
    std::size_t index = *clicked;
    if (!newName.empty())
        items[index].name = newName;
    if (p_.list.MatchesFolder()) {
        if (!newName.empty())
            items[index].tip = p_.list.TipFor(newName);
        return false;
    }
    Load(p_.state.scenarioFolder);
    if (index < items.size())
        current = index;
    return true;
}

void MainWindowModel::SelectSpeed(int value) {
    if (value < 0 || value > kSlowestSpeed)
        return;
    speed = value;
    SaveSetting(p_.settings, kSettingSpeed, std::to_string(value));
}

std::optional<int> MainWindowModel::TimeoutOf(MainCommand command) {
    switch (command) {
        case MainCommand::TimeoutOff:
            return 0;
        case MainCommand::Timeout5:
            return 5;
        case MainCommand::Timeout15:
            return 15;
        case MainCommand::Timeout30:
            return 30;
        case MainCommand::Timeout60:
            return 60;
        default:
            return std::nullopt;
    }
}

void MainWindowModel::SelectTimeout(int minutes) {
    timeoutMinutes = std::clamp(minutes, 0, kLongestTimeoutMinutes);
    SaveSetting(p_.settings, kSettingTimeout, std::to_string(timeoutMinutes));
}

std::optional<InputChoice> MainWindowModel::InputOf(MainCommand command) {
    switch (command) {
        case MainCommand::InputAuto:
            return InputChoice::Auto;
        case MainCommand::InputMouse:
            return InputChoice::Mouse;
        case MainCommand::InputMessages:
            return InputChoice::Messages;
        default:
            return std::nullopt;
    }
}

void MainWindowModel::SelectInput(InputChoice choice) {
    input = choice;
    SaveSetting(p_.settings, kSettingInput, InputChoiceText(choice));
}

void MainWindowModel::SetReportFolder(const std::string& folder) {
    reportFolder = Trim(folder);
    SaveSetting(p_.settings, kSettingReportFolder, reportFolder);
    SetEnabled(MainCommand::ReportsOff, !reportFolder.empty());
}

void MainWindowModel::ToggleReboot() {
    reboot = !reboot;
    SaveSetting(p_.settings, kSettingReboot, reboot ? "1" : "0");
}

void MainWindowModel::ToggleTopMost() {
    topMost = !topMost;
    SaveSetting(p_.settings, kSettingTopMost, topMost ? "1" : "0");
}

std::vector<std::string> MainWindowModel::LanguageNames() const {
    std::string folder = AddBackslash(p_.programFolder) + "language\\";
    if (!PathExists(p_.files, folder))
        return {};
    std::vector<std::string> files = p_.files.ListFiles(folder, "*.lng");
    std::sort(files.begin(), files.end(),
              [](const std::string& a, const std::string& b) { return ToUpper(a) < ToUpper(b); });
    std::vector<std::string> names;
    for (const std::string& file : files)
        names.push_back(StripExtension(file));
    return names;
}

bool MainWindowModel::CanSelectLanguage(const std::string& name) const {
    std::string file = AddBackslash(p_.programFolder) + "language\\" + name + ".lng";
    return PathExists(p_.files, file) && !IsFolder(p_.files, file);
}

void MainWindowModel::Close() {
    p_.list.SaveOrder();
}

}  // namespace velmora
