// Edits, combo boxes and up-downs dressed by the frame's walk: the edit's
// border in the skin's shadow colour, the combo box's drop-down button
// and the up-down's halves from the skin's images, following the mouse.
#include "members_env.h"

#include "skin/engine/controls/skin_edits.h"
#include "skin/render/compose.h"
#include "skin/render/control_states.h"
#include "toolkit/edits.h"
#include "toolkit/graphics.h"
#include "toolkit/list_boxes.h"
#include "toolkit/range_controls.h"

#include <commctrl.h>

using namespace qh;
using namespace qh::test;

namespace {

TColor Colour(int32_t colour) {
    return ColorToRGB(static_cast<TColor>(colour));
}

// A pixel of the whole window (border included) as it is on the screen.
TColor WindowPixel(HWND window, int x, int y) {
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
    HDC dc = GetWindowDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return static_cast<TColor>(c);
}

// Whether the part's state image, composed over r, is what the client
// area shows there (keyed pixels skipped; only the outer two pixels all
// round where a glyph goes on top).
bool ComposedAt(HWND window, const RECT& r, const TDataSkinObject& part, int frames, int state,
                bool edgesOnly = false) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    const TBitmap want =
        ComposeImage({0, 0, w, h}, part.Image, {part.LeftWidth, part.TopHeight, part.RightWidth,
                                                part.BottomHeight},
                     false, part.Tile != 0, frames, state);
    const TBitmap shown = CaptureClient(window);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (edgesOnly && x >= 2 && y >= 2 && x < w - 2 && y < h - 2) continue;
            const TColor c = want.GetPixel(x, y) & 0xFFFFFF;
            if (c == kColourKey) continue;
            if ((shown.GetPixel(r.left + x, r.top + y) & 0xFFFFFF) != c) return false;
        }
    return true;
}

// The cases' form: a form of 320 x 200 with the skin, at (100, 100).
struct TEditsForm : TSkinnedForm {
    explicit TEditsForm(const char* skin) : TSkinnedForm(skin, {100, 100, 420, 300}) {}
};

} // namespace

TEST_F(SkinMembers, AnEditsBorderIsTheSkinsShadowDarkerWhenFocusedAndItsOwnOnceTheSkinIsOff) {
    TEditsForm f("crystal.skn");
    auto* edit = new TEdit(&f.Form);
    edit->SetParent(&f.Form);
    edit->SetBounds(10, 10, 150, 21);
    edit->SetText("http://127.0.0.1/");
    f.Show();
    ASSERT_NE(f.Frame, nullptr);
    HWND e = edit->Handle();
    ASSERT_NE(dynamic_cast<TSkinEdit*>(f.Frame->SkinnedControls().FindForWindow(e)), nullptr);
    SetFocus(f.Form.Handle());
    const TSkinColours& colours = f.Data->Colours;
    EXPECT_EQ(WindowPixel(e, 0, 10), Colour(colours.ButtonShadow));
    EXPECT_EQ(WindowPixel(e, 1, 10), GetSysColor(COLOR_WINDOW));
    SetFocus(e);
    EXPECT_EQ(WindowPixel(e, 149, 10), Colour(colours.ButtonDkShadow));
    // Its text is still its own.
    wchar_t text[32] = {};
    GetWindowTextW(e, text, 32);
    EXPECT_EQ(std::wstring(text), L"http://127.0.0.1/");

    f.Frame->SkinnedControls().FreeAll();
    EXPECT_NE(WindowPixel(e, 0, 10), Colour(colours.ButtonShadow));
}

TEST_F(SkinMembers, AComboBoxsDropButtonIsTheSkinsAndLooksPressedWhileItsListIsOpen) {
    TEditsForm f("default.skn");
    auto* combo = new TComboBox(&f.Form);
    combo->SetParent(&f.Form);
    combo->SetBounds(10, 10, 150, 21);
    combo->SetItems({"北京", "上海"});
    f.Show();
    ASSERT_NE(f.Frame, nullptr);
    HWND c = combo->Handle();
    ASSERT_NE(dynamic_cast<TSkinComBox*>(f.Frame->SkinnedControls().FindFor(combo)), nullptr);
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetComboBoxInfo(c, &info));
    SetFocus(f.Form.Handle());
    const TDataSkinBorder& button = *f.Data->ComboButton;
    EXPECT_TRUE(ComposedAt(c, info.rcButton, button, 4, 1));
    EXPECT_FALSE(ComposedAt(c, info.rcButton, button, 4, 3));
    SendMessageW(c, CB_SHOWDROPDOWN, TRUE, 0);
    EXPECT_TRUE(ComposedAt(c, info.rcButton, button, 4, 3));
    SendMessageW(c, CB_SHOWDROPDOWN, FALSE, 0);
    combo->SetEnabled(false);
    EXPECT_TRUE(ComposedAt(c, info.rcButton, button, 4, 4));
}

TEST_F(SkinMembers, AnUpDownsHalvesFollowTheMouseAndItStillCounts) {
    TEditsForm f("mac.skn");
    auto* upDown = new TUpDown(&f.Form);
    upDown->SetParent(&f.Form);
    upDown->SetBounds(10, 10, 17, 30);
    f.Show();
    ASSERT_NE(f.Frame, nullptr);
    auto* skin = dynamic_cast<TSkinUpDown*>(f.Frame->SkinnedControls().FindFor(upDown));
    ASSERT_NE(skin, nullptr);
    HWND u = upDown->Handle();
    const TDataSkinBorder& part = *f.Data->UpDownVert;
    RECT client{};
    GetClientRect(u, &client);
    const TUpDownHalves halves = UpDownHalves(client.right, client.bottom, false);
    const RECT top{0, 0, client.right, halves.First.Bottom};
    const RECT bottom{0, halves.Second.Top, client.right, client.bottom};
    EXPECT_TRUE(ComposedAt(u, top, part, 8, 1, true));
    EXPECT_TRUE(ComposedAt(u, bottom, part, 8, 5, true));

    const int before = static_cast<int>(SendMessageW(u, UDM_GETPOS32, 0, 0));
    SendMessageW(u, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 5));
    EXPECT_EQ(skin->PressedButton(), 1);
    EXPECT_TRUE(ComposedAt(u, top, part, 8, 3, true));
    SendMessageW(u, WM_LBUTTONUP, 0, MAKELPARAM(8, 5));
    EXPECT_EQ(static_cast<int>(SendMessageW(u, UDM_GETPOS32, 0, 0)), before + 1);
    EXPECT_EQ(skin->PressedButton(), 0);

    SetCursorPos(0, 0);
    RECT r{};
    GetWindowRect(u, &r);
    SetCursorPos(r.left + 8, r.top + 25);
    SendMessageW(u, WM_MOUSEMOVE, 0, MAKELPARAM(8, 25));
    EXPECT_EQ(skin->HotButton(), 2);
    EXPECT_TRUE(ComposedAt(u, bottom, part, 8, 6, true));
    EXPECT_TRUE(ComposedAt(u, top, part, 8, 1, true));
}
