// Windows dressed by the skin manager: found by the hook when activated,
// framed by the skin's images, given back exactly when undressed.
#include "toolkit_env.h"

#include "skin/engine/skin_manage.h"
#include "skin/engine/win_skin_form.h"
#include "skin/render/compose.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace qh;
using namespace qh::test;

namespace {

const char* const kSkins[] = {"default.skn", "crystal.skn", "mac.skn"};

// A main-form skin data with a shipped skin, loaded as a form reader would.
std::unique_ptr<TSkinData> MakeSkinData(TComponent* owner, const char* file, bool active) {
    auto data = std::make_unique<TSkinData>(owner);
    data->BeginLoading();
    data->SkinStream().LoadFromFile(std::string(QH_PACKED_SKIN_DIR) + "/" + file);
    data->SkinStream().SetPosition(0);
    data->LoadSkin();
    data->SetActive(active);
    data->EndLoading();
    return data;
}

struct TWindowState {
    LONG Style = 0;
    RECT Window{}, Client{};
    bool HasRegion = false;
};

TWindowState StateOf(HWND h) {
    TWindowState s;
    s.Style = GetWindowLongW(h, GWL_STYLE);
    GetWindowRect(h, &s.Window);
    GetClientRect(h, &s.Client);
    HRGN probe = CreateRectRgn(0, 0, 0, 0);
    s.HasRegion = GetWindowRgn(h, probe) != ERROR;
    DeleteObject(probe);
    return s;
}

class SkinFrame : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterSkinManage();
        DestroySkinManager();
    }
    void TearDown() override {
        DestroySkinManager();
        SetSkinManagerFactory(nullptr);
    }
};

} // namespace

