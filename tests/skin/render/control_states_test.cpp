#include "skin/render/control_states.h"

#include <gtest/gtest.h>

using namespace qh;

TEST(ControlStates, CheckImagesByStripLength) {
    // Eight images: the unchecked four, then the checked four.
    EXPECT_EQ(CheckImageState(kUnchecked, false, false, true, 8), 1);
    EXPECT_EQ(CheckImageState(kUnchecked, true, false, true, 8), 2);
    EXPECT_EQ(CheckImageState(kChecked, true, true, true, 8), 7);
    EXPECT_EQ(CheckImageState(kChecked, true, true, false, 8), 8);
    // Grayed has its own four only in a strip of twelve.
    EXPECT_EQ(CheckImageState(kGrayed, false, false, true, 8), 5);
    EXPECT_EQ(CheckImageState(kGrayed, false, false, true, 12), 9);
    // Shorter strips: unchecked and checked, disabled after them when there.
    EXPECT_EQ(CheckImageState(kChecked, true, false, true, 4), 2);
    EXPECT_EQ(CheckImageState(kChecked, false, false, false, 4), 4);
    EXPECT_EQ(CheckImageState(kChecked, false, false, false, 2), 2);
}

TEST(ControlStates, MarkAndCaptionPlaces) {
    const TCheckLayout left = PlaceCheckMark(100, 17, 13, 13, false);
    EXPECT_EQ(left.Mark, (TRect{0, 2, 13, 15}));
    EXPECT_EQ(left.Text, (TRect{17, 0, 100, 17}));
    const TCheckLayout right = PlaceCheckMark(100, 12, 13, 13, true);
    EXPECT_EQ(right.Mark, (TRect{87, 0, 100, 13}));
    EXPECT_EQ(right.Text, (TRect{0, 0, 83, 12}));
}

TEST(ControlStates, UpDownAndTabs) {
    const TUpDownHalves v = UpDownHalves(17, 21, false);
    EXPECT_EQ(v.First, (TRect{0, 0, 17, 10}));
    EXPECT_EQ(v.Second, (TRect{0, 10, 17, 21}));
    EXPECT_EQ(UpDownHalves(30, 16, true).Second, (TRect{15, 0, 30, 16}));
    EXPECT_EQ(UpDownState(false, true, false, true), 2);
    EXPECT_EQ(UpDownState(true, true, true, true), 7);
    EXPECT_EQ(UpDownState(true, false, false, false), 8);
    EXPECT_EQ(TabState(true, true, false), 2);
    EXPECT_EQ(TabState(false, true, false), 3);
    EXPECT_EQ(TabState(false, true, true), 4);
}

TEST(ControlStates, ProgressFillIsProportionalAndClamped) {
    const TRect inner{4, 4, 104, 20};
    EXPECT_EQ(ProgressFill(inner, 0, 100, 30, false), (TRect{4, 4, 34, 20}));
    EXPECT_EQ(ProgressFill(inner, 0, 100, 250, false), inner);
    EXPECT_TRUE(ProgressFill(inner, 0, 100, -5, false).Empty());
    EXPECT_TRUE(ProgressFill(inner, 5, 5, 5, false).Empty());
    EXPECT_EQ(ProgressFill(inner, -100, 100, 0, true), (TRect{4, 12, 104, 20}));
    // No overflow across the whole integer range.
    EXPECT_EQ(ProgressFill(inner, -2147483647 - 1, 2147483647, 2147483647, false), inner);
}
