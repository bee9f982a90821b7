#include "toolkit/image_list.h"

#include "test_icons.h"

#include <gtest/gtest.h>

using tray_test::IconColour;
using tray_test::IconHolder;
using tray_test::MakeSolidIcon;

TEST(ImageList, KeepsCopiesOfIconsInOrder) {
    qh::TImageList list(nullptr);
    EXPECT_EQ(list.Count(), 0);
    {
        IconHolder red(MakeSolidIcon(RGB(255, 0, 0)));
        IconHolder blue(MakeSolidIcon(RGB(0, 0, 255)));
        EXPECT_EQ(list.AddIcon(red.Handle), 0);
        EXPECT_EQ(list.AddIcon(blue.Handle), 1);
    }
    // The list keeps its own copies after the originals are gone.
    ASSERT_EQ(list.Count(), 2);
    qh::TIconImage icon;
    ASSERT_TRUE(list.GetIcon(1, icon));
    EXPECT_EQ(IconColour(icon.Handle()), RGB(0, 0, 255));
    ASSERT_TRUE(list.GetIcon(0, icon));
    EXPECT_EQ(IconColour(icon.Handle()), RGB(255, 0, 0));
    EXPECT_EQ(list.AddIcon(nullptr), -1);
}

TEST(ImageList, IndexOutOfRangeLeavesTheIconAlone) {
    qh::TImageList list(nullptr);
    IconHolder green(MakeSolidIcon(RGB(0, 255, 0)));
    list.AddIcon(green.Handle);
    qh::TIconImage icon;
    icon.Assign(green.Handle);
    int changes = 0;
    icon.OnChange = [&] { ++changes; };
    EXPECT_FALSE(list.GetIcon(1, icon));
    EXPECT_FALSE(list.GetIcon(-1, icon));
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(icon.Empty());
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(IconImage, CopiesAndAnnouncesChanges) {
    IconHolder red(MakeSolidIcon(RGB(255, 0, 0)));
    qh::TIconImage icon;
    int changes = 0;
    icon.OnChange = [&] { ++changes; };
    icon.Assign(red.Handle);
    EXPECT_NE(icon.Handle(), red.Handle);
    EXPECT_EQ(IconColour(icon.Handle()), RGB(255, 0, 0));
    icon.Clear();
    EXPECT_TRUE(icon.Empty());
    icon.Clear(); // already empty: no change
    EXPECT_EQ(changes, 2);
    // An icon that cannot be read gives an empty icon.
    icon.Assign(reinterpret_cast<HICON>(static_cast<intptr_t>(0x7FFF0)));
    EXPECT_TRUE(icon.Empty());
    EXPECT_FALSE(icon.LoadFromResource(GetModuleHandleW(nullptr), L"NO_SUCH_ICON"));
}
