// A page control dressed by the frame's walk: its tabs are the skin's Tab
// images by state (the selected one standing out of the row), its page
// edge the skin's border image, and the hot tab follows the mouse.
#include "members_env.h"

#include "skin/engine/controls/skin_tabs.h"
#include "skin/render/compose.h"
#include "skin/render/control_states.h"
#include "toolkit/tab_controls.h"

#include <commctrl.h>

using namespace qh;
using namespace qh::test;

namespace {

// Whether the second row of r shows that of the Tab part's state image
// composed over r (keyed pixels skipped).
bool TabTopIs(const TBitmap& shown, const RECT& r, const TDataSkinBorder& part, int state) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    const TBitmap want = ComposeImage(
        {0, 0, w, h}, part.Image,
        {part.LeftWidth, part.TopHeight, part.RightWidth, part.BottomHeight}, false,
        part.Tile != 0, 5, state);
    // The selected tab overlaps its neighbours by two pixels.
    for (int x = 2; x < w - 2; ++x) {
        const TColor c = want.GetPixel(x, 1) & 0xFFFFFF;
        if (c != kColourKey && (shown.GetPixel(r.left + x, r.top + 1) & 0xFFFFFF) != c)
            return false;
    }
    return true;
}

} // namespace

TEST_F(SkinMembers, APageControlsTabsAndPageEdgeAreTheSkinsAndTheHotTabFollowsTheMouse) {
    TForm form(Application);
    form.SetBounds(100, 100, 360, 220);
    TSkinData* data = MakeSkinData(&form, "crystal.skn").release();
    auto* pages = new TPageControl(&form);
    pages->SetParent(&form);
    pages->SetBounds(10, 10, 320, 150);
    for (const char* name : {"常规", "网络", "皮肤"}) {
        auto* sheet = new TTabSheet(&form);
        sheet->SetCaption(name);
        sheet->SetPageControl(pages);
    }
    form.Show();
    SetForegroundWindow(form.Handle());
    TWinSkinForm* frame = WaitForFrame(form.Handle());
    ASSERT_NE(frame, nullptr);
    HWND t = pages->Handle();
    auto* skin = dynamic_cast<TSkinTab*>(frame->SkinnedControls().FindForWindow(t));
    ASSERT_NE(skin, nullptr);
    const TDataSkinBorder& part = *data->Tab;
    auto tabRect = [&](int i, bool selected) {
        RECT r{};
        SendMessageW(t, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
        if (selected) {
            InflateRect(&r, 2, 0);
            r.top -= 2;
            r.bottom += 1;
        }
        return r;
    };
    TBitmap shown = CaptureClient(t);
    EXPECT_TRUE(TabTopIs(shown, tabRect(0, true), part, 2));
    EXPECT_TRUE(TabTopIs(shown, tabRect(1, false), part, 1));
    // The page edge: the border image's top-left corner under the tab row.
    RECT row{};
    SendMessageW(t, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
    EXPECT_EQ(shown.GetPixel(0, row.bottom + 10) & 0xFFFFFF,
              part.Image2.GetPixel(0, 10) & 0xFFFFFF);

    RECT screen{};
    GetWindowRect(t, &screen);
    const RECT second = tabRect(2, false);
    const int x = (second.left + second.right) / 2, y = (second.top + second.bottom) / 2;
    SetCursorPos(screen.left + x, screen.top + y);
    SendMessageW(t, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    EXPECT_EQ(skin->HotTab(), 2);
    shown = CaptureClient(t);
    EXPECT_TRUE(TabTopIs(shown, tabRect(2, false), part, 4));

    // Another page chosen: its tab is the selected one now.
    pages->SetActivePage(pages->Pages(1));
    shown = CaptureClient(t);
    EXPECT_TRUE(TabTopIs(shown, tabRect(1, true), part, 2));
    EXPECT_TRUE(TabTopIs(shown, tabRect(0, false), part, 1));
}
