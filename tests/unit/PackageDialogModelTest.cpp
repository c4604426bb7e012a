#include "packages/PackageDialogModel.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/unit/PackageFolder.h"

namespace velmora {
namespace {

using F = PackageField;
using ::testing::HasSubstr;
using ::testing::StartsWith;
const std::optional<LabelColour> kRed = LabelColour{192, 0, 0};
const std::optional<LabelColour> kGreen = LabelColour{0, 128, 0};

// A name and path typed, OK pressed, the questions answered: how the last message begins, where focus goes.
struct OkCase {
    std::string name, path;
    std::vector<MsgResult> answers;
    std::string message;
    OkVerdict verdict;
};

class PackageDialogModelTest : public ::testing::Test, public PackageFolder {
  protected:
    PackageDialogModelTest() {
        state.scenarioFolder = kFolder;
        vars.variables[4].second = "C:\\Program Files";
        files.AddFile("C:\\Soft\\setup.exe");
        files.AddFile("C:\\Soft\\setup.cmd");
        files.AddFile("C:\\a");
    }
    PackageDialogModel Open(PackageDialogMode mode, const std::string& listedName = {}) {
        return PackageDialogModel({files, settings, dialogs, *codec, language, vars, state}, mode,
                                  {"Office", "Beta", "Alpha"}, listedName);
    }
    void Check(PackageDialogModel& model, const OkCase& c) {
        SCOPED_TRACE(c.name + " " + c.path);
        dialogs.messages.clear();
        dialogs.answers.assign(c.answers.begin(), c.answers.end());
        model.SetField(F::Name, c.name);
        model.SetField(F::Path, c.path);
        const OkVerdict verdict = model.Ok();
        ASSERT_FALSE(dialogs.messages.empty());
        EXPECT_THAT(dialogs.messages.back().text, StartsWith(c.message));
        EXPECT_EQ(std::tuple(verdict.close, verdict.focus, verdict.selectAll),
                  std::tuple(c.verdict.close, c.verdict.focus, c.verdict.selectAll));
    }

