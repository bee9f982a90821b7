#include <gtest/gtest.h>

#include "skin/render/caption_button_states.h"

namespace qh {
namespace {

using S = TCaptionButtonStates;

TEST(CaptionButtonStates, AClickActsOnlyWhenPressAndReleaseMeetOnOneButton) {
    S s;
    s.SetActive(true);
    EXPECT_TRUE(s.PointerOver(2));
    EXPECT_EQ(s.StateOf(2), S::Hot);
    EXPECT_EQ(s.StateOf(0), S::Normal);
    EXPECT_TRUE(s.Press(2));
    EXPECT_EQ(s.StateOf(2), S::Pressed);
    // Dragged off, the pressed button pops up and no other turns hot.
    EXPECT_TRUE(s.PointerOver(1));
    EXPECT_EQ(s.StateOf(2), S::Normal);
    EXPECT_EQ(s.StateOf(1), S::Normal);
    EXPECT_FALSE(s.Release(1));
    EXPECT_EQ(s.StateOf(1), S::Hot);
    // Pressed on one, released on another: nothing acts.
    s.Press(1);
    EXPECT_FALSE(s.Release(2));
    s.Press(2);
    EXPECT_TRUE(s.Release(2));
    EXPECT_EQ(s.StateOf(2), S::Hot);
    // A release nobody pressed for does nothing.
    EXPECT_FALSE(s.Release(2));
}

TEST(CaptionButtonStates, NoWayOfHidingOrRepaintingLeavesAButtonStuck) {
    S s;
    s.SetActive(true);
    s.Press(0);
    // The window hides during the click (its release goes elsewhere), then
    // shows again: the button is normal and the next click acts.
    EXPECT_TRUE(s.Reset());
    EXPECT_EQ(s.StateOf(0), S::Normal);
    EXPECT_FALSE(s.Release(0));
    s.Press(0);
    EXPECT_TRUE(s.Release(0));

    // Deactivation drops both hover and press; an inactive window hovers nothing.
    s.Press(0);
    EXPECT_TRUE(s.SetActive(false));
    EXPECT_FALSE(s.PointerOver(0));
    EXPECT_EQ(s.StateOf(0), S::Normal);
    EXPECT_FALSE(s.Release(0));
    // The press that brings a window to the front acts, whenever the
    // activation arrives.
    s.Press(0);
    EXPECT_EQ(s.StateOf(0), S::Pressed);
    s.SetActive(true);
    EXPECT_TRUE(s.Release(0));

    // A whole repaint forgets the hover but not a press in progress.
    s.PointerOver(1);
    EXPECT_TRUE(s.ForgetHover());
    EXPECT_EQ(s.StateOf(1), S::Normal);
    s.Press(1);
    s.ForgetHover();
    EXPECT_EQ(s.StateOf(1), S::Normal);
    EXPECT_TRUE(s.Release(1));

    // A press whose release was lost ends without acting.
    s.Press(1);
    EXPECT_TRUE(s.CancelPress());
    EXPECT_EQ(s.StateOf(1), S::Hot);
    EXPECT_FALSE(s.Release(1));
}

} // namespace
} // namespace qh
