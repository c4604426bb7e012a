#include "base/ProgressBar.h"

#include <gtest/gtest.h>

#include <climits>

namespace velmora {
namespace {

TEST(ProgressBarTest, FillsItsShareOfTheRangeAndNamesItInWholePercent) {
    ProgressBar bar;
    bar.SetRange(10, 20);
    bar.SetValue(15);
    EXPECT_EQ(bar.FilledWidth(249), 125);  // 124.5 rounds up
    EXPECT_EQ(bar.PercentText(), "50%");
    bar.SetValue(20);
    EXPECT_EQ(bar.FilledWidth(249), 249);
    EXPECT_EQ(bar.PercentText(), "100%");
    bar.SetRange(0, 3);
    bar.SetValue(1);
    EXPECT_EQ(bar.PercentText(), "33%");
}

TEST(ProgressBarTest, ValuesOutsideTheRangeAndAnEmptyRangeStayWithinTheBar) {
    ProgressBar bar;
    bar.SetRange(0, 10);
    bar.SetValue(-5);
    EXPECT_EQ(bar.FilledWidth(100), 0);
    EXPECT_EQ(bar.PercentText(), "0%");
    bar.SetValue(30);
    EXPECT_EQ(bar.FilledWidth(100), 100);
    bar.SetRange(INT_MIN, INT_MAX);
    bar.SetValue(INT_MAX);
    EXPECT_EQ(bar.PercentText(), "100%");
    bar.SetRange(7, 7);
    EXPECT_EQ(bar.FilledWidth(100), 0);
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
