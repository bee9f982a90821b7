// The real program at the DPI of its prefix, measured from another process:
// every 96-DPI figure of the main window, the popup and the about box shows
// scaled, and the close button is where the scaled layout puts it.
#include "portal_e2e.h"
#include "program_look.h"
#include "skin/render/frame_metrics.h"
#include "skin/render/scaled_skin.h"
#include "tests/support/dpi_awareness.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

using namespace e2e_app;
using namespace qh::test;

constexpr DWORD kPatience = 60000;
// The main window's caption strip and menu bar together, at 96 DPI.
constexpr int kCaptionAndMenuBar96 = 42;
constexpr int kMenuBar96 = 20;

int Dpi() { return ExpectedDpi(); }
int Scaled(int v) { return MulDiv(v, Dpi(), 96); }

RECT WindowRectOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

// The client area in screen coordinates.
RECT ClientOnScreen(HWND window) {
    RECT c{};
    GetClientRect(window, &c);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&c), 2);
    return c;
}

HWND ChildOfClass(HWND parent, const std::wstring& cls) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (WindowClass(child) == cls) return child;
    return nullptr;
}

// The frame the shipped skin gives at the prefix's DPI.
qh::TFrameWidths ScaledFrame() {
    const auto skin = qh::ScaledSkinParts(*ShippedSkin(0), Dpi());
    return qh::FrameWidthsOf(skin->BorderLeft.get(), skin->BorderTop.get(),
                             skin->BorderRight.get(), skin->BorderBottom.get(), false);
}

class DpiE2e : public PortalE2e {
protected:
    void SetUp() override {
        ASSERT_TRUE(MakePerMonitorAware()) << "the suite reads the program's true pixels";
        PortalE2e::SetUp();
    }
    // Waits for the dressed main window to take its scaled client size
    // inside the skin's frame and below its painted menu bar: the toolkit
    // sizes it around the system's frame first, with the same client size,
    // and the window's own menu goes just before the skin's frame is sized.
    void StartScaled() {
        const qh::TFrameWidths frame = ScaledFrame();
        StartProgram();
        ASSERT_NE(FMain, nullptr);
        ASSERT_TRUE(PumpUntil(
            [&] {
                RECT c{};
                GetClientRect(FMain, &c);
                return SendMessageW(FMain, 0x3504, 0, 0) == 1 &&
                       ClientOnScreen(FMain).left - WindowRectOf(FMain).left == frame.Left &&
                       ClientOnScreen(FMain).top - WindowRectOf(FMain).top >
                           frame.Top + Scaled(kMenuBar96) / 2 &&
                       std::abs(c.right - Scaled(910)) <= 3 && std::abs(c.bottom - Scaled(603)) <= 3;
            },
            kPatience))
            << "client " << Scaled(910) << " x " << Scaled(603) << " within 3, frame " << frame.Left;
    }
};

} // namespace

TEST_F(DpiE2e, TheMainWindowsFrameCaptionMenuBarAndToolBarAreTheirDesignScaled) {
    StartScaled();
    const auto skin = qh::ScaledSkinParts(*ShippedSkin(0), Dpi());
    const RECT w = WindowRectOf(FMain), c = ClientOnScreen(FMain);
    const auto original = ShippedSkin(0);
    const qh::TFrameWidths frame96 = qh::FrameWidthsOf(
        original->BorderLeft.get(), original->BorderTop.get(), original->BorderRight.get(),
        original->BorderBottom.get(), false);
    EXPECT_NEAR(c.left - w.left, Scaled(frame96.Left), 1);
    EXPECT_NEAR(w.right - c.right, Scaled(frame96.Right), 1);
    EXPECT_NEAR(w.bottom - c.bottom, Scaled(frame96.Bottom), 1);
    // The caption strip is the skin's, scaled; the menu bar is as high as
    // the system's own at that DPI, which its font decides (37 at 192
    // under Wine rather than 40).
    EXPECT_NEAR(c.top - w.top - ScaledFrame().Top, Scaled(kMenuBar96), 3);
    if (Dpi() == 96) {
        EXPECT_EQ(c.top - w.top, kCaptionAndMenuBar96) << "the figure at 96";
    }

    HWND bar = ChildOfClass(FMain, L"TToolBar");
    ASSERT_NE(bar, nullptr);
    const RECT b = WindowRectOf(bar);
    EXPECT_NEAR(b.bottom - b.top, Scaled(27), 1);

    // The close button, found where the scaled skin's layout puts it, hides
    // the window to the tray.
    const POINT close = CaptionButtonPoint(FMain, *skin, 0, false);
    ASSERT_GE(close.x, 0);
    // A real click, every input at the button's place: posted button
    // messages raced the frame's hover timer, which ends a press whose
    // button is not down, and a pointer moved apart from the click could
    // still be elsewhere when the press came.
    INPUT click[3]{};
    for (INPUT& in : click) {
        in.type = INPUT_MOUSE;
        in.mi.dx = (close.x * 65536 + GetSystemMetrics(SM_CXSCREEN) - 1) / GetSystemMetrics(SM_CXSCREEN);
        in.mi.dy = (close.y * 65536 + GetSystemMetrics(SM_CYSCREEN) - 1) / GetSystemMetrics(SM_CYSCREEN);
        in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    }
    click[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    click[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(SendInput(3, click, sizeof(INPUT)), 3u);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(FMain); }, kPatience)) << "hid to the tray";
    EXPECT_TRUE(FProgram->Running());
}

// Wine makes every program per-monitor aware; Windows only one whose
// manifest asks, with the older declaration for systems before version 2.
TEST(DpiManifest, TheProgramAsksForPerMonitorAwareness) {
    HMODULE program = LoadLibraryExW(ProgramExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr);
    HRSRC found = FindResourceW(program, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(found, nullptr) << "an embedded manifest";
    const auto* text = static_cast<const char*>(LockResource(LoadResource(program, found)));
    const std::string manifest(text, SizeofResource(program, found));
    FreeLibrary(program);
    EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
    EXPECT_NE(manifest.find(">true/pm</dpiAware>"), std::string::npos);
}

TEST_F(DpiE2e, APopupAndTheAboutBoxAreTheir96DpiSizesScaled) {
    FServer->Set("/ad/Config.txt", Answer{200, ScheduleLine(ServerAddress("/ad/p1.htm")), 0});
    StartScaled();
    HWND popup = WaitForWindow(L"TAlarmFrm", L"悦视 网络电视");
    ASSERT_NE(popup, nullptr);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    ASSERT_TRUE(PumpUntil([&] { return WindowRectOf(popup).bottom == work.bottom; }, kPatience))
        << "the popup comes to rest";
    RECT client{};
    GetClientRect(popup, &client);
    EXPECT_NEAR(client.right, Scaled(306), 3);
    EXPECT_NEAR(client.bottom, Scaled(225), 3);

    PickMenuItem(FMain, L's', VK_UP, 1); // up from the first item wraps to "关于"
    HWND box = WaitForWindow(L"TAboutBox", L"关于我们");
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(Dressed(box));
    RECT r{};
    GetClientRect(box, &r);
    EXPECT_NEAR(r.right, Scaled(360), 3);
    EXPECT_NEAR(r.bottom, Scaled(227), 3);
    PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(box); }, kPatience));
}
