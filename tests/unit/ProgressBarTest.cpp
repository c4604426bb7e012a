#include "base/ProgressBar.h"

#include <gtest/gtest.h>

#include <climits>

namespace velmora {
namespace {

TEST(ProgressBarTest, FillsItsShareOfTheRangeAndNamesItInWholePercent) {
    struct Case {
        int min, max, value, width;
        ProgressPicture shown;
    };
    const Case cases[] = {
        {10, 20, 15, 249, {125, "50%"}},  // 124.5 rounds up
        {10, 20, 20, 249, {249, "100%"}}, {0, 3, 1, 100, {33, "33%"}},
        {0, 10, -5, 100, {0, "0%"}},  // outside the range: within the bar
        {0, 10, 30, 100, {100, "100%"}},  {INT_MIN, INT_MAX, INT_MAX, 100, {100, "100%"}},
        {7, 7, 30, 100, {0, "0%"}},  // an empty range
    };
    for (const Case& c : cases) {
        ProgressBar bar;
        bar.SetRange(c.min, c.max);
        bar.SetValue(c.value);
        EXPECT_EQ((ProgressPicture{bar.FilledWidth(c.width), bar.PercentText()}), c.shown)
            << c.value << " of " << c.min << ".." << c.max;
    }
}

TEST(ProgressBarTest, DrawsOnlyWhenTheFilledWidthChanges) {
    ProgressBar bar;
    bar.SetRange(0, 1000);
    bar.SetValue(1);  // 0.1 pixel: nothing to show yet
    EXPECT_FALSE(bar.Update(100));
    EXPECT_FALSE(bar.Picture().has_value());

    bar.SetValue(10);
    ASSERT_TRUE(bar.Update(100));
    EXPECT_EQ(bar.Picture(), (ProgressPicture{1, "1%"}));
    bar.SetValue(14);  // still one pixel: the text keeps its old value
    EXPECT_FALSE(bar.Update(100));
    EXPECT_EQ(bar.Picture(), (ProgressPicture{1, "1%"}));

    bar.SetValue(1000);
    ASSERT_TRUE(bar.Update(100));
    EXPECT_EQ(bar.Picture(), (ProgressPicture{100, "100%"}));
    bar.SetValue(0);  // going back empties the bar instead of leaving it full
    ASSERT_TRUE(bar.Update(100));
    EXPECT_EQ(bar.Picture(), (ProgressPicture{0, "0%"}));
}

}  // namespace
}  // namespace velmora
