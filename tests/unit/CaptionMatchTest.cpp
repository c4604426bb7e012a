#include "playback/CaptionMatch.h"

#include <gtest/gtest.h>

#include <tuple>

#include "platform/doubles/FakeWindowSystem.h"
#include "playback/WindowChain.h"

namespace velmora {
namespace {

TEST(CaptionMatchTest, CaptionsDifferingOnlyInVersionsMatchAndCountsCodesAndWordsNeverDo) {
    // The caption stored, the one shown, and their distance (-1: not the same window).
    const std::tuple<const char*, const char*, int> cases[] = {
        {"Quill Tool 1.0 Setup: License Agreement", "Quill Tool 1.1 Setup: License Agreement", 1},
        {"Setup - Heron Notes version 1.0", "Setup - Heron Notes version 1.1.2", 1},
        {"Driver 6.4.1.7", "Driver 6.4.2.0", 1},
        {"Report 2023", "Report 2024", 1},
        {"Viewer v5 Setup", "Viewer v6 Setup", 1},
        {"Viewer 5.0b2 (2023)", "Viewer 5.1rc1 (2024)", 2},
        {"Tool 2.1-rc1 Setup", "Tool 2.2-rc2 Setup", 1},
        {"Tool 2.1-rc1 Setup", "Tool 2.1 Setup", 1},  // the release after its candidate
        {"Tool 2.1 beta 2 Setup", "Tool 2.1 beta 3 Setup", 1},
        {"Tool 3.0 build 7", "Tool 3.0 build 12", 1},
        {"Quill 2.0 64-bit", "Quill 2.1 64-bit", 1},
        {"Установка Редактор 7.4", "Установка РЕДАКТОР 7.5", 1},   // letter case, Cyrillic too
        {"  Quill  Tool 1.0 Setup ", "Quill Tool 1.0 Setup", 0},   // blanks
        {"Quill Tool 1.0 Setup", "Quill Tool 1.0 Uninstall", -1},  // a word
        {"Quill Tool 1.0 Setup", "Quill Tool Setup", -1},          // a version token fewer
        {"Tool 3.0 build 7", "Tool 3.0 build", -1},
        // Numbers that count or name something else.
        {"Setup - Step 3 of 4", "Setup - Step 2 of 4", -1},
        {"Setup - Step 3.1 of 2024", "Setup - Step 3.2 of 2025", -1},
        {"Installing: 100% complete", "Installing: 45% complete", -1},
        {"Installing: 45.5 % complete", "Installing: 46.5 % complete", -1},
        {"Quill (x86)", "Quill (x64)", -1},
        {"Quill 64-bit", "Quill 32-bit", -1},
        {"Quill 2.0 64-bit", "Quill 2.0 32-bit", -1},
        {"Windows 10", "Windows 11", -1},
        {"1st page", "2nd page", -1},
        {"Error 1603", "Error 1618", -1},
        {"Error: 2001", "Error: 2002", -1},
        {"Page 1.2", "Page 1.3", -1},
        {"Code #2020", "Code #2021", -1},
        {"Ошибка 2001", "Ошибка 2002", -1},
        {"Шаг 1.1 из 2.1", "Шаг 1.2 из 2.2", -1},
        {"Страница 2.1", "Страница 2.2", -1},
        {"Код: 2020", "Код: 2021", -1},
        {"Win10 Setup", "Win11 Setup", -1},
        {"Dev5.0 Setup", "Dev6.0 Setup", -1},
        {"Player mp3 1.0", "Player mp4 1.0", -1},
        {"Viewer v5", "Viewer 5", -1},
        {"Driver 64bit", "Driver 64 bit", -1},
        {"", "", 0},
    };
    for (const auto& [stored, shown, distance] : cases)
        EXPECT_EQ(VersionDistance(stored, shown).value_or(-1), distance) << stored << " / " << shown;
}

TEST(CaptionMatchTest, TheNearestCaptionWinsAndATieIsNoMatch) {
    EXPECT_EQ(NearestByVersion("Tool 1.0 (2023)", {"Other 1.1", "Tool 1.1 (2024)", "Tool 1.1 (2023)"}), 2u);
    EXPECT_EQ(NearestByVersion("Tool 1.0", {"Tool 1.1", "Tool 2.0"}), std::nullopt);
    EXPECT_EQ(NearestByVersion("Tool 1.0", {"Tool 1.1", "Tool 1.0"}), 1u);
    EXPECT_EQ(NearestByVersion("Tool 1.0", {"Toolkit 1.1"}), std::nullopt);
    EXPECT_EQ(NearestByVersion("Tool 1.0", {}), std::nullopt);
}

// Once 1.0 became 1.1 (and 2023 stayed), a package's later near matches make the same substitutions.
TEST(CaptionMatchTest, APackagesLaterNearMatchesMakeTheSubstitutionsItAccepted) {
    VersionSubstitutions learned;
    LearnSubstitutions("Quill 1.0 (2023)", "Quill 1.1 (2023)", learned);
    EXPECT_EQ(learned, (VersionSubstitutions{{"1.0", "1.1"}, {"2023", "2023"}}));
    const std::tuple<const char*, const char*, int> cases[] = {
        {"Quill 1.0 Setup", "Quill 1.1 Setup", 1},
        {"Quill 1.0 Setup", "Quill 1.2 Setup", -1},
        {"Quill 2023 Notes", "Quill 2024 Notes", -1},
        {"Quill 2.0 Tools", "Quill 2.1 Tools", 1},  // not seen yet
        {"Quill 2.0 and 2.0", "Quill 2.1 and 2.2", -1},
    };
    for (const auto& [stored, shown, distance] : cases)
        EXPECT_EQ(VersionDistance(stored, shown, learned).value_or(-1), distance) << stored << " / " << shown;
    EXPECT_EQ(NearestByVersion("Quill 1.0", {"Quill 1.2", "Quill 1.1"}, learned), 1u);
}

// An earlier package's installer left running, a second copy or any program with the same caption: the
// installer's windows come first, its next version's caption included, and another program's window is
// taken only by its exact caption, which the match says. Inside a window, the parent's children.
TEST(CaptionMatchTest, TheInstallersWindowsComeFirstAndAnotherProgramsOnlyByTheExactCaption) {
    FakeWindowSystem windows;
    // A dialog of the process, in front of those added before it, with its Next button, which it returns.
    auto dialog = [&](const std::string& caption, SystemProcessId process) {
        const WindowId window = windows.AddTopLevel("#32770", caption, 0, 0, 400, 300);
        windows.Get(window).process = process;
        return windows.AddChild(window, "Button", "&Next >", 300, 250, 80, 25);
    };
    const WindowId next = dialog("Quill 1.1 Setup", 501);
    const WindowId leftoverNext = dialog("Quill 1.0 Setup", 777);
    auto find = [&](const std::string& caption, std::vector<SystemProcessId> job,
                    WindowRef inside = {"Button", "&Next >", 1}) {
        const ChainMatch match = FindChainWindow(windows, {{"#32770", caption, 1}, inside}, job);
        return std::make_tuple(match.window, match.nearCaptions.size(), match.outsideInstaller);
    };
    EXPECT_EQ(find("Quill 1.0 Setup", {501}), std::make_tuple(next, 1u, false));
    // Whose windows they are is not known: only the exact caption.
    EXPECT_EQ(find("Quill 1.0 Setup", {}), std::make_tuple(leftoverNext, 0u, true));
    const WindowId copyNext = dialog("Quill 1.1 Setup", 778);
    EXPECT_EQ(find("Quill 1.1 Setup", {501}), std::make_tuple(next, 0u, false));
    EXPECT_EQ(find("Quill 1.1 Setup", {502}), std::make_tuple(copyNext, 0u, true));
    windows.AddChild(windows.Parent(next), "Button", "Install 2.1", 9, 9, 80, 25);
    const WindowId second = windows.AddChild(windows.Parent(next), "Button", "Install 2.1", 99, 9, 80, 25);
    EXPECT_EQ(find("Quill 1.1 Setup", {501}, {"Button", "Install 2.0", 2}),
              std::make_tuple(second, 1u, false));
    EXPECT_EQ(std::get<0>(find("Quill 1.1 Setup", {501}, {"Button", "Install 2.0", 3})), 0u);
    windows.AddChild(windows.Parent(next), "Button", "Install 2.2", 189, 9, 80, 25);
    EXPECT_EQ(std::get<0>(find("Quill 1.1 Setup", {501}, {"Button", "Install 2.0", 1})), 0u);  // a tie
    // A chain of one window is never taken by a near caption.
    windows.Get(windows.AddTopLevel("QuillSetupForm", "Quill 1.1 Setup", 0, 0, 400, 300)).process = 501;
    EXPECT_EQ(FindChainWindow(windows, {{"QuillSetupForm", "Quill 1.0 Setup", 1}}, {501}).window, 0u);
    // What the package learned holds in the chain too.
    const std::vector<WindowRef> v10{{"#32770", "Quill 1.0 Setup", 1}, {"Button", "&Next >", 1}};
    EXPECT_EQ(FindChainWindow(windows, v10, {501}, {{"1.0", "1.2"}}).window, leftoverNext);
    EXPECT_EQ(FindChainWindow(windows, v10, {501}).substitutions, (VersionSubstitutions{{"1.0", "1.1"}}));
}

}  // namespace
}  // namespace velmora
