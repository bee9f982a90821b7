// Menu items measured and drawn from each shipped skin: the MenuItem
// part's state image under the content, the caption's colour by state,
// marks for checked and radio items, bold default items, separators from
// the image's bottom rows, and the plain fallback without the part.
#include "members_env.h"

#include "skin/engine/dib_section.h"
#include "skin/engine/menus/skin_menu_items.h"
#include "skin/render/compose.h"
#include "toolkit/actions.h"
#include "toolkit/menus.h"
#include "tests/support/text_ink.h"

using namespace qh;
using namespace qh::test;

namespace {

constexpr int kWidth = 160, kHeight = 20;

COLORREF Rgb(int32_t colour) { return ColorToRGB(static_cast<TColor>(colour)); }

// The item drawn on its own, off screen, in the given owner-draw state.
TBitmap Drawn(const TSkinData& data, const TMenuItem& item, UINT state) {
    TDibSection picture(kWidth, kHeight);
    SkinnedItemPainter(data, 96, item, picture.Dc(), {0, 0, kWidth, kHeight}, state, nullptr);
    picture.Sync();
    return picture.Bitmap();
}

int PixelsOf(const TBitmap& b, COLORREF colour, int left = 0, int right = kWidth) {
    int n = 0;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = left; x < right; ++x)
            n += qh::test::NearColour(ColorToRGB(b.GetPixel(x, y)), colour);
    return n;
}

// Whether the far end of the item, where no content goes, shows the
// part's state image over the Menu colour.
bool FarEndIsState(const TBitmap& shown, const TSkinData& data, int state) {
    const TDataSkinObject& part = *data.MenuItem;
    const TBitmap face = ComposeImage(
        {0, 0, kWidth, kHeight}, part.Image,
        {part.LeftWidth, part.TopHeight, part.RightWidth, part.BottomHeight}, false,
        part.Tile != 0, 5, state);
    for (int y = 0; y < kHeight; y += 3)
        for (int x = kWidth - 8; x < kWidth; ++x) {
            const TColor c = face.GetPixel(x, y);
            const COLORREF want = part.Trans == 1 && c == kColourKey ? Rgb(data.Colours.Menu)
                                                                     : ColorToRGB(c);
            if (ColorToRGB(shown.GetPixel(x, y)) != want) return false;
        }
    return true;
}

// Pixels right of `left` where the item differs from one with no caption.
int InkAgainst(const TBitmap& shown, const TBitmap& empty, int left) {
    int n = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = left; x < kWidth; ++x)
            n += shown.GetPixel(x, y) != empty.GetPixel(x, y);
    return n;
}

bool SameBox(const TBitmap& a, const TBitmap& b, int left, int right) {
    for (int y = 0; y < kHeight; ++y)
        for (int x = left; x < right; ++x)
            if (a.GetPixel(x, y) != b.GetPixel(x, y)) return false;
    return true;
}

} // namespace

