#include "paths/PathEditorModel.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/unit/PackageFolder.h"

namespace velmora {
namespace {

using Names = std::vector<std::string>;
using Flags = std::vector<bool>;

TEST(ReplaceFirstTest, FirstOccurrenceIgnoringCaseWithTheRestKept) {
    struct Case {
        std::string path, find, replacement;
        std::optional<std::string> result;
    };
    for (const Case& c : {
             Case{"D:\\distr\\Setup.EXE", "d:\\DISTR", "%CDROM%\\soft", "%CDROM%\\soft\\Setup.EXE"},
             Case{"C:\\Программы\\x.exe", "пРОГРАММЫ", "Soft", "C:\\Soft\\x.exe"},
             Case{"a\\A\\a", "a", "b", "b\\A\\a"},
             Case{"x y", " Y", "", "x"},
             Case{"abc", "abcd", "q", std::nullopt},
         }) {
        EXPECT_EQ(ReplaceFirst(c.path, c.find, c.replacement), c.result) << c.path << " / " << c.find;
    }
    EXPECT_EQ(Flags({IsBlank(""), IsBlank("   "), IsBlank(" a ")}), (Flags{true, true, false}));
}

class PathEditorModelTest : public ::testing::Test, public PackageFolder {
  protected:
    // A recorded scenario: steps, command line and stamp around the installer path.
    std::string Scenario(const std::string& installer) {
        ScenarioImage image(*codec, vars);
        image.NewImage(installer, "Описание", 1280, 1024);
        StepState step{{{"#32770", "Установка", 0}, {"Button", "&Далее >", 1}},
                       {{kButtonLeft, kKindPress, 20, 10}, {kButtonLeft, kKindRelease, 0, 0}},
                       "%PROGRAMFILES%\\App",
                       true};
        image.AppendStep(step);
        image.AppendInstallerPath(installer);
        image.AppendCommandLine("/S /D=%PROGRAMFILES%\\App");
        image.AppendRecordStamp(LocalTime{2026, 12, 6, 10, 0, 0});
        image.ScrambleImage();
        return image.Bytes();
    }
    void StartOn(const Names& names) {
        for (const std::string& name : names)
            files.AddFile(Path(name), Scenario("D:\\distr\\" + name + ".exe"));
        settings.values["Path\\FolderSCN"] = kFolder;
        model.Start();
    }
    Names Column(int column) const {
        Names texts;
        for (const PathEditorRow& row : model.rows)
            texts.push_back(column == 0 ? row.name : column == 1 ? row.storedPath : row.newPath);
        return texts;
    }
    std::vector<int> Counters() const { return {model.total, model.changed, model.toSave}; }

