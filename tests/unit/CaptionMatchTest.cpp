#include "playback/CaptionMatch.h"

#include <gtest/gtest.h>

#include <tuple>

namespace velmora {
namespace {

TEST(CaptionMatchTest, CaptionsDifferingOnlyInVersionTokensMatchAndWordsNeverDo) {
    // The caption stored, the one shown, and their distance (-1: not the same window).
    const std::tuple<const char*, const char*, int> cases[] = {
        {"Quill Tool 1.0 Setup: License Agreement", "Quill Tool 1.1 Setup: License Agreement", 1},
        {"Setup - Heron Notes version 1.0", "Setup - Heron Notes version 1.1.2", 1},
        {"Report 2023", "Report 2024", 1},
        {"Viewer v5 Setup", "Viewer v6 Setup", 1},
        {"Viewer 5.0b2 (2023)", "Viewer 5.1rc1 (2024)", 2},
        {"Tool 2.1-rc1 Setup", "Tool 2.2-rc2 Setup", 1},
        {"Tool 2.1-rc1 Setup", "Tool 2.1 Setup", 1},               // the release after its candidate
        {"Установка Редактор 7.4", "Установка РЕДАКТОР 7.5", 1},   // letter case, Cyrillic too
        {"  Quill  Tool 1.0 Setup ", "Quill Tool 1.0 Setup", 0},   // blanks
        {"Quill Tool 1.0 Setup", "Quill Tool 1.0 Uninstall", -1},  // a word
        {"Quill Tool 1.0 Setup", "Quill Tool 1.0", -1},
        {"Quill Tool 1.0 Setup", "Quill Tool Setup", -1},  // a version token fewer
        {"Viewer v5", "Viewer 5", 1},
        {"Driver 64bit", "Driver 64 bit", -1},
        {"Dev5 Setup", "Dev6 Setup", 1},
        {"Devs Setup", "Dev6 Setup", -1},
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

}  // namespace
}  // namespace velmora
