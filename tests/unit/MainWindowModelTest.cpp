#include "packages/MainWindowModel.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "tests/unit/PackageFolder.h"

namespace velmora {
namespace {

using C = MainCommand;
using Names = std::vector<std::string>;

class MainWindowModelTest : public ::testing::Test, public PackageFolder {
  protected:
    void StartOn(const Names& names) {
        for (const std::string& name : names)
            AddPackage(name);
        settings.values["Path\\FolderSCN"] = kFolder;
        model.Start();
    }
    void LoadLanguage(const std::string& text) {
        files.AddFile("C:\\Tools\\language\\English.lng", text);
        language.languageName = "English";
        language.LoadLanguage("C:\\Tools", 1033, false);
        model.ApplyLanguage();
    }
    std::vector<bool> EnabledOf(std::initializer_list<C> commands) const {
        std::vector<bool> enabled;
        for (C command : commands)
            enabled.push_back(model.Enabled(command));
        return enabled;
    }

    MemorySettingsStore settings;
    SharedState state;
    MainWindowModel model{{list, files, settings, language, state, "C:\\Tools"}};
};

TEST_F(MainWindowModelTest, StartReadsTheStoredFolderWithTipsAndTheSettings) {
    settings.values["View\\TopMost"] = "1";
    state.discSettingsStatus = "ini";
    StartOn({"b", "a"});
    EXPECT_EQ(Listed(), (Names{"a", "b"}));
    EXPECT_EQ(list.items[1].tip, "b");
    EXPECT_EQ(model.folderText, kFolder);
    EXPECT_EQ(model.countLine, "0 из 2");
    EXPECT_EQ(model.statusLine, "ini");
    EXPECT_EQ(model.speed, 2);
    EXPECT_TRUE(model.topMost);
    EXPECT_EQ(EnabledOf({C::NewPackage, C::RunChecked, C::RunAll, C::UnselectAll}),
              (std::vector<bool>{true, false, true, false}));

    // A stored folder deleted since: nothing listed, and a new package is refused for want of a folder.
    settings.values["Path\\FolderSCN"] = "C:\\Gone";
    model.Start();
    EXPECT_TRUE(list.items.empty());
    EXPECT_EQ(state.scenarioFolder, "");
    EXPECT_EQ(model.NewPackage(), MainAction::ShowNoFolder);
    EXPECT_EQ(model.noFolderMessage,
              "Дальнейшая работа не возможна.\r\nВыберите пожалуйста папку для сохранения файлов SCN.");
    EXPECT_EQ(model.noFolderTitle, "Внимание");
    state.scenarioFolder = "C:\\Gone";
    model.Reload();
    EXPECT_EQ(model.statusLine, "Ошибка: Выберите существующий каталог");
    EXPECT_EQ(model.countLine, "");
    EXPECT_EQ(model.folderText, "Выберите папку");
}

TEST_F(MainWindowModelTest, FolderChosenOrTyped) {
    StartOn({"a"});
    files.AddFolder("C:\\Other");
    model.ChooseFolder("C:\\Other");
    EXPECT_EQ(settings.values["Path\\FolderSCN"], "C:\\Other");
    EXPECT_EQ(model.countLine, "0 из 0");

    EXPECT_EQ(model.TypeFolder("C:\\Nowhere"), MainAction::ShowFolderError);
    EXPECT_EQ(model.folderErrorText, "Не найден указанный путь");
    EXPECT_EQ(model.folderErrorTitle, "Ошибка");
    EXPECT_EQ(model.statusLine, "Путь не найден, попробуйте ввести заново");
    EXPECT_FALSE(model.Enabled(C::NewPackage));
    // A file's path exists but is no folder: it is not stored over the folder that could be read.
    EXPECT_EQ(model.TypeFolder("C:\\Packages\\a.SCN"), MainAction::None);
    EXPECT_EQ(settings.values["Path\\FolderSCN"], "C:\\Other");
    EXPECT_FALSE(model.Enabled(C::NewPackage));
    EXPECT_EQ(model.TypeFolder(kFolder), MainAction::None);
    EXPECT_EQ(settings.values["Path\\FolderSCN"], kFolder);
    EXPECT_EQ(Listed(), Names{"a"});
    EXPECT_TRUE(model.Enabled(C::NewPackageHere));
}

TEST_F(MainWindowModelTest, MarksDriveTheCountStatusAndCommands) {
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
        EXPECT_EQ(model.countLine, count);
        EXPECT_EQ(model.statusLine, any ? "Нажмите F5 чтобы начать установку" : "") << count;
        EXPECT_EQ(EnabledOf({C::RunChecked, C::RunCheckedHere, C::UnselectAll, C::DeleteChecked}),
                  std::vector<bool>(4, any))
            << count;
        EXPECT_EQ(model.hasChecked, any);
    }
}

TEST_F(MainWindowModelTest, ContextMenuFollowsTheItemUnderTheClick) {
    StartOn({"a", "b", "c"});
    model.SetChecked(1, true);
    const std::initializer_list<C> entries{C::CheckItem,       C::UncheckItem,       C::PropertiesHere,
                                           C::UnselectAllHere, C::DeleteCheckedHere, C::SelectAllHere};
    const std::pair<std::optional<std::size_t>, std::vector<bool>> clicks[] = {
        {1, {false, true, true, true, true, true}},
        {0, {true, false, true, true, true, true}},
        {std::nullopt, {false, false, false, true, true, true}},
    };
    for (const auto& [hit, enabled] : clicks) {
        model.ListClicked(hit, true);
        EXPECT_EQ(EnabledOf(entries), enabled) << hit.value_or(99);
    }
    EXPECT_EQ(model.current, 0u);
    model.ListClicked(2, false);
    EXPECT_EQ(model.clicked, 2u);
    EXPECT_EQ(model.current, 0u);
    // A key typed in the folder box forgets that marks exist, though they stay.
    model.FolderKeyTyped();
    model.ListClicked(0, true);
    EXPECT_EQ(EnabledOf(entries), (std::vector<bool>{true, false, true, false, false, true}));
    list.Clear();
    model.ListClicked(std::nullopt, true);
    EXPECT_EQ(EnabledOf(entries), std::vector<bool>(6, false));
    EXPECT_FALSE(model.Enabled(C::RunAll));
}

TEST_F(MainWindowModelTest, DeleteAsksThenRemovesWhatItCanAndReports) {
    StartOn({"a", "b", "c", "d"});
    EXPECT_EQ(model.RequestDelete(), MainAction::None);
    model.SetChecked(0, true);
    model.SetChecked(2, true);
    EXPECT_EQ(model.RequestDelete(), MainAction::AskDelete);
    EXPECT_EQ(model.deleteQuestion,
              "Вы действительно хотите удалить 2 пакетов?\r\nВосстановить эти файлы будет невозможно.");
    EXPECT_EQ(model.deleteTitle, "Удалить выбранное?");
    EXPECT_TRUE(files.Exists("C:\\Packages\\a.SCN"));  // asking deletes nothing

    files.SetLocked("C:\\Packages\\c.SCN");
    model.DeleteChecked(false);
    EXPECT_EQ(Listed(), (Names{"b", "c", "d"}));
    EXPECT_EQ(model.statusLine, "Удачно удалено - 1 из 2");
    EXPECT_EQ(model.countLine, "0 из 3");
    EXPECT_FALSE(model.Enabled(C::RunChecked));
    // The context menu's delete leaves the count line to the next count.
    model.SetChecked(2, true);
    model.DeleteChecked(true);
    EXPECT_EQ(Listed(), (Names{"b", "c"}));
    EXPECT_EQ(model.statusLine, "Удачно удалено - 1 из 1");
    EXPECT_EQ(model.countLine, "1 из 3");
}

TEST_F(MainWindowModelTest, MovesTakeMarkAndTipAlongAndStopAtTheEnds) {
    StartOn({"a", "b", "c"});
    EXPECT_FALSE(model.MoveDown());  // no current item
    model.current = 0;
    EXPECT_FALSE(model.MoveUp());
    model.SetChecked(0, true);
    EXPECT_TRUE(model.MoveDown());
    EXPECT_TRUE(model.MoveDown());
    EXPECT_FALSE(model.MoveDown());
    EXPECT_EQ(Listed(), (Names{"b", "c", "a"}));
    EXPECT_EQ(model.current, 2u);
    EXPECT_TRUE(list.items[2].checked);
    EXPECT_EQ(list.items[2].tip, "a");
    EXPECT_TRUE(model.MoveUp());
    EXPECT_EQ(model.current, 1u);
}

TEST_F(MainWindowModelTest, RunListsHoldCheckedOrAllPackagesInListOrder) {
    StartOn({"a", "b", "c", "d", "e"});
    EXPECT_EQ(model.RunChecked(), MainAction::None);
    EXPECT_TRUE(state.runList.empty());
    model.SetChecked(2, true);
    model.SetChecked(0, true);
    state.recordMode = true;
    EXPECT_EQ(model.RunChecked(), MainAction::StartRun);
    EXPECT_EQ(state.runList, (Names{"C:\\Packages\\a.SCN", "C:\\Packages\\c.SCN"}));
    EXPECT_EQ(state.currentScenario, "C:\\Packages\\a.SCN");
    EXPECT_FALSE(state.recordMode);
    state.recordMode = true;
    EXPECT_EQ(model.RunAll(), MainAction::StartRun);
    EXPECT_EQ(state.runList.size(), 5u);
    EXPECT_EQ(state.runList[4], "C:\\Packages\\e.SCN");
    EXPECT_FALSE(state.recordMode);
    list.Clear();
    EXPECT_EQ(model.RunAll(), MainAction::None);
    EXPECT_EQ(state.runList.size(), 5u);
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

TEST_F(MainWindowModelTest, SpeedAndStayOnTopSettings) {
    const std::pair<const char*, int> speeds[] = {{"0", 0}, {"1", 1}, {"2", 2}, {"3", -1}, {"fast", -1}};
    for (const auto& [stored, speed] : speeds) {
        settings.values["Install\\Speed"] = stored;
        model.Start();
        EXPECT_EQ(model.speed, speed) << stored;
    }
    model.SelectSpeed(1);
    EXPECT_EQ(settings.values["Install\\Speed"], "1");
    model.ToggleTopMost();
    EXPECT_EQ(settings.values["View\\TopMost"], "1");
    model.ToggleTopMost();
    EXPECT_EQ(settings.values["View\\TopMost"], "0");
    EXPECT_FALSE(model.topMost);
}

TEST_F(MainWindowModelTest, LanguageFilesAndTheirTexts) {
    EXPECT_TRUE(model.LanguageNames().empty());
    files.AddFile("C:\\Tools\\language\\German.lng");
    LoadLanguage("[MainMenu]\r\n1=&File\r\n17=Install selected\r\n[main]\r\n13=of\r\n");
    EXPECT_EQ(model.LanguageNames(), (Names{"English", "German"}));
    EXPECT_FALSE(model.CanSelectLanguage("Русский"));
    EXPECT_EQ(model.Caption(C::RunChecked), "Install selected");
    EXPECT_EQ(model.Caption(C::RunCheckedHere), "Установить выбранное");  // a key of its own
    EXPECT_EQ(model.MenuCaption(MainMenuLayout().bar[0]), "&File");
    EXPECT_EQ(model.countLine, "0 of 0");

    // The shipped English file names every caption of the menus.
    std::ifstream shipped(VELMORA_SOURCE_DIR "/language/English.lng", std::ios::binary);
    LoadLanguage((std::ostringstream() << shipped.rdbuf()).str());
    std::vector<MenuLayout::Menu> menus = MainMenuLayout().bar;
    menus.push_back(MainMenuLayout().context);
    std::vector<int> seen(kMainCommandCount, 0);
    for (const MenuLayout::Menu& menu : menus) {
        EXPECT_TRUE(menu.key == 0 || model.MenuCaption(menu) != menu.builtIn) << menu.builtIn;
        for (const MenuEntry& entry : menu.entries) {
            if (entry.kind == MenuEntry::Command)
                ++seen[static_cast<std::size_t>(entry.command)];
        }
    }
    for (std::size_t i = 0; i < kMainCommandCount; ++i) {
        auto command = static_cast<C>(i);
        CommandText text = BuiltInCommandText(command);
        EXPECT_TRUE(text.key == 0 || model.Caption(command) != text.builtIn) << text.builtIn;
        bool hidden = command == C::TopMost || (command >= C::SpeedFast && command <= C::SpeedSlow);
        EXPECT_EQ(seen[i], hidden ? 0 : 1) << text.builtIn;  // the speeds have a submenu of their own
    }
}

}  // namespace
}  // namespace velmora