TEST_F(SkinMembers, MenuItemsAreMeasuredAndDrawnFromEachSkinsMenuItemPart) {
    for (const char* file : {"default.skn", "crystal.skn", "mac.skn"}) {
        SCOPED_TRACE(file);
        TForm form(Application);
        std::unique_ptr<TSkinData> data = MakeSkinData(&form, file);
        ASSERT_TRUE(data->MenuItem && !data->MenuItem->Image.Empty());
        const int margin = data->MenuItem->LeftWidth;
        auto* menu = new TPopupMenu(&form);
        auto add = [&](const char* caption) {
            auto* item = new TMenuItem(&form);
            item->SetCaption(caption);
            menu->Items()->Add(item);
            return item;
        };
        TMenuItem* plain = add("显示按钮");
        plain->SetShortCut(static_cast<int>(ShortCut('B', scCtrl)));
        TMenuItem* checked = add("显示按钮");
        checked->SetChecked(true);
        TMenuItem* radio = add("显示按钮");
        radio->SetChecked(true);
        radio->SetRadioItem(true);
        TMenuItem* bold = add("显示按钮");
        bold->SetDefault(true);
        TMenuItem* line = add("-");

        // A popup item grows by the part's left margin + 12, and 23 more
        // without an image list.
        HDC screen = GetDC(nullptr);
        int own = 0, ownHeight = 0;
        plain->MeasureItem(screen, own, ownHeight);
        ReleaseDC(nullptr, screen);
        TSkinnedPopupMenus dressed(nullptr);
        dressed.Dress(form, *data);
        MEASUREITEMSTRUCT measure{};
        measure.CtlType = ODT_MENU;
        measure.itemID = plain->Command();
        ASSERT_TRUE(TMenuItem::DispatchMeasureItem(&measure));
        EXPECT_EQ(static_cast<int>(measure.itemWidth), own + margin + 12 + 23);

        const TBitmap normal = Drawn(*data, *plain, 0);
        const TBitmap selected = Drawn(*data, *plain, ODS_SELECTED);
        EXPECT_TRUE(FarEndIsState(normal, *data, 1));
        EXPECT_TRUE(FarEndIsState(selected, *data, 4));
        const COLORREF menuText = Rgb(data->Colours.MenuText);
        const COLORREF hilightText = Rgb(data->Colours.HilightText);
        // Caption and shortcut ink in the colour of the state.
        EXPECT_GT(PixelsOf(normal, menuText, 20, kWidth - 10), 12);
        EXPECT_GT(PixelsOf(selected, hilightText, 20, kWidth - 10), 12);
        // The shortcut ends 10 pixels before the edge.
        EXPECT_EQ(PixelsOf(normal, menuText, kWidth - 10, kWidth), 0);
        EXPECT_GT(PixelsOf(normal, menuText, kWidth - 30, kWidth - 10), 5);
        plain->SetEnabled(false);
        const COLORREF grey = data->Colours.ButtonShadow == data->Colours.MenuText
                                  ? GetSysColor(COLOR_GRAYTEXT)
                                  : Rgb(data->Colours.ButtonShadow);
        EXPECT_GT(PixelsOf(Drawn(*data, *plain, ODS_DISABLED), grey, 20, kWidth - 10), 12);

        // Checked and radio items carry the same mark in the glyph box;
        // the plain one none.
        const int boxLeft = 1 + margin, boxRight = boxLeft + 18;
        const TBitmap check = Drawn(*data, *checked, 0), bullet = Drawn(*data, *radio, 0);
        const TBitmap unmarked = Drawn(*data, *bold, 0);
        EXPECT_FALSE(SameBox(check, unmarked, boxLeft, boxRight));
        EXPECT_TRUE(SameBox(check, bullet, boxLeft, boxRight));
        // A default item is bold: more ink than the same caption plain.
        TMenuItem blank(&form);
        blank.SetCaption(" ");
        const TBitmap empty = Drawn(*data, blank, 0);
        EXPECT_GT(InkAgainst(unmarked, empty, boxRight), InkAgainst(check, empty, boxRight) + 10);

        // A separator is the image's second state's bottom rows, not an
        // etched line: its rows match those of the image at the far end.
        const TBitmap separator = Drawn(*data, *line, 0);
        const TBitmap& strip = data->MenuItem->Image;
        const int cell = strip.Width() / 5;
        int same = 0, keyed = 0;
        for (int y = 0; y < std::min(kHeight, strip.Height()); ++y) {
            const TColor want = strip.GetPixel(2 * cell - 1, strip.Height() - 1 - y);
            if (want == kColourKey) {
                ++keyed;
                continue;
            }
            same += separator.GetPixel(kWidth - 1, kHeight - 1 - y) == want;
        }
        EXPECT_EQ(same + keyed, std::min(kHeight, strip.Height()));
        EXPECT_GT(same, 0);
        dressed.Release();
        EXPECT_FALSE(plain->OnDrawItem);
    }

    // Without the part: Hilight or Menu fill, and an etched line 4 pixels down.
    TForm form(Application);
    std::unique_ptr<TSkinData> data = MakeSkinData(&form, "default.skn");
    data->MenuItem.reset();
    TMenuItem line(&form), item(&form);
    line.SetCaption("-");
    item.SetCaption("关于");
    const TBitmap etched = Drawn(*data, line, 0);
    EXPECT_EQ(ColorToRGB(etched.GetPixel(80, 4)), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(ColorToRGB(etched.GetPixel(80, 5)), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(ColorToRGB(etched.GetPixel(80, 12)), Rgb(data->Colours.Menu));
    EXPECT_EQ(ColorToRGB(Drawn(*data, item, ODS_SELECTED).GetPixel(kWidth - 2, 2)),
              Rgb(data->Colours.Hilight));
}

TEST_F(SkinMembers, MarksAreInkOnTheItemsOwnPictureAndItemImagesShowTheirState) {
    for (const char* file : {"default.skn", "crystal.skn", "mac.skn"}) {
        SCOPED_TRACE(file);
        TForm form(Application);
        std::unique_ptr<TSkinData> data = MakeSkinData(&form, file);
        const int boxLeft = 1 + data->MenuItem->LeftWidth, boxRight = boxLeft + 18;
        TMenuItem plain(&form), radio(&form);
        plain.SetCaption("显示按钮");
        radio.SetCaption("显示按钮");
        radio.SetRadioItem(true);
        // The action decides the check mark just before the item is drawn.
        TAction action(&form);
        action.OnUpdate = [&](TObject*) { action.SetChecked(true); };
        radio.SetAction(&action);
        ASSERT_FALSE(radio.Checked());
        for (UINT state : {0u, static_cast<UINT>(ODS_SELECTED)}) {
            const COLORREF ink = Rgb(state ? data->Colours.HilightText : data->Colours.MenuText);
            const TBitmap bare = Drawn(*data, plain, state), marked = Drawn(*data, radio, state);
            // Every pixel of the box is the item's own picture or the mark's ink.
            int inked = 0, foreign = 0;
            for (int y = 0; y < kHeight; ++y)
                for (int x = boxLeft; x < boxRight; ++x) {
                    if (marked.GetPixel(x, y) == bare.GetPixel(x, y)) continue;
                    ++(ColorToRGB(marked.GetPixel(x, y)) == ink ? inked : foreign);
                }
            EXPECT_GT(inked, 6) << state;
            EXPECT_EQ(foreign, 0) << state;
        }

        // A picture: red in a frame of its key colour (its bottom-left pixel).
        TBitmap glyph(16, 16, TPixelFormat::pf32bit);
        glyph.Fill(kColourKey);
        for (int y = 4; y < 12; ++y)
            for (int x = 4; x < 12; ++x) glyph.SetPixel(x, y, MakeColour(220, 0, 0));
        TDibSection picture(kWidth, kHeight);
        plain.SetChecked(true);
        plain.SetEnabled(false);
        SkinnedItemPainter(*data, 96, plain, picture.Dc(), {0, 0, kWidth, kHeight}, 0, nullptr,
                           &glyph);
        picture.Sync();
        const TBitmap& shown = picture.Bitmap();
        const int x0 = boxLeft, y0 = 1;
        // Greyed where the picture is, as the item is disabled.
        const TColor middle = shown.GetPixel(x0 + 8, y0 + 8);
        EXPECT_EQ(ColourR(middle), ColourG(middle));
        EXPECT_EQ(ColourG(middle), ColourB(middle));
        // Checked: the half-tone of button face and highlight where the
        // picture is see-through, inside the sunken edge.
        const COLORREF face = Rgb(data->Colours.ButtonFace);
        const COLORREF light = Rgb(data->Colours.ButtonHilight);
        for (int x = x0 + 1; x < x0 + 3; ++x) {
            EXPECT_EQ(ColorToRGB(shown.GetPixel(x, y0 + 2)) == face ? light : face,
                      ColorToRGB(shown.GetPixel(x + 1, y0 + 2)));
        }
    }
}
