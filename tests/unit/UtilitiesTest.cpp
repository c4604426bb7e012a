#include "base/Utilities.h"

#include <gtest/gtest.h>

#include "base/SharedState.h"
#include "platform/doubles/Fakes.h"
#include "platform/doubles/MemoryFileSystem.h"

namespace velmora {
namespace {

TEST(UtilitiesTest, CaseChangesAsciiAndCyrillicAndKeepsOtherBytes) {
    EXPECT_EQ(ToUpper("c:\\программы\\ёлка ґ\\setup.exe"), "C:\\ПРОГРАММЫ\\ЁЛКА Ґ\\SETUP.EXE");
    EXPECT_EQ(ToLower("ПРИВЕТ Ї World"), "привет ї world");
    // Latin letters outside ASCII and other multi-byte characters pass through untouched.
    EXPECT_EQ(ToUpper("é€"), "é€");
    // A lead byte at the very end must not read past the text.
    EXPECT_EQ(ToUpper(std::string("a\xD0", 2)), std::string("A\xD0", 2));
}

TEST(UtilitiesTest, NoCaseComparisonsAcrossScripts) {
    EXPECT_TRUE(EqualsNoCase("Russian", "RUSSIAN"));
    EXPECT_TRUE(EqualsNoCase("Пользователь", "пользователь"));
    EXPECT_FALSE(EqualsNoCase("abc", "abcd"));
    std::string path = "C:\\Документы\\Файл.scn";
    std::size_t at = FindNoCase(path, "файл");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(path.substr(at, std::string("Файл").size()), "Файл");
    EXPECT_EQ(FindNoCase("/nostat /NOSTAT", "/nostat", 1), 8u);
    EXPECT_EQ(FindNoCase("abc", "x"), std::string::npos);
    EXPECT_TRUE(EndsWith("ONE.SCN", ".SCN"));
    EXPECT_FALSE(EndsWith("SCN", ".SCN"));
    EXPECT_EQ(CharCount("Жук"), 3u);
}

TEST(UtilitiesTest, BackslashAndParentFolder) {
    EXPECT_EQ(AddBackslash("C:"), "C:\\");
    EXPECT_EQ(AddBackslash("C:\\"), "C:\\");
    EXPECT_EQ(AddBackslash(""), "");
    EXPECT_EQ(ParentFolder("C:\\dir\\file.exe"), "C:\\dir");
    EXPECT_EQ(ParentFolder("C:\\dir\\sub\\"), "C:\\dir");
    EXPECT_EQ(ParentFolder("C:\\"), "");
    EXPECT_EQ(ParentFolder("file.exe"), "");
    EXPECT_EQ(ParentFolder("\\"), "");
    EXPECT_EQ(ParentFolder(""), "");
}

TEST(UtilitiesTest, FileTitleAndExtension) {
    EXPECT_EQ(FileTitleNoExt("C:\\a\\Foo Setup.exe"), "Foo Setup");
    EXPECT_EQ(FileTitleNoExt("C:\\a\\pkg.v2.scn"), "pkg.v2");
    EXPECT_EQ(FileTitleNoExt("C:\\setup"), "");
    EXPECT_EQ(FileTitleNoExt("setup.exe"), "");
    EXPECT_EQ(FileTitleNoExt(""), "");
    EXPECT_EQ(StripExtension("one.scn"), "one");
    EXPECT_EQ(StripExtension("one"), "");
    // The last character is not looked at, so a name ending in a dot has no extension of its own.
    EXPECT_EQ(StripExtension("a.b."), "a");
    EXPECT_EQ(StripExtension("."), "");
}

TEST(UtilitiesTest, StripQuotesHandlesPairsLoneQuotesAndBlanks) {
    EXPECT_EQ(StripQuotes("  \"C:\\a b\\x.scn\"  "), "C:\\a b\\x.scn");
    EXPECT_EQ(StripQuotes("C:\\x.scn"), "C:\\x.scn");
    EXPECT_EQ(StripQuotes("/inst \"C:\\a b\\x.scn\" more"), "C:\\a b\\x.scn");
    EXPECT_EQ(StripQuotes("\"C:\\open ended"), "C:\\open ended");
    EXPECT_EQ(StripQuotes("ends with\""), "ends with\"");
    EXPECT_EQ(StripQuotes("\""), "\"");
    EXPECT_EQ(StripQuotes("\"\""), "");
    EXPECT_EQ(StripQuotes(""), "");
}

TEST(UtilitiesTest, PathExistsAndIsFolderTrimTheirPath) {
    MemoryFileSystem files;
    files.AddFile("C:\\Setups\\one.scn");
    files.AddFolder("C:\\Empty");
    EXPECT_TRUE(PathExists(files, "  C:\\Setups\\one.scn "));
    EXPECT_TRUE(PathExists(files, "C:\\"));
    EXPECT_TRUE(PathExists(files, "C:\\Empty"));
    EXPECT_FALSE(PathExists(files, "C:\\Setups\\two.scn"));
    EXPECT_FALSE(PathExists(files, "   "));
    EXPECT_TRUE(IsFolder(files, " C:\\Setups "));
    EXPECT_FALSE(IsFolder(files, "C:\\Setups\\one.scn"));
    EXPECT_FALSE(IsFolder(files, ""));
}

TEST(UtilitiesTest, OpenDialogCompletesFilterAndKeepsTheFileTitle) {
    FakeDialogs dialogs;
    SharedState state;
    state.lastFileTitle = "old";
    dialogs.fileAnswers.push_back(std::string("  C:\\Setups\\Foo Setup.exe \0\0", 28));
    EXPECT_EQ(ShowOpenFileDialog(dialogs, state, 0, "Files (*.exe)|*.exe", "Pick", "C:\\"),
              "C:\\Setups\\Foo Setup.exe");
    EXPECT_EQ(state.lastFileTitle, "Foo Setup.exe");
    ASSERT_EQ(dialogs.fileDialogs.size(), 1u);
    EXPECT_EQ(std::get<0>(dialogs.fileDialogs[0]), "Files (*.exe)|*.exe|");

    // Cancelled: empty, and the last title stays.
    EXPECT_EQ(ShowOpenFileDialog(dialogs, state, 0, "A|*.a|", "Pick", ""), "");
    EXPECT_EQ(state.lastFileTitle, "Foo Setup.exe");
    EXPECT_EQ(std::get<0>(dialogs.fileDialogs[1]), "A|*.a|");
}

TEST(UtilitiesTest, SaveDialogAndFolderBrowser) {
    FakeDialogs dialogs;
    dialogs.fileAnswers.push_back(std::string("C:\\out.scn\0", 11));
    EXPECT_EQ(ShowSaveFileDialog(dialogs, 0, "S|*.scn", "Save", ""), "C:\\out.scn");
    EXPECT_EQ(std::get<0>(dialogs.fileDialogs[0]), "S|*.scn|");
    dialogs.fileAnswers.push_back(std::string("C:\\Setups\0junk", 14));
    EXPECT_EQ(BrowseForFolder(dialogs, 0, "", "Folder"), "C:\\Setups");
    EXPECT_EQ(BrowseForFolder(dialogs, 0, "", "Folder"), "");
    EXPECT_EQ(CompleteFilter(""), "");
}

}  // namespace
}  // namespace velmora
