// The skinned frame at the DPI of the monitor its window is on: the skin's
// widths, caption strip and caption buttons scaled, and a DPI change there
// and back giving the picture the window started with; a popup menu's
// border and items and a memo's scroll bar at that DPI.
#include "tests/support/skin_env.h"

#include "core/mul_div.h"
#include "skin/data/skin_store.h"
#include "skin/engine/dib_section.h"
#include "skin/engine/menus/win_skin_menu.h"
#include "skin/engine/skin_manage.h"
#include "skin/render/frame_metrics.h"
#include "skin/render/pixel_copy.h"
#include "skin/render/scroll_metrics.h"
#include "skin/render/state_image.h"
#include "toolkit/dpi.h"
#include "toolkit/edits.h"
#include "toolkit/menus.h"
#include "toolkit/win_handle.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>

using namespace qh;
using namespace qh::test;

namespace {

// As the manifest will make the program: per-monitor aware, before any
// window is made.
const bool kAware = [] {
    using TSetContext = BOOL(WINAPI*)(HANDLE);
    const auto set = reinterpret_cast<TSetContext>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
    return set && set(reinterpret_cast<HANDLE>(-4)); // per monitor, v2
}();

int ExpectedDpi() {
    const char* dpi = std::getenv("QH_WINE_DPI");
    return dpi ? std::atoi(dpi) : kDesignDpi;
}

TFrameWidths Scaled(const TFrameWidths& f, int dpi) {
    return {ScaleForDpi(f.Left, dpi), ScaleForDpi(f.Top, dpi), ScaleForDpi(f.Right, dpi),
            ScaleForDpi(f.Bottom, dpi)};
}

// The window's frame as it is on the screen: client edges from the window's.
TFrameWidths ShownFrame(HWND h) {
    RECT window{}, client{};
    GetWindowRect(h, &window);
    GetClientRect(h, &client);
    MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return {client.left - window.left, client.top - window.top, window.right - client.right,
            window.bottom - client.bottom};
}

void ChangeDpi(HWND h, int dpi, const RECT& suggested) {
    SendMessageW(h, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    Pump();
}

// What the system made of an open popup menu: its window and the rectangles
// of its first items, on the screen.
struct TOpenMenu {
    RECT Window{};
    RECT Items[3]{};
    TBitmap Picture;
    int Ticks = 0;
    bool Seen = false;
};
TOpenMenu gOpenMenu;

// Runs inside the menu's own message loop: reads the menu a few ticks
// after it shows (painted by then), then closes it.
void CALLBACK ReadOpenMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND popup = FindWindowW(L"#32768", nullptr);
    if (!popup || !IsWindowVisible(popup) || ++gOpenMenu.Ticks < 4) return;
    KillTimer(nullptr, timer);
    GetWindowRect(popup, &gOpenMenu.Window);
    HMENU menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
    gOpenMenu.Seen = true;
    for (UINT i = 0; i < 3; ++i)
        gOpenMenu.Seen &= GetMenuItemRect(nullptr, menu, i, &gOpenMenu.Items[i]) != FALSE;
    const RECT& w = gOpenMenu.Window;
    TDibSection picture(w.right - w.left, w.bottom - w.top);
    HDC dc = GetWindowDC(popup);
    BitBlt(picture.Dc(), 0, 0, picture.Width(), picture.Height(), dc, 0, 0, SRCCOPY);
    ReleaseDC(popup, dc);
    picture.Sync();
    gOpenMenu.Picture = picture.Bitmap();
    EndMenu();
}

// The corner of `size` pixels at (x, y) of the shown picture is the
// picture's corner at (px, py).
::testing::AssertionResult SameCorner(const TBitmap& shown, int x, int y, const TBitmap& picture,
                                      int px, int py, int size) {
    for (int dy = 0; dy < size; ++dy)
        for (int dx = 0; dx < size; ++dx) {
            const TColor got = shown.GetPixel(x + dx, y + dy) & 0xFFFFFF;
            const TColor want = picture.GetPixel(px + dx, py + dy) & 0xFFFFFF;
            if (got != want)
                return ::testing::AssertionFailure() << "at (" << x + dx << ", " << y + dy << ") "
                                                     << std::hex << got << " instead of " << want;
        }
    return ::testing::AssertionSuccess();
}

int TextWidth(HFONT font, const wchar_t* text) {
    TWindowDC screen(nullptr);
    TSelectObject chosen(screen.Get(), font);
    SIZE size{};
    GetTextExtentPoint32W(screen.Get(), text, static_cast<int>(wcslen(text)), &size);
    return size.cx;
}

class SkinDpi : public TSkinSuite {};

} // namespace

