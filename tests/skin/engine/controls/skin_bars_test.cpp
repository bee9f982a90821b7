// Status bars, progress bars and track bars dressed by the frame's walk:
// their pictures on the screen are the skin's parts at the places the
// controls report, and follow the controls' changes.
#include "members_env.h"

#include "skin/engine/controls/skin_bars.h"
#include "skin/render/compose.h"
#include "skin/render/control_states.h"
#include "toolkit/graphics.h"
#include "toolkit/range_controls.h"
#include "toolkit/status_bar.h"
#include "tests/support/text_ink.h"

#include <commctrl.h>

using namespace qh;
using namespace qh::test;

namespace {

TMargins MarginsOf(const TDataSkinObject& part) {
    return {part.LeftWidth, part.TopHeight, part.RightWidth, part.BottomHeight};
}

// Whether the pixels of row y between x0 and x1 of `shown` are those of
// row y - top of `want`, shifted by left.
bool RowIs(const TBitmap& shown, const TBitmap& want, int left, int top, int y, int x0, int x1) {
    for (int x = x0; x < x1; ++x)
        if ((shown.GetPixel(x, y) & 0xFFFFFF) != (want.GetPixel(x - left, y - top) & 0xFFFFFF))
            return false;
    return true;
}

// The cases' form: a form of 320 x 220 with the skin, at (100, 100).
struct TBarsForm : TSkinnedForm {
    explicit TBarsForm(const char* skin) : TSkinnedForm(skin, {100, 100, 420, 320}) {}
};

} // namespace

TEST_F(SkinMembers, AStatusBarPaintsItsBarAndPanelsFromTheSkinAndTheNewTextAtOnce) {
    TBarsForm f("default.skn");
    auto* bar = new TStatusBar(&f.Form);
    bar->SetParent(&f.Form);
    bar->SetPanels({"就绪", "已连接"}, {120});
    f.Show();
    ASSERT_NE(f.Frame, nullptr);
    ASSERT_NE(dynamic_cast<TSkinStatusBar*>(f.Frame->SkinnedControls().FindFor(bar)), nullptr);
    HWND b = bar->Handle();
    EXPECT_FALSE(GetWindowLongW(b, GWL_STYLE) & SBARS_SIZEGRIP); // the mapping took it off
    const TDataSkinObject& part = *f.Data->StatusBar;
    RECT client{};
    GetClientRect(b, &client);
    RECT first{};
    SendMessageW(b, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&first));
    const TBitmap shown = CaptureClient(b);

    const TBitmap whole =
        ComposeImage({0, 0, client.right, client.bottom}, part.Image, MarginsOf(part), false,
                     part.Tile != 0, 3, 1);
    EXPECT_TRUE(RowIs(shown, whole, 0, 0, 0, 0, client.right));
    const int pw = first.right - first.left, ph = first.bottom - first.top;
    const TBitmap panel = ComposeImage({0, 0, pw, ph}, part.Image, MarginsOf(part), false,
                                       part.Tile != 0, 3, 2);
    EXPECT_TRUE(RowIs(shown, panel, first.left, first.top, first.top, first.left, first.right));
    EXPECT_TRUE(RowIs(shown, panel, first.left, first.top, first.bottom - 1, first.left,
                      first.right));

    // A new text shows at once, drawn by the skin over its panel (whose
    // middle is otherwise plain).
    auto textPixels = [&](int panelIndex) {
        RECT r{};
        SendMessageW(b, SB_GETRECT, panelIndex, reinterpret_cast<LPARAM>(&r));
        const TBitmap now = CaptureClient(b);
        const TColor text = ColorToRGB(static_cast<TColor>(f.Data->Colours.ButtonText));
        int count = 0;
        for (int y = r.top + 3; y < r.bottom - 3; ++y)
            for (int x = r.left + 3; x < r.right - 3; ++x)
                count += qh::test::NearColour(now.GetPixel(x, y) & 0xFFFFFF, text);
        return count;
    };
    EXPECT_GT(textPixels(0), 0);
    SendMessageW(b, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L""));
    EXPECT_EQ(textPixels(0), 0);
}