TEST_F(SkinFrame, TheFirstActivationDressesTheWindowAndUndressingGivesItBack) {
    TForm form(Application);
    form.SetCaption("青禾网络电视 V2.0");
    form.SetBounds(60, 60, 300, 200);
    form.SetClientSize(320, 180);
    HWND h = form.Handle();
    const TWindowState before = StateOf(h);
    auto data = MakeSkinData(&form, kSkins[0], true);
    TSkinManage* manager = SkinManage();
    ASSERT_NE(manager, nullptr);
    // Nothing is scheduled before a window was activated.
    EXPECT_FALSE(manager->ActionScheduled());
    EXPECT_EQ(SendMessageW(h, WM_SKINQUERY, 0, 0), 0);
    form.Show();
    SetForegroundWindow(h);
    ASSERT_TRUE(PumpUntil([&] { return SendMessageW(h, WM_SKINQUERY, 0, 0) == 1; }));
    TWinSkinForm* frame = manager->FindSkinForm(h);
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return frame->FrameState() == kFrameActive; }));
    // The caption is the skin's now (a form, owned by the application
    // window, loses the system's caption buttons); the client area kept its size.
    const TWindowState dressed = StateOf(h);
    EXPECT_EQ(dressed.Style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_EQ(dressed.Client.right, 320);
    EXPECT_EQ(dressed.Client.bottom, 180);
    const RECT widths = frame->FrameWidths();
    EXPECT_EQ(dressed.Window.right - dressed.Window.left, 320 + widths.left + widths.right);
    EXPECT_EQ(dressed.Window.bottom - dressed.Window.top, 180 + widths.top + widths.bottom);
    // A second activation does not dress it twice.
    SendMessageW(h, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_FALSE(manager->SkinWindow(h));
    EXPECT_EQ(manager->SkinForms().size(), 1u);

    data->SetActive(false);
    ASSERT_TRUE(PumpUntil([&] { return manager->SkinForms().empty(); }));
    const TWindowState after = StateOf(h);
    EXPECT_EQ(SendMessageW(h, WM_SKINQUERY, 0, 0), 0);
    EXPECT_EQ(after.Style & ~WS_VISIBLE, before.Style & ~WS_VISIBLE);
    EXPECT_EQ(after.Client.right, 320);
    EXPECT_EQ(after.Client.bottom, 180);
    EXPECT_EQ(after.Window.right - after.Window.left, before.Window.right - before.Window.left);
    EXPECT_EQ(after.Window.bottom - after.Window.top, before.Window.bottom - before.Window.top);
    EXPECT_FALSE(after.HasRegion);
}

TEST_F(SkinFrame, FramePixelsComeFromTheSkinsBorderImages) {
    TForm form(Application);
    form.SetBounds(80, 80, 300, 200);
    form.SetClientSize(300, 160);
    auto data = MakeSkinData(&form, kSkins[1], true);
    HWND h = form.Handle();
    form.Show();
    SetForegroundWindow(h);
    TSkinManage* manager = SkinManage();
    ASSERT_TRUE(PumpUntil([&] {
        TWinSkinForm* f = manager->FindSkinForm(h);
        return f && f->FrameState() == kFrameActive;
    }));
    TWinSkinForm* frame = manager->FindSkinForm(h);
    RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
    RECT window{};
    GetWindowRect(h, &window);
    const int height = window.bottom - window.top;
    const RECT widths = frame->FrameWidths();
    ASSERT_GT(widths.left, 0);
    // The left border as the skin composes it, sampled in the middle.
    const TDataSkinBorder& left = *data->BorderLeft;
    TBitmap expected = ComposeImage(
        {0, 0, widths.left, height}, left.Image,
        {left.LeftWidth, left.TopHeight, left.RightWidth, left.BottomHeight}, false, left.Tile != 1,
        std::max(1, left.Frame), frame->Active() || left.Frame <= 1 ? 1 : 2);
    HDC dc = GetWindowDC(h);
    int same = 0, opaque = 0;
    for (int y = height / 3; y < 2 * height / 3; y += 7) {
        const TColor want = expected.GetPixel(widths.left / 2, y);
        if (want == kColourKey) continue;
        ++opaque;
        const COLORREF got = GetPixel(dc, widths.left / 2, y);
        if (got == RGB(ColourR(want), ColourG(want), ColourB(want))) ++same;
    }
    ReleaseDC(h, dc);
    ASSERT_GT(opaque, 3);
    EXPECT_EQ(same, opaque);
}

TEST_F(SkinFrame, AFormTaggedNinetyNineIsNeverDressedButOneTaggedOneNinetyNineIs) {
    TForm kept(Application), dressed(Application);
    kept.SetTag(99);
    dressed.SetTag(199);
    for (TForm* form : {&kept, &dressed})
        form->SetBounds(100, 100, 200, 120);
    auto data = MakeSkinData(&dressed, kSkins[2], true);
    TSkinManage* manager = SkinManage();
    manager->SetActivationCount(1);
    // Showing activates each; the hook decides.
    kept.Show();
    dressed.Show();
    EXPECT_FALSE(manager->SkinWindow(kept.Handle()));
    EXPECT_EQ(SendMessageW(kept.Handle(), WM_SKINQUERY, 0, 0), 0);
    EXPECT_EQ(SendMessageW(dressed.Handle(), WM_SKINQUERY, 0, 0), 1);
}

TEST_F(SkinFrame, AWindowDestroyedWhileDressedLeavesNothingBehind) {
    auto form = std::make_unique<TForm>(Application);
    form->SetBounds(120, 120, 240, 160);
    auto data = MakeSkinData(nullptr, kSkins[0], true);
    TSkinManage* manager = SkinManage();
    manager->SetActivationCount(1);
    form->Show();
    ASSERT_EQ(SendMessageW(form->Handle(), WM_SKINQUERY, 0, 0), 1);
    ASSERT_EQ(manager->SkinForms().size(), 1u);
    form.reset();
    manager->PurgeDeadForms();
    EXPECT_TRUE(manager->SkinForms().empty());
}
