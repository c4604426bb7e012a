#include "packages/MainWindowModel.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/unit/PackageFolder.h"

namespace velmora {
namespace {

using C = MainCommand;
using Names = std::vector<std::string>;
using Flags = std::vector<bool>;

class MainWindowModelTest : public ::testing::Test, public PackageFolder {
  protected:
    void StartOn(const Names& names) {
        for (const std::string& name : names)
            AddPackage(name);
        settings.values["Path\\FolderSCN"] = kFolder;
        model.Start();
        list.LoadTips();  // as the window does
    }
    void LoadLanguage(const std::string& text) {
        LoadEnglish(text);
        model.ApplyLanguage();
    }
    Names Lines() const { return {model.folderText, model.statusLine, model.countLine}; }
    Flags EnabledOf(std::initializer_list<C> commands) const {
        Flags enabled;
        for (C command : commands)
            enabled.push_back(model.Enabled(command));
        return enabled;
    }

    MemorySettingsStore settings;
    SharedState state;
    MainWindowModel model{{list, files, settings, language, state, "C:\\Tools"}};
};

// The scenarios are read once, by the tips the window loads with its progress shown.
TEST_F(MainWindowModelTest, StartReadsTheStoredFolderAndTheSettingsAndLeavesTheTipsToTheWindow) {
    settings.values["View\\TopMost"] = "1";
    state.discSettingsStatus = "ini";
    StartOn({"b", "a"});
    EXPECT_EQ(Listed(), (Names{"a", "b"}));
    EXPECT_EQ(files.reads, 3u);  // the order file and each scenario once
    EXPECT_EQ(list.items[1].tip, "b");
    EXPECT_EQ(Lines(), (Names{kFolder, "ini", "0 из 2"}));
    EXPECT_EQ(std::pair(model.speed, model.topMost), std::pair(2, true));
    EXPECT_EQ(EnabledOf({C::NewPackage, C::RunChecked, C::RunAll, C::UnselectAll}), (Flags{1, 0, 1, 0}));
    AddPackage("recorded");  // as a recording leaves it
    model.ReloadAndCount();
    EXPECT_EQ(Lines(), (Names{kFolder, "", "0 из 3"}));

    // A stored folder deleted since: nothing listed, and a new package is refused for want of a folder.
    settings.values["Path\\FolderSCN"] = "C:\\Gone";
    model.Start();
    EXPECT_EQ(std::pair(list.items.size(), state.scenarioFolder), std::pair(std::size_t{0}, std::string()));
    EXPECT_EQ(model.NewPackage(), MainAction::ShowNoFolder);
    state.scenarioFolder = "C:\\Gone";
    model.Reload();
    EXPECT_EQ(Lines(), (Names{"Выберите папку", "Ошибка: Выберите существующий каталог", ""}));
}

TEST_F(MainWindowModelTest, FolderChosenOrTyped) {
    StartOn({"a"});
    files.AddFolder("C:\\Other");
    model.ChooseFolder("C:\\Other");
    EXPECT_EQ(settings.values["Path\\FolderSCN"], "C:\\Other");
    EXPECT_EQ(model.TypeFolder("C:\\Nowhere"), MainAction::ShowFolderError);
    EXPECT_EQ(model.statusLine, "Путь не найден, попробуйте ввести заново");
    // A file's path exists but is no folder: it is not stored over the folder that could be read.
    EXPECT_EQ(model.TypeFolder("C:\\Packages\\a.SCN"), MainAction::None);
    EXPECT_EQ(std::pair(settings.values["Path\\FolderSCN"], model.Enabled(C::NewPackage)),
              std::pair(std::string("C:\\Other"), false));
    EXPECT_EQ(model.TypeFolder(kFolder), MainAction::None);
    EXPECT_EQ(std::pair(settings.values["Path\\FolderSCN"], model.Enabled(C::NewPackageHere)),
              std::pair(std::string(kFolder), true));
}

TEST_F(MainWindowModelTest, MarksDriveTheCountStatusAndCommandsAndTheContextMenuFollowsTheClickedItem) {
    StartOn({"a", "b", "c"});
    const std::tuple<std::function<void()>, std::string, bool> steps[] = {
        {[&] { model.SetChecked(2, true); }, "1 из 3", true},
        {[&] { model.SetChecked(0, true); }, "2 из 3", true},
        {[&] { model.SetChecked(2, false); }, "1 из 3", true},
        {[&] { model.InvertSelection(); }, "2 из 3", true},
        {[&] { model.UnselectAll(); }, "0 из 3", false},
        {[&] { model.SelectAll(); }, "3 из 3", true},
        {[&] { model.InvertSelection(); }, "0 из 3", false},
    };
    for (const auto& [step, count, any] : steps) {
        step();
        EXPECT_EQ(Lines(), (Names{kFolder, any ? "Нажмите F5 чтобы начать установку" : "", count}));
        EXPECT_EQ(EnabledOf({C::RunChecked, C::RunCheckedHere, C::UnselectAll, C::DeleteChecked}),
                  Flags(4, any));
    }

    model.SetChecked(1, true);
    const std::initializer_list<C> entries{C::CheckItem,       C::UncheckItem,       C::PropertiesHere,
                                           C::UnselectAllHere, C::DeleteCheckedHere, C::SelectAllHere};
    const std::pair<std::optional<std::size_t>, Flags> clicks[] = {
        {1, {0, 1, 1, 1, 1, 1}}, {0, {1, 0, 1, 1, 1, 1}}, {std::nullopt, {0, 0, 0, 1, 1, 1}}};
    for (const auto& [hit, enabled] : clicks) {
        model.ListClicked(hit, true);
        EXPECT_EQ(EnabledOf(entries), enabled) << hit.value_or(99);
    }
    model.ListClicked(2, false);
    EXPECT_EQ(std::pair(model.clicked, model.current),
              std::pair(std::optional<std::size_t>(2), std::optional<std::size_t>(0)));
    // A key typed in the folder box forgets that marks exist, though they stay.
    model.FolderKeyTyped();
    model.ListClicked(0, true);
    EXPECT_EQ(EnabledOf(entries), (Flags{1, 0, 1, 0, 0, 1}));
    list.Clear();
    model.ListClicked(std::nullopt, true);
    EXPECT_EQ(EnabledOf(entries), Flags(6, false));
    EXPECT_FALSE(model.Enabled(C::RunAll));
}

TEST_F(MainWindowModelTest, DeleteAsksThenRemovesWhatItCanAndReports) {
    StartOn({"a", "b", "c", "d"});
    EXPECT_EQ(model.RequestDelete(), MainAction::None);
    model.SetChecked(0, true);
    model.SetChecked(2, true);
    EXPECT_EQ(model.RequestDelete(), MainAction::AskDelete);
    EXPECT_EQ(model.deleteQuestion.rfind("Вы действительно хотите удалить 2 пакетов?", 0), 0u);
    EXPECT_TRUE(files.Exists("C:\\Packages\\a.SCN"));  // asking deletes nothing

    files.SetLocked("C:\\Packages\\c.SCN");
    model.DeleteChecked(false);
    EXPECT_EQ(Listed(), (Names{"b", "c", "d"}));
    EXPECT_EQ(Lines(), (Names{kFolder, "Удачно удалено - 1 из 2", "0 из 3"}));
    EXPECT_FALSE(model.Enabled(C::RunChecked));
    // The context menu's delete leaves the count line to the next count.
    model.SetChecked(2, true);
    model.DeleteChecked(true);
    EXPECT_EQ(Listed(), (Names{"b", "c"}));
    EXPECT_EQ(Lines(), (Names{kFolder, "Удачно удалено - 1 из 1", "1 из 3"}));
}

TEST_F(MainWindowModelTest, MovesAndRunsKeepTheListOrder) {
    StartOn({"a", "b", "c"});
    EXPECT_FALSE(model.MoveDown());  // no current item
    EXPECT_EQ(model.RunChecked(), MainAction::None);
    EXPECT_TRUE(state.runList.empty());
    model.current = 0;
    EXPECT_FALSE(model.MoveUp());
    model.SetChecked(0, true);
    EXPECT_TRUE(model.MoveDown() && model.MoveDown() && !model.MoveDown());
    EXPECT_EQ(Listed(), (Names{"b", "c", "a"}));
    EXPECT_EQ(std::tuple(model.current, list.items[2].checked, list.items[2].tip),
              std::tuple(std::optional<std::size_t>(2), true, std::string("a")));
    EXPECT_TRUE(model.MoveUp());  // b a c
    model.SetChecked(0, true);
    state.recordMode = true;
    EXPECT_EQ(model.RunChecked(), MainAction::StartRun);
    EXPECT_EQ(state.runList, (Names{"C:\\Packages\\b.SCN", "C:\\Packages\\a.SCN"}));
    EXPECT_EQ(std::pair(state.currentScenario, state.recordMode), std::pair(state.runList[0], false));
    state.recordMode = true;
    EXPECT_EQ(model.RunAll(), MainAction::StartRun);
    EXPECT_EQ(state.runList, (Names{"C:\\Packages\\b.SCN", "C:\\Packages\\a.SCN", "C:\\Packages\\c.SCN"}));
    EXPECT_FALSE(state.recordMode);
    list.Clear();
    EXPECT_EQ(model.RunAll(), MainAction::None);
    EXPECT_EQ(state.runList.size(), 3u);
}

TEST_F(MainWindowModelTest, DialogsSaveTheOrderFirstAndRereadAfterwards) {
    StartOn({"a", "b", "c"});
    model.current = 2;
    model.MoveUp();
    EXPECT_EQ(model.NewPackage(), MainAction::None);
    EXPECT_TRUE(state.recordMode);
    EXPECT_EQ(files.Contents("C:\\Packages\\Position.lst"), "a\r\nc\r\nb\r\n");

    model.ListClicked(1, false);
    ASSERT_TRUE(files.Rename("C:\\Packages\\c.SCN", "C:\\Packages\\cee.SCN"));
    EXPECT_FALSE(model.PropertiesClosed("cee"));  // still the folder's packages: only the item changes
    EXPECT_EQ(Listed(), (Names{"a", "cee", "b"}));
    EXPECT_EQ(list.items[1].tip, "cee");
    AddPackage("new");
    EXPECT_TRUE(model.PropertiesClosed(""));
    EXPECT_EQ(model.current, 1u);
    ASSERT_TRUE(files.Remove("C:\\Packages\\new.SCN"));
    model.ListClicked(3, false);
    EXPECT_EQ(model.Properties(), MainAction::ShowFileNotFound);
}

TEST_F(MainWindowModelTest, SettingsAndLanguages) {
    // A stored speed that is no level checks none; a hand-edited step time-out is read within its range.
    for (const auto& [speed, timeout, level, minutes] :
         {std::tuple("1", "30", 1, 30), std::tuple("3", "-4", -1, 0), std::tuple("2", "99999", 2, 1440)}) {
        settings.values["Install\\Speed"] = speed;
        settings.values["Install\\Timeout"] = timeout;
        model.Start();
        EXPECT_EQ(std::pair(model.speed, model.timeoutMinutes), std::pair(level, minutes)) << speed;
    }
    model.SelectSpeed(0);
    model.ToggleTopMost();
    EXPECT_EQ(Names({settings.values["Install\\Speed"], settings.values["View\\TopMost"]}),
              (Names{"0", "1"}));
    model.ToggleTopMost();
    EXPECT_EQ(std::pair(settings.values["View\\TopMost"], model.topMost), std::pair(std::string("0"), false));
    // What the time-out menu offers is stored.
    model.SelectTimeout(MainWindowModel::TimeoutOf(C::Timeout15).value_or(-1));
    EXPECT_EQ(std::pair(settings.values["Install\\Timeout"], model.timeoutMinutes),
              std::pair(std::string("15"), 15));
    EXPECT_EQ(MainWindowModel::TimeoutOf(C::TimeoutOff), 0);
    EXPECT_FALSE(MainWindowModel::TimeoutOf(C::SpeedSlow));
    // And so is how presses go, which a start reads back.
    model.SelectInput(MainWindowModel::InputOf(C::InputMessages).value_or(InputChoice::Auto));
    EXPECT_EQ(settings.values["Install\\Input"], "MESSAGES");
    EXPECT_EQ(GetInputChoice(settings), InputChoice::Messages);
    // The report folder: chosen, stored trimmed, and turned off again; "off" is offered only while one is
    // set.
    EXPECT_FALSE(model.Enabled(C::ReportsOff));
    model.SetReportFolder(" D:\\Reports ");
    EXPECT_EQ(settings.values["Install\\ReportFolder"], "D:\\Reports");
    model.Start();
    EXPECT_EQ(model.reportFolder, "D:\\Reports");
    EXPECT_TRUE(model.Enabled(C::ReportsOff));
    model.SetReportFolder("");
    EXPECT_EQ(settings.values["Install\\ReportFolder"], "");
    EXPECT_FALSE(model.Enabled(C::ReportsOff));

    EXPECT_TRUE(model.LanguageNames().empty());
    files.AddFile("C:\\Tools\\language\\German.lng");
    LoadLanguage("[MainMenu]\r\n1=&File\r\n17=Install selected\r\n[main]\r\n13=of\r\n");
    EXPECT_TRUE(model.CanSelectLanguage("German") && !model.CanSelectLanguage("Русский"));
    // The context menu's twin has a key of its own.
    EXPECT_EQ(Names({model.Caption(C::RunChecked), model.Caption(C::RunCheckedHere),
                     model.MenuCaption(MainMenuLayout().bar[0]), model.countLine}),
              (Names{"Install selected", "Установить выбранное", "&File", "0 of 0"}));
}

// Every command shows once in the menus (the speeds and time-outs in submenus of their own, the hidden
// stay-on-top item not at all), and the shipped English file names every caption.
TEST_F(MainWindowModelTest, MenusAndTheirEnglishCaptions) {
    LoadLanguage(ShippedEnglish());
    std::vector<MenuLayout::Menu> menus = MainMenuLayout().bar;
    menus.push_back(MainMenuLayout().context);
    std::vector<int> seen(kMainCommandCount + 1, 0);  // separators and submenus count in the last place
    for (const MenuLayout::Menu& menu : menus) {
        EXPECT_TRUE(menu.key == 0 || model.MenuCaption(menu) != menu.builtIn) << menu.builtIn;
        for (const MenuEntry& entry : menu.entries)
            ++seen[static_cast<std::size_t>(entry.command)];
    }
    for (std::size_t i = 0; i < kMainCommandCount; ++i) {
        auto command = static_cast<C>(i);
        CommandText text = BuiltInCommandText(command);
        EXPECT_TRUE(text.key == 0 || model.Caption(command) != text.builtIn) << text.builtIn;
        bool hidden = command == C::TopMost || (command >= C::SpeedFast && command <= C::SpeedSlow) ||
                      MainWindowModel::TimeoutOf(command) || MainWindowModel::InputOf(command);
        EXPECT_EQ(seen[i], hidden ? 0 : 1) << text.builtIn;
    }
}

}  // namespace
}  // namespace velmora