TEST_F(SkinMembers, AProgressBarFillsWithTheSkinsChunksAsItsPositionMovesAndLosesTheSkinCleanly) {
    TBarsForm f("crystal.skn");
    auto* progress = new TProgressBar(&f.Form);
    progress->SetParent(&f.Form);
    progress->SetBounds(10, 10, 200, 18);
    progress->SetPosition(25);
    f.Show();
    ASSERT_NE(f.Frame, nullptr);
    ASSERT_NE(dynamic_cast<TSkinProgress*>(f.Frame->SkinnedControls().FindFor(progress)),
              nullptr);
    const TDataSkinBorder& part = *f.Data->Progress;
    HWND p = progress->Handle();
    const TRect inner{part.LeftWidth, part.TopHeight, 200 - part.RightWidth,
                      18 - part.BottomHeight};
    const TColor chunk = part.Image2.GetPixel(1, part.Image2.Height() / 2) & 0xFFFFFF;
    ASSERT_NE(chunk, kColourKey);
    const int y = inner.Top + part.Image2.Height() / 2;
    auto chunkAt = [&](int x) { return (CaptureClient(p).GetPixel(x, y) & 0xFFFFFF) == chunk; };
    const TRect quarter = ProgressFill(inner, 0, 100, 25, false);
    EXPECT_TRUE(chunkAt(inner.Left + 1));
    EXPECT_FALSE(chunkAt(quarter.Right + 11)); // the trough beyond the fill
    progress->SetPosition(100);
    // The chunk tiles from the fill's left: the same place in a later tile.
    const int later = inner.Left + 1 + part.Image2.Width() * 15;
    EXPECT_TRUE(chunkAt(later));

    f.Frame->SkinnedControls().FreeAll();
    EXPECT_FALSE(chunkAt(inner.Left + 1) && chunkAt(later));
}

TEST_F(SkinMembers, ATrackBarsThumbIsTheSkinsAtTheControlsThumbRectangleAndLooksPressedWhileHeld) {
    TBarsForm f("mac.skn");
    auto* track = new TTrackBar(&f.Form);
    track->SetParent(&f.Form);
    track->SetBounds(10, 10, 200, 32);
    track->SetPosition(30);
    f.Show();
    ASSERT_NE(f.Frame, nullptr);
    ASSERT_NE(dynamic_cast<TSkinTrackBar*>(f.Frame->SkinnedControls().FindFor(track)), nullptr);
    HWND t = track->Handle();
    const TDataSkinObject& part = *f.Data->ThumbHorz;
    auto thumbIs = [&](int state) {
        RECT r{};
        SendMessageW(t, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
        const int w = r.right - r.left, h = r.bottom - r.top;
        TBitmap want = ComposeImage({0, 0, w, h}, part.Image, MarginsOf(part), false,
                                    part.Tile != 0, 5, state);
        const TBitmap shown = CaptureClient(t);
        const TColor shadow = ColorToRGB(static_cast<TColor>(f.Data->Colours.ButtonShadow));
        // Outlined in the shadow colour, the skin's image inside (the
        // generated thumbs have no see-through pixels inside their edge).
        if ((shown.GetPixel(r.left, r.top + h / 2) & 0xFFFFFF) != shadow) return false;
        if ((shown.GetPixel(r.right - 1, r.top + 1) & 0xFFFFFF) != shadow) return false;
        return RowIs(shown, want, r.left, r.top, r.top + h / 2, r.left + 2, r.right - 2);
    };
    EXPECT_TRUE(thumbIs(1));
    RECT r{};
    SendMessageW(t, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
    const LPARAM centre = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageW(t, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    EXPECT_TRUE(thumbIs(2));
    SendMessageW(t, WM_LBUTTONUP, 0, centre);
    ParkCursor();
    track->Perform(CM_MOUSELEAVE);
    EXPECT_TRUE(thumbIs(1));
    // The thumb moves with the position.
    track->SetPosition(80);
    EXPECT_TRUE(thumbIs(1));
    track->SetEnabled(false);
    EXPECT_TRUE(thumbIs(3));
}
