// The screen's DPI as a program of the prefix sees it: what the suite's
// environment says it should be (QH_EXPECT_DPI), 96 when it says nothing.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

int ExpectedDpi() {
    const char* given = std::getenv("QH_EXPECT_DPI");
    return given && *given ? std::atoi(given) : 96;
}

TEST(DisplayDpi, ScreenHasThePrefixDpi) {
    HDC screen = GetDC(nullptr);
    ASSERT_NE(screen, nullptr);
    const int x = GetDeviceCaps(screen, LOGPIXELSX), y = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(x, ExpectedDpi());
    EXPECT_EQ(y, ExpectedDpi());
}

// The prefix's desktop grows with its DPI, so the windows scaled for it fit.
TEST(DisplayDpi, DesktopHasTheRoomOfA1024By768OneAtThatDpi) {
    EXPECT_GE(GetSystemMetrics(SM_CXSCREEN), MulDiv(1024, ExpectedDpi(), 96));
    EXPECT_GE(GetSystemMetrics(SM_CYSCREEN), MulDiv(768, ExpectedDpi(), 96));
}

} // namespace