TEST_F(SkinDpi, APopupMenusBorderAndItemsAreScaled) {
    TForm form(Application);
    form.SetBounds(40, 40, 420, 300);
    auto* menu = new TPopupMenu(&form);
    auto add = [&](const char* caption) {
        auto* item = new TMenuItem(&form);
        item->SetCaption(caption);
        menu->Items()->Add(item);
        return item;
    };
    add("频道列表(&C)")->SetShortCut(static_cast<int>(ShortCut('L', scCtrl)));
    add("-");
    add("显示按钮")->SetChecked(true);
    auto data = MakeSkinData(&form, kSkins[1], true);
    ASSERT_TRUE(data->MenuBackground && data->MenuItem) << "the skin dresses its menus";
    TWinSkinForm* frame = ShowDressed(form);
    ASSERT_NE(frame, nullptr);
    const int dpi = frame->Dpi();

    gOpenMenu = {};
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, ReadOpenMenu);
    menu->Popup(100, 100);
    KillTimer(nullptr, timer);
    ASSERT_TRUE(gOpenMenu.Seen);
    const RECT& window = gOpenMenu.Window;
    const RECT& first = gOpenMenu.Items[0];
    // The border the system leaves round the items shows the corners of
    // the skin's menu picture at this DPI.
    const int border = first.left - window.left;
    ASSERT_GT(border, 0);
    const TSkinParts& skin = frame->Skin();
    const TBitmap& background = skin.MenuBackground->Image;
    ASSERT_GE(std::min(skin.MenuBackground->LeftWidth, skin.MenuBackground->RightWidth), border);
    const TBitmap& shown = gOpenMenu.Picture;
    EXPECT_TRUE(SameCorner(shown, 0, 0, background, 0, 0, border));
    EXPECT_TRUE(SameCorner(shown, shown.Width() - border, shown.Height() - border, background,
                           background.Width() - border, background.Height() - border, border));
    for (const RECT& item : {gOpenMenu.Items[0], gOpenMenu.Items[2]}) {
        EXPECT_GE(item.bottom - item.top, ScaleForDpi(18, dpi));
        TEXTMETRICW metrics{};
        TWindowDC screen(nullptr);
        TSelectObject font(screen.Get(), MenuFont(dpi));
        GetTextMetricsW(screen.Get(), &metrics);
        EXPECT_GE(item.bottom - item.top, metrics.tmHeight + ScaleForDpi(2, dpi));
    }
    // Glyph box, caption and shortcut in the menu's font fit the item.
    const int needed = ScaleForDpi(1 + 16 + 3, dpi) + TextWidth(MenuFont(dpi), L"频道列表(C)") +
                       TextWidth(MenuFont(dpi), L"Ctrl+L") + ScaleForDpi(10, dpi);
    EXPECT_GE(first.right - first.left, needed);
}

