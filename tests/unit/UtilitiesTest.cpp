#include "base/Utilities.h"

#include <gtest/gtest.h>

#include "base/SharedState.h"
#include "platform/doubles/Fakes.h"

namespace velmora {
namespace {

TEST(UtilitiesTest, CaseChangesAsciiAndCyrillicAndKeepsOtherBytes) {
    EXPECT_EQ(ToUpper("c:\\программы\\ёлка ґ\\setup.exe"), "C:\\ПРОГРАММЫ\\ЁЛКА Ґ\\SETUP.EXE");
    EXPECT_EQ(ToLower("ПРИВЕТ Ї World é€"), "привет ї world é€");
    // A lead byte at the very end must not read past the text.
    EXPECT_EQ(ToUpper(std::string("a\xD0", 2)), std::string("A\xD0", 2));
    const std::string path = "C:\\Документы\\Файл.scn";
    EXPECT_EQ(path.substr(FindNoCase(path, "файл"), std::string("Файл").size()), "Файл");
    EXPECT_EQ(FindNoCase("/nostat /NOSTAT", "/nostat", 1), 8u);
}

// The common dialogs hand back fixed buffers: the text ends at the first NUL, blanks around it go.
TEST(UtilitiesTest, FileDialogsCompleteTheFilterAndCutTheAnswerAtItsEnd) {
    FakeDialogs dialogs;
    SharedState state;
    dialogs.fileAnswers.push_back(std::string("  C:\\Setups\\Foo Setup.exe \0\0", 28));
    EXPECT_EQ(ShowOpenFileDialog(dialogs, state, 0, "Files (*.exe)|*.exe", "Pick", "C:\\"),
              "C:\\Setups\\Foo Setup.exe");
    EXPECT_EQ(state.lastFileTitle, "Foo Setup.exe");
    EXPECT_EQ(std::get<0>(dialogs.fileDialogs[0]), "Files (*.exe)|*.exe|");
    EXPECT_EQ(ShowOpenFileDialog(dialogs, state, 0, "A|*.a|", "Pick", ""), "");  // cancelled
    EXPECT_EQ(state.lastFileTitle, "Foo Setup.exe");
    EXPECT_EQ(std::get<0>(dialogs.fileDialogs[1]), "A|*.a|");
    dialogs.fileAnswers.push_back(std::string("C:\\Setups\0junk", 14));
    EXPECT_EQ(BrowseForFolder(dialogs, 0, "", "Folder"), "C:\\Setups");
}

}  // namespace
}  // namespace velmora