    MemorySettingsStore settings;
    SharedState state;
};

TEST_F(PackageDialogModelTest, NewPackageChecksComeInOrderWithTheirMessagesAndFocus) {
    const std::string exists = "Пакет с именем 'Office' уже существует в выбранной директории.";
    PackageDialogModel model = Open(PackageDialogMode::NewPackage);
    for (const OkCase& c : std::vector<OkCase>{
             {"", "", {}, "Необходимо ввести адрес исполняемого файла", {false, F::Path}},
             {" ", "C:\\Soft\\setup.exe", {}, "Введите имя пакета", {false, F::Name}},
             {"a/b", "C:\\Soft\\setup.exe", {}, "Имя файла не должно содержать", {false, F::Name}},
             {"abc.", "C:\\Soft\\nope.exe", {}, "Введите существующий адрес файла.", {false, F::Path, true}},
             {"abc.", "C:\\Soft", {}, "Введите существующий адрес файла.", {false, F::Path, true}},
             {"abc.", "C:\\Soft\\setup.cmd", {}, "Выберите только поддерживаемый", {false, F::Path, true}},
             {"abc.", "C:\\a", {}, "Выберите только поддерживаемый", {false, F::Path, true}},
             {"Office", "C:\\Soft\\SETUP.EXE", {MsgResult::No}, exists, {false, F::Name, true}},
             {"Office", "C:\\Soft\\SETUP.EXE", {MsgResult::Yes}, exists, {true}},
             // Another letter case names the same file on Windows: asked too.
             {"office", "C:\\Soft\\SETUP.EXE", {MsgResult::Yes}, "Пакет с именем 'office' уже", {true}},
         })
        Check(model, c);
    // The accepted values go to the recorder in their real form.
    model.SetField(F::CommandLine, "  %PROGRAMFILES%\\X ");
    model.SetField(F::Description, "words");
    dialogs.answers.push_back(MsgResult::Yes);
    ASSERT_TRUE(model.Ok().close);
    EXPECT_EQ((std::vector<std::string>{state.packageName, state.installerPath, state.installerCommandLine,
                                        state.description, settings.values["Path\\FolderBrowseExe"]}),
              (std::vector<std::string>{"office", "C:\\Soft\\SETUP.EXE", "C:\\Program Files\\X", "words",
                                        "C:\\Soft"}));
    EXPECT_TRUE(state.recordMode);
}

TEST_F(PackageDialogModelTest, PropertiesCheckThePathThenRenameAndWriteTheHeaderKeepingTheCommandLine) {
    AddPackage("Alpha", "old words", "C:\\Soft\\setup.exe", true, "/S");
    files.AddFile(Path("Beta"), "other package");
    const std::string notFound = "Указанный Вами файл не найден.";
    auto taken = [](const std::string& name) { return "Пакет с именем '" + name + "' уже существует."; };
    const std::string renameFailed = "Переименнование файла '" + Path("Alpha") + "' невозможно.";
    PackageDialogModel model = Open(PackageDialogMode::Properties, "Alpha");
    EXPECT_EQ(model.Field(F::CommandLine), "/S");
    model.SetField(F::Description, "");
    const std::string before = *files.Contents(Path("Alpha"));
    for (const OkCase& c : std::vector<OkCase>{
             {"Alpha", "C:\\Soft\\a*.exe", {}, "Путь к файлу не должен содержать", {false, F::Path}},
             {"Alpha", "C:\\Soft\\later.exe", {MsgResult::No}, notFound, {false, F::Path}},
             // A name another package has, in any letter case, is refused before anything is written.
             {"Beta", "C:\\Soft\\later.exe", {MsgResult::Yes}, taken("Beta"), {false, F::Name, true}},
             {"BETA", "C:\\Soft\\setup.exe", {}, taken("BETA"), {false, F::Name, true}},
         })
        Check(model, c);
    EXPECT_EQ(files.Contents(Path("Alpha")), before);
    EXPECT_EQ(files.Contents(Path("Beta")), "other package");

    // A rename that fails for another reason changes nothing either.
    files.SetLocked(Path("Alpha"));
    Check(model, {"Gamma", "C:\\Soft\\setup.exe", {}, renameFailed, {false, F::Name, true}});
    files.SetLocked(Path("Alpha"), false);
    EXPECT_FALSE(files.Exists(Path("Gamma")));

    // What else the header keeps (the command line, the steps) is checked end to end.
    Check(model, {"Gamma", "%TEMP%\\later.exe", {MsgResult::Yes}, notFound, {true}});
    EXPECT_EQ(model.NewName(), "Gamma");
    EXPECT_FALSE(files.Exists(Path("Alpha")));
    ScenarioImage saved(*codec, vars);
    ASSERT_TRUE(saved.LoadImageFile(files, Path("Gamma")));
    saved.UnscrambleImage();
    ASSERT_TRUE(saved.ReadHeader());
    EXPECT_EQ(saved.GetInstallerPath(), "%TEMP%\\later.exe");
    EXPECT_EQ(saved.GetDescription(), "") << "an emptied description is cleared";

    // A change of letter case renames the same file; the command line is stored in its portable form.
    PackageDialogModel again = Open(PackageDialogMode::Properties, "Gamma");
    again.SetField(F::CommandLine, " C:\\Program Files\\Y ");
    Check(again, {"gamma", "%TEMP%\\later.exe", {MsgResult::Yes}, notFound, {true}});
    EXPECT_EQ(files.ListFiles(kFolder, "g*"), std::vector<std::string>{"gamma.SCN"});
    ASSERT_TRUE(saved.LoadImageFile(files, Path("gamma")));
    saved.UnscrambleImage();
    EXPECT_THAT(saved.Bytes(), HasSubstr("%PROGRAMFILES%\\Y"));
}

TEST_F(PackageDialogModelTest, BrowseAutoReplaceLabelsAndCounter) {
    PackageDialogModel model = Open(PackageDialogMode::NewPackage);
    EXPECT_EQ(std::pair(model.NameColour(), model.PathColour()), std::pair(kRed, kRed));
    dialogs.fileAnswers = {"C:\\Program Files\\Foo\\Foo Setup.exe", std::nullopt};
    model.Browse();
    EXPECT_EQ(std::get<2>(dialogs.fileDialogs[0]), "c:\\");  // no folder remembered yet
    EXPECT_EQ(model.Field(F::Path), "%PROGRAMFILES%\\Foo\\Foo Setup.exe");
    EXPECT_EQ(model.Field(F::Name), "Foo Setup");
    EXPECT_EQ(std::pair(model.NameColour(), model.PathColour()),
              std::pair(kGreen, std::optional<LabelColour>()));
    model.SetAutoReplace(false);
    EXPECT_EQ(model.Field(F::Path), "C:\\Program Files\\Foo\\Foo Setup.exe");
    EXPECT_EQ(settings.values["Path\\FolderBrowseExe"], "C:\\Program Files\\Foo");
    model.Browse();  // cancelled: the path stays, the remembered folder goes
    EXPECT_EQ(std::pair(model.Field(F::Path), settings.values["Path\\FolderBrowseExe"]),
              std::pair(std::string("C:\\Program Files\\Foo\\Foo Setup.exe"), std::string()));

    std::string description;
    for (int i = 0; i < 150; ++i)
        description += "ж";
    model.SetField(F::Description, description);
    EXPECT_EQ(model.DescriptionLeft(), 50);
}

}  // namespace
}  // namespace velmora