TEST_F(SkinDpi, AMemosScrollBarIsTheScaledSkinsAtTheSystemsSizeForTheDpi) {
    TForm form(Application);
    form.SetBounds(60, 60, 420, 300);
    auto* memo = new TMemo(&form);
    memo->SetParent(&form);
    memo->SetBounds(10, 10, 200, 160);
    memo->SetScrollBars(ssVertical);
    TStringList lines;
    for (int i = 0; i < 60; ++i)
        lines.Add(std::to_string(i + 1));
    memo->SetLines(lines);
    auto data = MakeSkinData(&form, kSkins[0], true);
    TWinSkinForm* frame = ShowDressed(form);
    ASSERT_NE(frame, nullptr);
    const int dpi = frame->Dpi();
    const TSkinParts& skin = frame->Skin();
    ASSERT_TRUE(skin.ScrollArrows && skin.VertScrollThumb);

    HWND h = memo->Handle();
    SCROLLBARINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetScrollBarInfo(h, OBJID_VSCROLL, &info));
    RECT w{};
    GetWindowRect(h, &w);
    RECT bar = info.rcScrollBar;
    OffsetRect(&bar, -w.left, -w.top);
    const int b = bar.right - bar.left;
    EXPECT_EQ(b, SystemMetricForDpi(SM_CXVSCROLL, dpi));

    // The thumb's first and last rows (within the image's margins) where
    // the system's metrics for this DPI put it.
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(h, SB_VERT, &si));
    TThumbMetrics m;
    ASSERT_TRUE(ThumbMetrics({si.nMin, si.nMax, static_cast<int>(si.nPage), si.nPos, 0},
                             bar.bottom - bar.top, SystemMetricForDpi(SM_CXHSCROLL, dpi),
                             ScaleForDpi(kNtMinThumb, dpi), SystemMetricForDpi(SM_CXHTHUMB, dpi),
                             m));
    const TBitmap shown = CaptureWindow(h);
    const TBitmap& image = skin.VertScrollThumb->Image;
    const TRect source = StateImageRect(image, false, skin.VertScrollThumb->Frame, 1);
    const int top = bar.top + m.Arrow + m.Offset;
    EXPECT_TRUE(Shows(shown, bar.left, top, Band(image, source, 0, 1, b, 1)));
    EXPECT_TRUE(Shows(shown, bar.left, top + m.Thumb - 1,
                      Band(image, source, source.Height() - 1, 1, b, 1)));
}

TEST_F(SkinDpi, FrameCaptionAndCloseButtonScaledAndADpiChangeThereAndBackRepaintsTheSame) {
    TForm form(Application);
    form.SetCaption("青禾网络电视");
    form.SetBounds(40, 40, 420, 300);
    auto* menu = new TMainMenu(&form);
    auto* item = new TMenuItem(&form);
    item->SetCaption("视图(&V)");
    menu->Items()->Add(item);
    form.SetMenu(menu);
    int closes = 0;
    form.OnCloseQuery = [&](TObject*, bool& canClose) {
        ++closes;
        canClose = false;
        ShowWindow(form.Handle(), SW_HIDE);
    };
    auto data = MakeSkinData(&form, kSkins[1], true);
    TWinSkinForm* frame = ShowDressed(form);
    ASSERT_NE(frame, nullptr);
    HWND h = form.Handle();
    const int dpi = frame->Dpi();
    // Wine gives every window the prefix's DPI, aware or not.
    EXPECT_EQ(dpi, ExpectedDpi()) << "per-monitor aware: " << kAware;
    const int other = dpi == kDesignDpi ? 144 : kDesignDpi;

    const TFrameWidths skin = FrameWidthsOf(data->BorderLeft.get(), data->BorderTop.get(),
                                            data->BorderRight.get(), data->BorderBottom.get(),
                                            false);
    EXPECT_EQ(frame->Widths(), Scaled(skin, dpi));
    const TFrameWidths shown = ShownFrame(h);
    EXPECT_NEAR(shown.Left, ScaleForDpi(skin.Left, dpi), 1);
    EXPECT_NEAR(shown.Right, ScaleForDpi(skin.Right, dpi), 1);
    EXPECT_NEAR(shown.Bottom, ScaleForDpi(skin.Bottom, dpi), 1);
    EXPECT_EQ(frame->MenuBarHeight(), SystemMetricForDpi(SM_CYMENU, dpi));
    EXPECT_EQ(shown.Top, ScaleForDpi(skin.Top, dpi) + frame->MenuBarHeight());

    auto closeButton = [&]() -> RECT {
        for (const auto& button : frame->CaptionButtons())
            if (button->Visible && button->Part().Action == 0) return button->Bounds;
        ADD_FAILURE() << "no close button";
        return {};
    };
    RECT start{};
    GetWindowRect(h, &start);
    const int width = start.right - start.left;
    const TBitmap startPicture = CaptureWindow(h);
    TRegionHandle startRegion(CreateRectRgn(0, 0, 0, 0));
    const bool shaped = GetWindowRgn(h, startRegion.Get()) != ERROR;
    const RECT closeAtStart = closeButton();

    // To the other DPI and back, as a move between monitors does.
    const RECT there{start.left, start.top, start.left + qh::MulDiv(width, other, dpi),
                     start.top + qh::MulDiv(start.bottom - start.top, other, dpi)};
    ChangeDpi(h, other, there);
    ASSERT_EQ(frame->Dpi(), other);
    EXPECT_EQ(frame->Widths(), Scaled(skin, other));
    RECT now{};
    GetWindowRect(h, &now);
    EXPECT_TRUE(EqualRect(&now, &there));
    // The close button's place at 96 DPI, scaled, is its place at the start.
    const RECT close96 = dpi == kDesignDpi ? closeAtStart : closeButton();
    const int width96 = dpi == kDesignDpi ? width : there.right - there.left;
    const int dpiScaled = dpi == kDesignDpi ? other : dpi;
    const RECT closeScaled = dpi == kDesignDpi ? closeButton() : closeAtStart;
    const int widthScaled = dpi == kDesignDpi ? there.right - there.left : width;
    EXPECT_NEAR(widthScaled - closeScaled.right, ScaleForDpi(width96 - close96.right, dpiScaled), 1);
    EXPECT_NEAR(closeScaled.top, ScaleForDpi(close96.top, dpiScaled), 1);
    EXPECT_EQ(closeScaled.right - closeScaled.left,
              ScaleForDpi(close96.right - close96.left, dpiScaled));

    ChangeDpi(h, dpi, start);
    ASSERT_EQ(frame->Dpi(), dpi);
    const TBitmap backPicture = CaptureWindow(h);
    ASSERT_EQ(backPicture.Width(), startPicture.Width());
    ASSERT_EQ(backPicture.Height(), startPicture.Height());
    TRegionHandle backRegion(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetWindowRgn(h, backRegion.Get()) != ERROR, shaped);
    if (shaped) {
        EXPECT_TRUE(EqualRgn(startRegion.Get(), backRegion.Get()));
    }
    // What the region cuts away is not the window's to show.
    auto inRegion = [&](int x, int y) { return !shaped || PtInRegion(startRegion.Get(), x, y); };
    int differing = 0;
    RECT where{10000, 10000, -1, -1};
    for (int y = 0; y < backPicture.Height(); ++y)
        for (int x = 0; x < backPicture.Width(); ++x)
            if (inRegion(x, y) && backPicture.GetPixel(x, y) != startPicture.GetPixel(x, y)) {
                ++differing;
                where = {std::min<LONG>(where.left, x), std::min<LONG>(where.top, y),
                         std::max<LONG>(where.right, x + 1), std::max<LONG>(where.bottom, y + 1)};
            }
    EXPECT_EQ(differing, 0) << "within " << where.left << "," << where.top << " - " << where.right
                            << "," << where.bottom;

    // A click where the scaled layout puts the close button closes.
    const LPARAM at = MAKELPARAM(start.left + (closeAtStart.left + closeAtStart.right) / 2,
                                 start.top + (closeAtStart.top + closeAtStart.bottom) / 2);
    for (UINT msg : {WM_NCMOUSEMOVE, WM_NCLBUTTONDOWN, WM_NCLBUTTONUP})
        SendMessageW(h, msg, HTCAPTION, at);
    EXPECT_TRUE(PumpUntil([&] { return closes == 1 && !IsWindowVisible(h); }));
}

