// The skinned menus' geometry: bar buttons, access keys, item measures and
// the places of an item's glyph, caption and shortcut.
#include "skin/render/menu_layout.h"

#include <gtest/gtest.h>

namespace qh {
namespace {

TEST(MenuLayout, BarButtonsFollowThePartsMarginCaptionsAndDirection) {
    const TMenuBarPart part{true, 7, 9};
    // Caption widths: 30, invisible, empty, 20.
    const std::vector<int> widths{30, -1, 0, 20};
    const std::vector<TRect> ltr = LayoutMenuBar(widths, part, 400, 20, false);
    EXPECT_EQ(ltr[0], (TRect{11, 0, 51, 19})); // left margin + 4, caption + 10
    EXPECT_TRUE(ltr[1].Empty());
    EXPECT_EQ(ltr[2], (TRect{51, 0, 51, 19}));
    EXPECT_EQ(ltr[3], (TRect{51, 0, 81, 19}));
    const std::vector<TRect> rtl = LayoutMenuBar(widths, part, 400, 20, true);
    EXPECT_EQ(rtl[0], (TRect{343, 0, 383, 19})); // from the right, right margin + 8
    EXPECT_EQ(FirstMenuButtonOffset(part, 10, false), 12); // narrower than the offset
    EXPECT_EQ(FirstMenuButtonOffset({}, 400, false), 6);   // no part
}

TEST(MenuLayout, AccessKeysSkipDoubledAmpersandsAndDisabledButtons) {
    EXPECT_EQ(AccessKeyOf(L"视图(&v)"), L'V');
    EXPECT_EQ(AccessKeyOf(L"A&&B"), 0);
    EXPECT_EQ(AccessKeyOf(L"A&&B&c"), L'C');
    EXPECT_EQ(AccessKeyOf(L"end&"), 0);
    const std::vector<TMenuBarCaption> bar{{L"&Tools", false}, {L"&Tabs", true}, {L"&View", true}};
    EXPECT_EQ(MenuButtonForKey(bar, L't'), 1);
    EXPECT_EQ(MenuButtonForKey(bar, L'x'), -1);
    EXPECT_EQ(MenuButtonForKey(bar, 0), -1);
}

TEST(MenuLayout, ItemMeasures) {
    EXPECT_EQ(MeasureMenuItemWidth(50, true, 6, false, 96), 50 + 6 + 10 + 25);
    EXPECT_EQ(MeasureMenuItemWidth(50, false, 6, true, 96), 60);
    EXPECT_EQ(MeasurePopupItemWidth(50, 6, false, 96), 50 + 6 + 12 + 23);
    EXPECT_EQ(MeasurePopupItemWidth(50, 6, true, 96), 68);
    const TRawItemSize text = MeasureRawMenuItem(40, true, false, 15, 6, false, 96);
    EXPECT_EQ(text.Width, 72);
    EXPECT_EQ(text.Height, 19);
    EXPECT_EQ(MeasureRawMenuItem(0, false, true, 15, 6, false, 96).Height, 8);
    EXPECT_EQ(MeasureRawMenuItem(40, true, false, 15, 6, true, 96).Height, 23);
    // At 144 DPI the additions grow by half (halves rounded up); the own
    // width and the part's margin come already at that DPI.
    EXPECT_EQ(MeasurePopupItemWidth(75, 9, false, 144), 75 + 9 + 18 + 35);
    EXPECT_EQ(MeasureMenuItemWidth(75, true, 9, false, 144), 75 + 9 + 15 + 38);
    EXPECT_EQ(MeasureRawMenuItem(0, false, true, 22, 9, false, 144).Height, 12);
}

TEST(MenuLayout, ItemPartsAndTheirMirror) {
    const TRect item{0, 20, 200, 40};
    const TMenuItemPlaces places = PlaceMenuItem(item, 4, 0, false, 12, false, 96);
    EXPECT_EQ(places.GlyphBox, (TRect{5, 21, 21, 37}));
    EXPECT_EQ(places.Caption, (TRect{24, 20, 199, 40}));
    EXPECT_EQ(places.CaptionTop, 24);
    EXPECT_EQ(places.ShortcutEdge, 190);
    // A narrow image list grows to 16 for a checked item; a wide one stays.
    EXPECT_EQ(PlaceMenuItem(item, 4, 12, true, 12, false, 96).GlyphBox.Width(), 16);
    EXPECT_EQ(PlaceMenuItem(item, 4, 12, false, 12, false, 96).GlyphBox.Width(), 12);
    EXPECT_EQ(PlaceMenuItem(item, 4, 24, true, 12, false, 96).GlyphBox.Width(), 24);
    const TMenuItemPlaces mirrored = PlaceMenuItem(item, 4, 0, false, 12, true, 96);
    EXPECT_EQ(mirrored.GlyphBox, (TRect{179, 21, 195, 37}));
    EXPECT_EQ(mirrored.Caption, (TRect{1, 20, 176, 40}));
    EXPECT_EQ(mirrored.ShortcutEdge, 10);
    const TMenuItemPlaces scaled = PlaceMenuItem({0, 30, 300, 60}, 6, 0, true, 18, false, 144);
    EXPECT_EQ(scaled.GlyphBox, (TRect{8, 32, 32, 56}));
    EXPECT_EQ(scaled.Caption.Left, 37);
    EXPECT_EQ(scaled.ShortcutEdge, 285);
}

TEST(MenuLayout, SeparatorRowsComeFromTheImagesBottom) {
    EXPECT_EQ(SeparatorRows(20, 8).Top, 12);
    EXPECT_EQ(SeparatorRows(20, 8).Height, 8);
    EXPECT_EQ(SeparatorRows(6, 8).Top, 0); // an item higher than the image
    EXPECT_EQ(SeparatorRows(6, 8).Height, 6);
    EXPECT_EQ(SeparatorRows(6, -3).Height, 0);
}

} // namespace
} // namespace qh