    MemorySettingsStore settings;
    SharedState state;
    PathEditorModel model{{files, *codec, vars, settings, dialogs, language, state}};
};

// That every row comes ticked is checked end to end, after a save reads the folder again.
TEST_F(PathEditorModelTest, FolderIsReadInTheOrderFileOrder) {
    files.AddFile(Path("damaged"), "xx");
    files.AddFile(std::string(kFolder) + "\\Position.lst", "c\r\nB\r\nnone\r\nb\r\n");
    StartOn({"a", "b", "c"});
    // Only an exact name takes a place; unknown lines take none.
    EXPECT_EQ(Column(0), (Names{"c", "b", "a", "damaged"}));
    EXPECT_EQ(Column(1), (Names{"D:\\distr\\c.exe", "D:\\distr\\b.exe", "D:\\distr\\a.exe", ""}));
    EXPECT_EQ(Counters(), (std::vector<int>{4, 0, 0}));
    EXPECT_EQ(model.folderText, kFolder);

    // Each sort reverses the direction of the one before, whatever its column.
    model.Sort(0);
    EXPECT_EQ(Column(0), (Names{"a", "b", "c", "damaged"}));
    model.Sort(1);
    EXPECT_EQ(Column(0), (Names{"c", "b", "a", "damaged"}));

    // A stored folder that has gone, a typed one that does not exist, a cancelled chooser.
    settings.values["Path\\FolderSCN"] = "C:\\Gone";
    model.Start();
    EXPECT_EQ(std::pair(model.rows.size(), state.scenarioFolder), std::pair(std::size_t{0}, std::string()));
    EXPECT_EQ(model.statusText, "Обнаружена ошибка в модуле LoadListView");
    EXPECT_EQ(model.TypeFolder(7, "C:\\Nowhere"), PathEditorFocus::FolderBoxSelected);
    EXPECT_EQ(Names({dialogs.messages.back().text, model.statusText}),
              (Names{"Не найден указанный путь", "Путь не найден, попробуйте ввести заново"}));
    EXPECT_EQ(model.TypeFolder(7, kFolder), PathEditorFocus::Unchanged);
    EXPECT_EQ(std::pair(settings.values["Path\\FolderSCN"], model.rows.size()),
              std::pair(std::string(kFolder), std::size_t{4}));
    EXPECT_FALSE(model.ChooseFolder(7));
    EXPECT_EQ(model.rows.size(), 4u);
}

TEST_F(PathEditorModelTest, PassesAccumulateAndPassRowsWithoutAPath) {
    StartOn({"a", "c", "d"});
    files.AddFile(Path("b"), Scenario("D:\\DISTR\\b\\distr.exe"));
    files.AddFile(Path("0-locked"));
    files.SetLocked(Path("0-locked"));
    model.Start();
    EXPECT_EQ(model.Replace(7, "  ", "x"), PathEditorFocus::FindBox);
    EXPECT_EQ(dialogs.messages.back().text, "Введите строку для поиска");

    // The unreadable row at the top does not end the pass.
    model.Replace(7, "d:\\DISTR", "%CDROM%\\soft");
    EXPECT_EQ(Column(2), (Names{"", "%CDROM%\\soft\\a.exe", "%CDROM%\\soft\\b\\distr.exe",
                                "%CDROM%\\soft\\c.exe", "%CDROM%\\soft\\d.exe"}));
    EXPECT_THAT(model.statusText, ::testing::StartsWith("Результов последнего поиска - 4."));
    model.SetTicked(3, false);
    EXPECT_EQ(Counters(), (std::vector<int>{5, 4, 3}));
    EXPECT_FALSE(model.noPendingChanges);

    // The next pass starts from the new paths; a blank replacement is asked for, and No changes nothing.
    model.Replace(7, "DISTR", "pkg");
    EXPECT_EQ(model.rows[2].newPath, "%CDROM%\\soft\\b\\pkg.exe");
    dialogs.answers = {MsgResult::No, MsgResult::Yes};
    EXPECT_EQ(model.Replace(7, "%cdrom%\\soft\\a.exe", ""), PathEditorFocus::ReplaceBox);
    EXPECT_EQ(model.rows[1].newPath, "%CDROM%\\soft\\a.exe");
    // Yes deletes: an emptied path no longer counts as changed but stays bold.
    model.Replace(7, "%cdrom%\\soft\\a.exe", "");
    for (std::size_t i = 0; i < model.rows.size(); ++i)
        EXPECT_EQ(model.rows[i].bold, i > 0) << i;  // every row but the unreadable one
    EXPECT_EQ(Counters(), (std::vector<int>{5, 3, 2}));
    model.Replace(7, "no such text", "x");
    EXPECT_EQ(model.statusText, "Не было найденно ни одного совпадения.");
    EXPECT_FALSE(model.noPendingChanges);
}

// What the table shows after a save (the unticked and unwritable rows keeping their paths), and the questions
// on the way, are checked end to end; here, what the written files hold.
TEST_F(PathEditorModelTest, SaveWritesOnlyThePathsOfTickedChangedRows) {
    StartOn({"a", "b", "c", "d"});
    model.Replace(7, "d:\\DISTR", "%CDROM%\\soft");
    model.SetTicked(2, false);
    files.SetReadOnly(Path("b"));
    // b: save elsewhere? Yes; the save dialog is cancelled; really not save? Yes.
    dialogs.answers = {MsgResult::Yes, MsgResult::Yes};
    model.Save(7);
    EXPECT_EQ(model.saved, 2);
    for (const char* name : {"a", "d"})
        EXPECT_EQ(files.Contents(Path(name)), Scenario(std::string("%CDROM%\\soft\\") + name + ".exe"))
            << name;

    // A path of spaces is not written.
    model.rows[0].newPath = "   ";
    model.Save(7);
    EXPECT_EQ(model.saved, 0);
    EXPECT_EQ(files.Contents(Path("a")), Scenario("%CDROM%\\soft\\a.exe"));
}

}  // namespace
}  // namespace velmora
