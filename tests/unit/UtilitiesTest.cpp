#include "base/Utilities.h"

#include <gtest/gtest.h>

#include <random>

#include "base/SharedState.h"
#include "platform/doubles/Fakes.h"

namespace velmora {
namespace {

TEST(UtilitiesTest, CaseChangesAsciiAndCyrillicAndKeepsOtherBytes) {
    EXPECT_EQ(ToUpper("c:\\программы\\ёлка ґ\\setup.exe"), "C:\\ПРОГРАММЫ\\ЁЛКА Ґ\\SETUP.EXE");
    EXPECT_EQ(ToLower("ПРИВЕТ Ї World é€"), "привет ї world é€");
}

// The search must find what searching the folded copies finds, whatever mix of cases, Cyrillic letters and
// stray bytes the texts hold.
TEST(UtilitiesTest, FindNoCaseFindsWhatTheFoldedCopiesFind) {
    const char* pieces[] = {"a", "A", "%", "z", "Z", "б", "Б", "ё", "Ё", "\xD0", "\x90"};
    std::mt19937 random(3);
    auto upTo = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n)(random); };
    auto text = [&](std::size_t most) {
        std::string out;
        for (std::size_t n = upTo(most); n > 0; --n)
            out += pieces[upTo(std::size(pieces) - 1)];
        return out;
    };
    for (int round = 0; round < 50000; ++round) {
        std::string haystack = text(10), needle = text(3);
        std::size_t from = upTo(haystack.size() + 1);
        ASSERT_EQ(FindNoCase(haystack, needle, from), ToLower(haystack).find(ToLower(needle), from))
            << haystack << " / " << needle << " from " << from;
    }
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
