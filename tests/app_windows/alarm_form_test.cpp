#include "app/alarm_form_win.h"

#include "app_environment.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using qh::TAlarmFrm;
using qh::test::PumpUntil;
using qh::test::TestApplication;

RECT WorkArea() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

// A popup of a 300 x 200 page placed as the schedule places it.
TAlarmFrm* NewPopup() {
    auto* popup = new TAlarmFrm(&TestApplication());
    qh::AlarmFrm = popup;
    const int width = 306, height = 225;
    popup->SetBounds(GetSystemMetrics(SM_CXSCREEN) - width, GetSystemMetrics(SM_CYSCREEN) + 2,
                     width, height);
    return popup;
}

bool Gone(HWND window) {
    return !IsWindow(window);
}

// Counts the right-button presses that reach a window.
int rightPresses = 0;
WNDPROC staticProc = nullptr;
LRESULT CALLBACK CountingProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONUP) ++rightPresses;
    return CallWindowProcW(staticProc, window, msg, wParam, lParam);
}

} // namespace

TEST(AlarmForm, RisesInEightPixelStepsToRestOnTheWorkArea) {
    TAlarmFrm* popup = NewPopup();
    const int startTop = popup->Top();
    popup->Show();
    // Step by step first: each tick of the slide-up lifts it by 8.
    popup->Timer1Timer();
    EXPECT_EQ(popup->Top(), startTop - 8);
    popup->Timer1Timer();
    EXPECT_EQ(popup->Top(), startTop - 16);

    // Then the real 5 ms timer carries it the rest of the way.
    ASSERT_TRUE(PumpUntil([&] { return !popup->SlideUpRunning(); }));
    EXPECT_EQ(popup->Top() + popup->Height(), WorkArea().bottom);
    EXPECT_EQ(popup->Left() + popup->Width(), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(popup->Width(), 306);
    EXPECT_EQ(popup->Height(), 225);
    EXPECT_EQ(popup->Layout().Page.Width, 300);
    EXPECT_EQ(popup->Layout().Page.Height, 200);

    HWND window = popup->Handle();
    popup->Image2Click();
    ASSERT_TRUE(PumpUntil([&] { return Gone(window); }));
    EXPECT_EQ(qh::AlarmFrm, nullptr);
}

TEST(AlarmForm, FirstCloseClickSlidesDownFurtherClicksChangeNothing) {
    TAlarmFrm* popup = NewPopup();
    popup->Show();
    ASSERT_TRUE(PumpUntil([&] { return !popup->SlideUpRunning(); }));
    HWND window = popup->Handle();
    const int restingTop = popup->Top();

    // A real click on the close picture, in the middle of it.
    const qh::TRectI& close = popup->Layout().Close;
    LPARAM at = MAKELPARAM(close.Left + close.Width / 2, close.Top + close.Height / 2);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(window, WM_LBUTTONUP, 0, at);
    EXPECT_TRUE(popup->SlideDownRunning());
    EXPECT_FALSE(popup->MayClose());
    EXPECT_TRUE(IsWindowVisible(window));

    popup->Timer2Timer();
    EXPECT_EQ(popup->Top(), restingTop + 8);
    popup->Image2Click();
    popup->Image2Click();
    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(popup->MayClose());
    EXPECT_EQ(popup->Top(), restingTop + 8);

    // Hidden and freed once it is out of sight.
    const int limit = GetSystemMetrics(SM_CYSCREEN) + 225 + 20;
    int lastTop = popup->Top();
    ASSERT_TRUE(PumpUntil([&] {
        if (!IsWindow(window)) return true;
        lastTop = popup->Top();
        return false;
    }));
    EXPECT_GE(lastTop + 8, limit);
    EXPECT_EQ(qh::AlarmFrm, nullptr);
}

TEST(AlarmForm, CloseDuringTheRiseEndsHidden) {
    TAlarmFrm* popup = NewPopup();
    popup->Show();
    for (int i = 0; i < 3; ++i)
        popup->Timer1Timer();
    HWND window = popup->Handle();
    popup->Image2Click();
    EXPECT_FALSE(popup->SlideUpRunning());
    ASSERT_TRUE(PumpUntil([&] { return Gone(window); }));
}

TEST(AlarmForm, OlderPopupKeepsItsOwnCloseAndTheNewestStaysReferenced) {
    TAlarmFrm* older = NewPopup();
    older->Show();
    TAlarmFrm* newer = NewPopup();
    newer->Show();
    EXPECT_EQ(qh::AlarmFrm, newer);
    HWND olderWindow = older->Handle();
    older->Image2Click();
    ASSERT_TRUE(PumpUntil([&] { return Gone(olderWindow); }));
    EXPECT_EQ(qh::AlarmFrm, newer);
    HWND newerWindow = newer->Handle();
    newer->Image2Click();
    ASSERT_TRUE(PumpUntil([&] { return Gone(newerWindow); }));
    EXPECT_EQ(qh::AlarmFrm, nullptr);
}

TEST(AlarmForm, RightButtonInsideTheBrowserIsDroppedElsewherePassed) {
    TAlarmFrm* popup = NewPopup();
    popup->Show();
    HWND page =
        CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50,
                        popup->WebBrowser1().Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(page, nullptr);
    staticProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(page, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProc)));

    // Through the real message loop.
    rightPresses = 0;
    PostMessageW(page, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    PostMessageW(page, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    TestApplication().ProcessMessages();
    EXPECT_EQ(rightPresses, 0);

    // The filter itself: only right-button messages for the page's windows.
    auto filtered = [&](HWND target, UINT message) {
        MSG msg{};
        msg.hwnd = target;
        msg.message = message;
        bool handled = false;
        popup->ApplicationEvents1Message(msg, handled);
        return handled;
    };
    EXPECT_TRUE(filtered(page, WM_RBUTTONDOWN));
    EXPECT_TRUE(filtered(page, WM_RBUTTONUP));
    EXPECT_FALSE(filtered(page, WM_LBUTTONDOWN));
    EXPECT_FALSE(filtered(popup->Handle(), WM_RBUTTONDOWN)); // the title bar
    EXPECT_FALSE(filtered(popup->Handle(), WM_RBUTTONUP));

    SetWindowLongPtrW(page, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(staticProc));
    DestroyWindow(page);
    HWND window = popup->Handle();
    popup->Image2Click();
    ASSERT_TRUE(PumpUntil([&] { return Gone(window); }));
}

TEST(AlarmForm, CornersAreSeeThroughThroughTheColourKey) {
    TAlarmFrm* popup = NewPopup();
    popup->SetTop(100);
    popup->Show();
    HWND window = popup->Handle();
    UpdateWindow(window);
    TestApplication().ProcessMessages();

    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED);
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(window, &key, &alpha, &flags));
    EXPECT_TRUE(flags & LWA_COLORKEY);
    EXPECT_EQ(key, RGB(230, 230, 250));

    // The window's own picture carries the key in its four corners only.
    HDC dc = GetDC(window);
    const int w = popup->Width(), h = popup->Height();
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(230, 230, 250));
    EXPECT_EQ(GetPixel(dc, w - 1, 0), RGB(230, 230, 250));
    EXPECT_EQ(GetPixel(dc, 0, h - 1), RGB(230, 230, 250));
    EXPECT_EQ(GetPixel(dc, w - 1, h - 1), RGB(230, 230, 250));
    EXPECT_NE(GetPixel(dc, 10, 10), RGB(230, 230, 250));
    EXPECT_NE(GetPixel(dc, w / 2, h - 2), RGB(230, 230, 250));
    ReleaseDC(window, dc);

    popup->Image2Click();
    ASSERT_TRUE(PumpUntil([&] { return Gone(window); }));
}
