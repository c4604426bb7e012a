#include "packages/PackageList.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/unit/PackageFolder.h"

namespace velmora {
namespace {

using Names = std::vector<std::string>;

// The order file applied as the original program did it, step by step: for each line, search the list from
// the top for the first equal name, swap it with the target position and advance the target. One change: a
// line found once every position is filled is ignored, where the original wrote past the end of the list.
Names ApplyStepByStep(Names list, const Names& lines) {
    std::size_t target = 0;
    for (const std::string& line : lines) {
        for (std::size_t j = 0; j < list.size() && target < list.size(); ++j) {
            if (list[j] == line) {
                std::swap(list[j], list[target]);
                ++target;
                break;
            }
        }
    }
    return list;
}

TEST(ApplyOrderTest, GivesTheStepByStepResultOnRandomLists) {
    const Names pool{"a", "A", "b", "B", "", "ab", "c", "x"};
    std::mt19937 random(7);
    auto upTo = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n)(random); };
    for (int round = 0; round < 20000; ++round) {
        Names names, lines;  // with repeats, and with names missing from the other
        for (std::size_t i = upTo(8); i > 0; --i)
            names.push_back(pool[upTo(pool.size() - 1)]);
        for (std::size_t i = upTo(12); i > 0; --i)
            lines.push_back(pool[upTo(pool.size() - 1)]);
        Names ordered = names;
        ApplyOrder(ordered, lines);
        ASSERT_EQ(ordered, ApplyStepByStep(names, lines)) << "round " << round;
    }
}

TEST(OrderFileTest, LinesEndWithCrLfOrLf) {
    const std::pair<std::string, Names> cases[] = {
        {"", {}}, {"a", {"a"}}, {"a\r\n", {"a"}}, {"\r\n", {""}}, {"a\nb\r\n\r\nc", {"a", "b", "", "c"}}};
    for (const auto& [text, lines] : cases)
        EXPECT_EQ(ParseOrderFile(text), lines) << text;
    EXPECT_EQ(FormatOrderFile({"a", "", "b"}), "a\r\n\r\nb\r\n");
}

class PackageListTest : public ::testing::Test, public PackageFolder {};

TEST_F(PackageListTest, OrderFileReordersTheFolder) {
    for (const char* name : {"d", "B", "a", "c"})
        AddPackage(name);
    const std::pair<std::string, Names> cases[] = {
        {"", {"a", "B", "c", "d"}},
        {"c\r\nx\r\na\r\n", {"c", "a", "B", "d"}},
        {"c\r\nc\r\n", {"B", "c", "a", "d"}},                 // the second c is found at the top and moved on
        {"b\r\n", {"a", "B", "c", "d"}},                      // names compare with their case
        {"d\r\nc\r\nB\r\na\r\na\r\n", {"d", "c", "B", "a"}},  // a line beyond the last position loses nothing
        {"x\r\nd\r\nc\r\nB\r\na\r\n", {"d", "c", "B", "a"}},
        {"d\r\nd\r\nc\r\nB\r\na\r\n", {"a", "d", "c", "B"}},  // every name, but d moved again on the way
    };
    for (const auto& [text, names] : cases) {
        files.AddFile("C:\\Packages\\Position.lst", text);
        ASSERT_TRUE(list.Load(kFolder));
        EXPECT_EQ(Listed(), names) << text;
    }
}

TEST_F(PackageListTest, OrderFileRoundTripsThroughTheCodePage) {
    for (const char* name : {"b", "Пакет", "日本"})
        AddPackage(name);
    ASSERT_TRUE(list.Load(kFolder));
    std::reverse(list.items.begin(), list.items.end());
    ASSERT_TRUE(list.SaveOrder());
    // Cyrillic in code page 1251; the name the code page cannot hold as the system gives it, with '?'.
    EXPECT_EQ(files.Contents("C:\\Packages\\Position.lst"), "??\r\n\xCF\xE0\xEA\xE5\xF2\r\nb\r\n");
    ASSERT_TRUE(list.Load(kFolder));
    EXPECT_EQ(Listed(), (Names{"日本", "Пакет", "b"}));
}

TEST_F(PackageListTest, MissingFolderOrEmptyFolder) {
    AddPackage("a");
    for (const std::string folder : {"C:\\Gone", "C:\\Packages\\a.SCN", ""})
        EXPECT_EQ(std::tuple(list.Load(folder), list.items.size(), list.Folder()), std::tuple(false, 0u, ""));
    files.AddFolder("C:\\Empty");
    std::size_t before = files.FileCount();
    EXPECT_TRUE(list.Load("C:\\Empty"));
    EXPECT_FALSE(list.SaveOrder());
    EXPECT_EQ(files.FileCount(), before);
}

TEST_F(PackageListTest, TipsSayWhatIsMissingOrDescribeThePackage) {
    vars.variables[5].second = "D:\\";
    AddPackage("described", "  Архиватор \t", "%DRIVEAPP%\\Soft\\arc.exe");
    AddPackage("blank", " \t ");
    AddPackage("gone");
    AddPackage("noInstaller", "x", "C:\\Soft\\missing.exe", false);
    files.AddFile("C:\\Packages\\damaged.SCN", "short");
    // Enough installers in one folder for it to be listed: each must still be found as if looked up alone.
    const char* installers[] = {"a.exe", "b.exe", "c.exe", "A.EXE", "tools", "setup.exe"};
    for (int n = 1; n <= 6; ++n)
        AddPackage("p" + std::to_string(n), "", std::string("C:\\Soft\\") + installers[n - 1], false);
    files.AddFile("C:\\Soft\\a.exe");
    files.AddFolder("C:\\Soft\\tools");  // a folder counts, as for every existence check
    ASSERT_TRUE(list.Load(kFolder));
    ASSERT_TRUE(files.Remove("C:\\Packages\\gone.SCN"));
    std::vector<int> ordinals;
    list.LoadTips([&](int ordinal, int count) {
        ordinals.push_back(ordinal);
        EXPECT_EQ(count, 11);
    });
    const std::string none = "Не найден исполняемый файл";
    const Names tips{"blank", none, "described - Архиватор", "Файл не найден", none, "p1", none, none, "p4",
                     "p5",    "p6"};
    for (std::size_t i = 0; i < tips.size(); ++i)
        EXPECT_EQ(list.items[i].tip, tips[i]) << list.items[i].name;
    EXPECT_EQ(ordinals, (std::vector<int>{1, 2, 3, 5, 6, 7, 8, 9, 10, 11}));  // the vanished file is not read
    EXPECT_EQ(list.TipFor("described"), "described - Архиватор");
}

}  // namespace
}  // namespace velmora
