#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "discs/DiscWizardModel.h"
#include "tests/unit/TextDoubles.h"

namespace velmora {
namespace {

using Names = std::vector<std::string>;
using Action = DiscWizardModel::Action;

std::string CopyLine(const std::string& from, const std::string& to) {
    return "Копирование файла `" + from + "` в ` " + to;
}

// A program in C:\Tools with its help and two language files; a scenario folder C:\Packages with two
// packages and their order; an empty destination D:\Disc.
struct Disc : TextDoubles {
    Disc() {
        for (const char* file : {"C:\\Tools\\velmora.exe", "C:\\Tools\\help.chm",
                                 "C:\\Tools\\language\\English.lng", "C:\\Tools\\language\\ascii.lng",
                                 "C:\\Packages\\b.SCN", "C:\\Packages\\a.SCN", "C:\\Packages\\Position.lst"})
            files.AddFile(file, file);
        files.AddFolder("D:\\Disc");
        files.AddFolder("C:\\Empty");
    }
    DiscWizardModel Wizard() {
        return DiscWizardModel{{files, profile, settings, dialogs, language, "C:\\Tools", "C:\\Packages"}};
    }

    MemorySettingsStore settings;
};

Names LogLines(const DiscWizardModel& wizard) {
    Names lines;
    std::istringstream log(wizard.Log());
    for (std::string line; std::getline(log, line);)
        lines.push_back(line.substr(0, line.find('\r')));
    return lines;
}

// A destination that holds a folder already gets no creation line for it; a copy from a read-only medium is
// writable; a stored speed that is none of the three writes the slow one the page calls the default. (The
// scenario folder setting that then points at the copy, and Finish closing without a question: end to end.)
TEST(DiscWizardTest, FivePagesWriteTheDiscSettingsAndCopyEverything) {
    Disc disc;
    disc.language.languageName = "ascii";
    disc.settings.values["Install\\Speed"] = "7";
    disc.files.AddFolder("D:\\Disc\\Velmora\\Language");
    disc.files.SetReadOnly("C:\\Packages\\a.SCN");
    DiscWizardModel wizard = disc.Wizard();
    EXPECT_EQ(std::tuple(wizard.speed, wizard.nextEnabled, wizard.backEnabled), std::tuple(-1, false, false));

    disc.dialogs.fileAnswers = {"D:\\Disc", "C:\\Packages"};
    wizard.ChooseDestination();
    EXPECT_EQ(std::tuple(wizard.destinationLine.text, wizard.destinationLine.colour, wizard.nextEnabled),
              std::tuple(std::string("D:\\Disc"), TextColour::Green, true));
    EXPECT_EQ(wizard.Next(), Action::None);
    EXPECT_EQ(std::tuple(wizard.Title(), wizard.nextEnabled, wizard.backEnabled),
              std::tuple(std::string("Мастер создания диска (Шаг 2 из 5)"), false, true));
    wizard.ChooseSource();
    EXPECT_EQ(Names({wizard.sourceLine.text, wizard.countLine, wizard.diagnosisLine}),
              (Names{"C:\\Packages", "2 - файлов", ""}));
    wizard.Next();
    EXPECT_EQ(disc.files.Contents("C:\\Tools\\velmora.ini"),
              "[General]\r\nSpeedInstall=2\r\nSCNFolder=%cdrom%\\Folder SCN\r\nLanguage=ascii\r\n");

    ASSERT_EQ(wizard.Next(), Action::CopyStarted);
    EXPECT_EQ(std::tuple(wizard.step, wizard.Copying(), wizard.nextEnabled, wizard.backEnabled),
              std::tuple(3, true, false, false));
    for (std::size_t done = 1; wizard.CopyStep(); ++done)
        EXPECT_EQ(wizard.CopyDone(), done);
    EXPECT_EQ(std::pair(wizard.CopyDone(), wizard.CopyCount()), std::pair(std::size_t{12}, std::size_t{12}));
    EXPECT_EQ(
        LogLines(wizard),
        (Names{"Сoздание папки D:\\Disc\\Folder SCN",
               CopyLine("C:\\Packages\\a.SCN", "D:\\Disc\\Folder SCN\\a.SCN"),
               CopyLine("C:\\Packages\\b.SCN", "D:\\Disc\\Folder SCN\\b.SCN"),
               CopyLine("C:\\Packages\\position.lst", "D:\\Disc\\Folder SCN\\position.lst"),
               CopyLine("C:\\Tools\\Velmora.exe", "D:\\Disc\\Velmora\\Velmora.exe"),
               CopyLine("C:\\Tools\\Velmora.ini", "D:\\Disc\\Velmora\\Velmora.ini"),
               CopyLine("C:\\Tools\\help.chm", "D:\\Disc\\Velmora\\help.chm"),
               CopyLine("C:\\Tools\\Language\\ascii.lng", "D:\\Disc\\Velmora\\Language\\ascii.lng"),
               CopyLine("C:\\Tools\\Language\\English.lng", "D:\\Disc\\Velmora\\Language\\English.lng"),
               "Создание файла автозапуска D:\\Disc\\autorun.inf", "Процесс копирования завершён успешно"}));
    EXPECT_EQ(disc.files.Contents("D:\\Disc\\autorun.inf"),
              "[Autorun]\r\nopen=velmora\\Velmora.exe\r\nicon=velmora\\Velmora.exe,0\r\n");
    EXPECT_TRUE(disc.files.Copy("C:\\Tools\\help.chm", "D:\\Disc\\Folder SCN\\a.SCN"))
        << "the copy is read-only";
    EXPECT_EQ(std::tuple(wizard.nextCaption, wizard.nextEnabled, wizard.backEnabled),
              std::tuple(std::string("Далее"), true, false));

    wizard.Next();
    EXPECT_EQ(std::tuple(wizard.step, wizard.nextCaption, wizard.backEnabled),
              std::tuple(4, std::string("Финиш"), false));
    EXPECT_EQ(wizard.Next(), Action::Close);
}

// A failure is logged under its operation and every later operation still runs, and the wizard says that not
// all was copied: a file where a folder goes is no folder. (The e2e tests fail a source without its order
// file and the autorun file, and see that the scenario folder setting keeps its value.)
TEST(DiscWizardTest, FailureIsLoggedUnderItsOperationAndTheLaterOperationsStillRun) {
    Disc disc;
    disc.files.AddFile("D:\\Disc\\Velmora");
    DiscWizardModel wizard = disc.Wizard();
    disc.dialogs.fileAnswers = {"D:\\Disc", "C:\\Packages"};
    wizard.ChooseDestination();
    wizard.Next();
    wizard.ChooseSource();
    wizard.Next();
    ASSERT_EQ(wizard.Next(), Action::CopyStarted);
    while (wizard.CopyStep()) {
    }
    const Names lines = LogLines(wizard);
    const Names failure{"Сoздание папки D:\\Disc\\Velmora", "Ошибка создания папки D:\\Disc\\Velmora",
                        CopyLine("C:\\Tools\\Velmora.exe", "D:\\Disc\\Velmora\\Velmora.exe"),
                        "Ошибка копирования файла"};
    EXPECT_NE(std::search(lines.begin(), lines.end(), failure.begin(), failure.end()), lines.end());
    EXPECT_EQ(Names(lines.end() - 2, lines.end()),
              (Names{"Создание файла автозапуска D:\\Disc\\autorun.inf", "Процесс копирования провален"}));
    ASSERT_EQ(disc.dialogs.messages.size(), 1u);  // its words: the e2e tests
    EXPECT_EQ(disc.dialogs.messages[0].icon, MsgIcon::Exclamation);
}

// The close question and its answers are checked end to end.
TEST(DiscWizardTest, CancelledBrowsersEmptySourcesAndGoingBack) {
    Disc disc;
    DiscWizardModel wizard = disc.Wizard();
    disc.dialogs.fileAnswers = {std::nullopt, "D:\\Disc", std::nullopt, "C:\\Empty", "C:\\Packages"};
    wizard.ChooseDestination();
    EXPECT_EQ(std::tuple(wizard.destinationLine.text, wizard.destinationLine.colour, wizard.nextEnabled),
              std::tuple(std::string("Вы должны выбрать расположение"), TextColour::Red, false));
    wizard.ChooseDestination();
    wizard.Next();
    wizard.ChooseSource();
    EXPECT_EQ(
        std::tuple(wizard.sourceLine.text, wizard.sourceLine.colour, wizard.countLine, wizard.nextEnabled),
        std::tuple(std::string("Вы должны выбрать расположение"), TextColour::Red, std::string(), false));
    wizard.ChooseSource();
    EXPECT_EQ(Names({wizard.sourceLine.text, wizard.countLine, wizard.diagnosisLine, wizard.source}),
              (Names{"C:\\Empty", "0 - файлов",
                     "Вы должны выбрать папку, в которой содержиться как минимум 1 файл SCN", ""}));
    EXPECT_EQ(std::pair(wizard.Next(), wizard.step), std::pair(Action::None, 1)) << "Next is disabled";
    wizard.ChooseSource();
    EXPECT_EQ(std::pair(wizard.diagnosisLine, wizard.nextEnabled), std::pair(std::string(), true));

    // Back to the first page and forward again: the accepted source still lets Next on.
    wizard.Next();
    wizard.Back();
    EXPECT_EQ(std::tuple(wizard.step, wizard.nextEnabled, wizard.backEnabled), std::tuple(1, true, true));
    wizard.Back();
    EXPECT_EQ(std::tuple(wizard.step, wizard.nextEnabled, wizard.backEnabled), std::tuple(0, true, false));
    wizard.Next();
    EXPECT_EQ(std::pair(wizard.step, wizard.nextEnabled), std::pair(1, true));
}

// The pages' texts come from the language file, the list of what the disc receives with its dashes.
TEST(DiscWizardTest, TextsComeFromTheLanguageFile) {
    Disc disc;
    disc.LoadEnglish(Disc::ShippedEnglish());
    const DiscWizardModel wizard = disc.Wizard();
    EXPECT_EQ(Names({wizard.texts.cancel, wizard.nextCaption, wizard.destinationLine.text}),
              (Names{"Cancel", "Next >", "Choose a path"}));
    EXPECT_EQ(Names(wizard.texts.contents.begin(), wizard.texts.contents.end()),
              (Names{"- Program \"VELMORA\"", "- \"FOLDER SCN\" - the folder of SCN files",
                     "- File \"Autorun.inf\""}));
}

}  // namespace
}  // namespace velmora
