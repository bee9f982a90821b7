// The popup and the about box at the DPI of the monitor they are made on:
// their 96-DPI windows scaled.
#include "app/about_box_win.h"
#include "app/alarm_form_win.h"

#include "tests/support/dpi_awareness.h"
#include "tests/support/toolkit_env.h"
#include "toolkit/dpi.h"

#include <gtest/gtest.h>

namespace {

using qh::test::PumpUntil;

// Before any window is made.
const bool perMonitorAware = qh::test::MakePerMonitorAware();

SIZE ClientOf(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return {r.right, r.bottom};
}

TEST(AppWindowsDpi, PopupOfA300By200LineIsThe96DpiPopupScaled) {
    ASSERT_TRUE(perMonitorAware);
    // Placed as the schedule places a 300 x 200 page: 306 x 225 at 96 DPI.
    auto* popup = new qh::TAlarmFrm(qh::Application);
    qh::AlarmFrm = popup;
    popup->SetBounds(GetSystemMetrics(SM_CXSCREEN) - 306, GetSystemMetrics(SM_CYSCREEN) + 2, 306, 225);
    popup->Show();
    HWND window = popup->Handle();
    const int dpi = qh::test::ExpectedDpi();
    ASSERT_EQ(qh::WindowDpi(window), dpi);
    const SIZE client = ClientOf(window);
    EXPECT_EQ(client.cx, MulDiv(306, dpi, 96));
    EXPECT_EQ(client.cy, MulDiv(225, dpi, 96));
    // The page within a pixel of the schedule's size scaled (the frame
    // rounds on both sides), the frame pictures drawn at the frame's width.
    EXPECT_NEAR(popup->WebBrowser1->Width(), MulDiv(300, dpi, 96), 1);
    EXPECT_NEAR(popup->WebBrowser1->Height(), MulDiv(200, dpi, 96), 1);
    EXPECT_EQ(popup->Image8->Width(), MulDiv(3, dpi, 96));
    EXPECT_EQ(popup->Image8->Picture()->Width(), MulDiv(3, dpi, 96));
    // It still rises and rests on the work area.
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_TRUE(PumpUntil([&] { return !popup->Timer1->Enabled(); }));
    EXPECT_EQ(popup->Top() + popup->Height(), work.bottom);
    popup->Image2Click(nullptr);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(window); }));
}

TEST(AppWindowsDpi, AboutBoxIsIts96DpiSizeScaled) {
    qh::TAboutBox box(qh::Application);
    const int dpi = qh::test::ExpectedDpi();
    const SIZE client = ClientOf(box.Handle());
    EXPECT_EQ(client.cx, MulDiv(360, dpi, 96));
    EXPECT_EQ(client.cy, MulDiv(227, dpi, 96));
    EXPECT_EQ(box.Memo1->Width(), MulDiv(349, dpi, 96) - MulDiv(12, dpi, 96));
}

} // namespace