TEST_F(SkinDpi, SkinSwitchesLeaveTheObjectCountsAndMemoryWhereTheyWere) {
    TForm form(Application);
    form.SetBounds(60, 60, 320, 200);
    TSkinStore store(&form);
    AddShippedSkins(store);
    auto data = MakeSkinData(&form, kSkins[0], true);
    ASSERT_NE(ShowDressed(form), nullptr);
    TSkinSwitcher switcher(*data, store);
    for (int i = 0; i < 6; ++i)
        ASSERT_TRUE(switcher.Switch(i));
    const TObjectCounts before = ObjectCounts();
    for (int i = 0; i < 40; ++i)
        ASSERT_TRUE(switcher.Switch(i)) << i;
    const TObjectCounts after = ObjectCounts();
    std::printf("at %d DPI: GDI objects %lu -> %lu, USER objects %lu -> %lu, private memory %zu -> "
                "%zu KB\n",
                WindowDpi(form.Handle()), before.Gdi, after.Gdi, before.User, after.User,
                before.PrivateBytes / 1024, after.PrivateBytes / 1024);
    EXPECT_LE(after.Gdi, before.Gdi + 10);
    EXPECT_LE(after.User, before.User + 10);
    // A scaled skin kept per switch would be hundreds of KB each time.
    EXPECT_LT(after.PrivateBytes, before.PrivateBytes + 4 * 1024 * 1024);
}
