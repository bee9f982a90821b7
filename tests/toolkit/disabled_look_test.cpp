#include "tests/support/toolkit_env.h"

#include "tests/images/glyph_strip.h"

#include "toolkit/actions.h"
#include "toolkit/glyph_buttons.h"
#include "toolkit/graphics.h"
#include "toolkit/tool_bar.h"
#include "toolkit/image_list.h"
#include "tests/support/text_ink.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace qh;
using namespace qh::test;

namespace {

// The pixels a drawing left in a 32-bit memory picture that starts as
// button face.
struct TShot {
    int w = 0, h = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y * w + x)]; }
    // Whether the colour is anywhere at least inset pixels in from the edges.
    bool Has(COLORREF colour, int inset = 0, int tolerance = 24) const {
        for (int y = inset; y < h - inset; ++y)
            for (int x = inset; x < w - inset; ++x)
                if (qh::test::NearColour(At(x, y), colour, tolerance)) return true;
        return false;
    }
    // The first point of the colour, or (-1, -1).
    POINT Find(COLORREF colour) const {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (At(x, y) == colour) return {x, y};
        return {-1, -1};
    }
};

TShot Capture(int w, int h, const std::function<void(HDC)>& draw) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    TBitmapHandle bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    TMemoryDC dc(nullptr);
    {
        TSelectObject select(dc.Get(), bitmap.Get());
        RECT all{0, 0, w, h};
        FillRect(dc.Get(), &all, GetSysColorBrush(COLOR_BTNFACE));
        draw(dc.Get());
        GdiFlush();
    }
    TShot shot{w, h, {}};
    for (int i = 0; i < w * h; ++i) {
        uint32_t pixel = static_cast<const uint32_t*>(bits)[i];
        shot.pixels.push_back(RGB((pixel >> 16) & 255, (pixel >> 8) & 255, pixel & 255));
    }
    return shot;
}

COLORREF Sys(int index) {
    return GetSysColor(index);
}

TShot Paint(TControl& control) {
    return Capture(control.Width(), control.Height(),
                   [&](HDC dc) { control.Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0); });
}

} // namespace

TEST(DisabledLook, ASpeedButtonWithOneGlyphIsEtchedWhenItsActionIsDisabled) {
    TForm form(Application);
    auto* action = new TAction(&form);
    auto* button = new TSpeedButton(&form);
    button->SetParent(&form);
    button->SetBounds(0, 0, 57, 24);
    button->SetFlat(true);
    button->Glyph()->SetBitmap(GlyphStrip(1));
    button->SetAction(action);

    TShot enabled = Paint(*button);
    EXPECT_TRUE(enabled.Has(kDark));

    // The main window's back button: linked to an action that starts disabled.
    action->SetEnabled(false);
    ASSERT_FALSE(button->Enabled());
    TShot disabled = Paint(*button);
    EXPECT_FALSE(disabled.Has(kDark));
    EXPECT_TRUE(disabled.Has(Sys(COLOR_BTNSHADOW)));
    EXPECT_TRUE(disabled.Has(Sys(COLOR_BTNHIGHLIGHT)));
    // The shape sits where the picture sat: its first dark pixel is shadow now.
    POINT first = enabled.Find(kDark);
    ASSERT_GE(first.x, 0);
    EXPECT_EQ(disabled.At(first.x, first.y), Sys(COLOR_BTNSHADOW));
    // Enabled again, it looks as it did.
    action->SetEnabled(true);
    EXPECT_EQ(Paint(*button).pixels, enabled.pixels);
}

TEST(DisabledLook, AStripWithADisabledImageShowsThatImage) {
    TForm form(Application);
    auto* button = new TSpeedButton(&form);
    button->SetParent(&form);
    button->SetBounds(0, 0, 40, 24);
    button->Glyph()->SetBitmap(GlyphStrip(2));
    button->SetNumGlyphs(2);
    TShot enabled = Paint(*button);
    EXPECT_TRUE(enabled.Has(kDark));
    EXPECT_FALSE(enabled.Has(kSecond));
    button->SetEnabled(false);
    TShot disabled = Paint(*button);
    EXPECT_TRUE(disabled.Has(kSecond));
    EXPECT_FALSE(disabled.Has(kDark));
}

