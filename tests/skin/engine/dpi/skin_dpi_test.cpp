// The skinned frame at the DPI of the monitor its window is on: the skin's
// widths, caption strip and caption buttons scaled, and a DPI change there
// and back giving the picture the window started with.
#include "tests/support/skin_env.h"

#include "core/mul_div.h"
#include "skin/data/skin_store.h"
#include "skin/engine/skin_manage.h"
#include "skin/render/frame_metrics.h"
#include "toolkit/dpi.h"
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

class SkinDpi : public TSkinSuite {};

} // namespace

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
    for (const char* file : kSkins) {
        TMemoryStream packed;
        packed.LoadFromFile(std::string(QH_PACKED_SKIN_DIR) + "/" + file);
        packed.SetPosition(0);
        store.Store()->Add().ReadDataStream(packed);
    }
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