TEST(DisabledLook, CaptionsOfSpeedToolAndBitmapButtonsAreEtched) {
    TForm form(Application);
    form.Font()->SetColor(clBlack);
    auto* speed = new TSpeedButton(&form);
    speed->SetParent(&form);
    speed->SetBounds(0, 0, 80, 24);
    speed->SetCaption("后退");
    auto* bar = new TToolBar(&form);
    bar->SetParent(&form);
    auto* tool = new TToolButton(&form);
    tool->SetParent(bar);
    tool->SetBounds(0, 0, 80, 24);
    tool->SetCaption("Back");
    auto* bit = new TBitBtn(&form);
    bit->SetParent(&form);
    bit->SetBounds(0, 30, 80, 25);
    bit->SetCaption("OK");
    bit->Glyph()->SetBitmap(GlyphStrip(1));
    form.Show();

    auto drawBitBtn = [&] {
        return Capture(80, 25, [&](HDC dc) {
            DRAWITEMSTRUCT item{};
            item.CtlType = ODT_BUTTON;
            item.hwndItem = bit->Handle();
            item.hDC = dc;
            item.rcItem = {0, 0, 80, 25};
            item.itemState = bit->Enabled() ? 0 : ODS_DISABLED;
            bit->Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
        });
    };
    // Frames may draw black lines at the edges; text is looked for inside.
    const COLORREF black = RGB(0, 0, 0);
    // Smoothed strokes of a small Chinese caption are dark grey, never
    // as light as the etching's shadow.
    const int kDarkInk = 96;
    const int inside = 3;
    EXPECT_TRUE(Paint(*speed).Has(black, inside, kDarkInk));
    EXPECT_TRUE(Paint(*tool).Has(black, inside, kDarkInk));
    TShot bitOn = drawBitBtn();
    EXPECT_TRUE(bitOn.Has(black, inside, kDarkInk));
    EXPECT_TRUE(bitOn.Has(kDark));

    for (TControl* c : std::vector<TControl*>{speed, tool, bit})
        c->SetEnabled(false);
    for (const TShot& shot : {Paint(*speed), Paint(*tool), drawBitBtn()}) {
        EXPECT_FALSE(shot.Has(black, inside, kDarkInk));
        EXPECT_TRUE(shot.Has(Sys(COLOR_BTNSHADOW), inside));
        EXPECT_TRUE(shot.Has(Sys(COLOR_BTNHIGHLIGHT), inside));
    }
    EXPECT_FALSE(drawBitBtn().Has(kDark));
}

namespace {

// A 16 x 16 icon: a dark square from (4, 4) to (12, 12), clear round it.
HICON SquareIcon() {
    std::vector<uint8_t> mask(16 * 2, 0xFF); // one bit a pixel, rows of 2 bytes
    for (int y = 4; y < 12; ++y) {
        mask[static_cast<size_t>(y * 2)] = 0xF0;
        mask[static_cast<size_t>(y * 2 + 1)] = 0x0F;
    }
    TBitmapHandle maskBitmap(CreateBitmap(16, 16, 1, 1, mask.data()));
    HDC screen = GetDC(nullptr);
    TBitmapHandle colour(CreateCompatibleBitmap(screen, 16, 16));
    ReleaseDC(nullptr, screen);
    {
        TMemoryDC dc(nullptr);
        TSelectObject select(dc.Get(), colour.Get());
        RECT all{0, 0, 16, 16}, square{4, 4, 12, 12};
        FillRect(dc.Get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        TBrushHandle dark(CreateSolidBrush(kDark));
        FillRect(dc.Get(), &square, dark.Get());
    }
    ICONINFO info{TRUE, 0, 0, maskBitmap.Get(), colour.Get()};
    return CreateIconIndirect(&info);
}

} // namespace

TEST(DisabledLook, AToolButtonPictureIsEtchedWhenDisabled) {
    TForm form(Application);
    auto* images = new TImageList(&form);
    HICON icon = SquareIcon();
    ASSERT_NE(icon, nullptr);
    ASSERT_EQ(images->AddIcon(icon), 0);
    DestroyIcon(icon);
    auto* bar = new TToolBar(&form);
    bar->SetParent(&form);
    bar->SetImages(images);
    auto* tool = new TToolButton(&form);
    tool->SetParent(bar);
    tool->SetBounds(0, 0, 24, 22);
    tool->SetImageIndex(0);
    TShot on = Paint(*tool);
    POINT first = on.Find(kDark);
    ASSERT_GE(first.x, 0);
    tool->SetEnabled(false);
    TShot off = Paint(*tool);
    EXPECT_FALSE(off.Has(kDark));
    EXPECT_EQ(off.At(first.x, first.y), Sys(COLOR_BTNSHADOW));
    EXPECT_TRUE(off.Has(Sys(COLOR_BTNHIGHLIGHT), 3));
    // An index past the list draws nothing, and a list freed leaves none.
    tool->SetEnabled(true);
    tool->SetImageIndex(5);
    EXPECT_FALSE(Paint(*tool).Has(kDark));
    tool->SetImageIndex(0);
    delete images;
    EXPECT_EQ(bar->Images(), nullptr);
    EXPECT_FALSE(Paint(*tool).Has(kDark));
}
