// The caption buttons of a dressed window over a day of use: hidden and
// shown, pressed and left, repainted whole; every click on them acts and no
// picture of theirs outlives the pointer.
#include "tests/support/skin_env.h"

#include "skin/engine/skin_manage.h"
#include "skin/engine/frame/win_skin_form.h"
#include "skin/render/caption_layout.h"
#include "skin/render/state_image.h"

#include <gtest/gtest.h>

#include <memory>

using namespace qh;
using namespace qh::test;

namespace {

class CaptionButtons : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        RegisterSkinManage();
        DestroySkinManager();
        form = std::make_unique<TForm>(Application);
        form->SetCaption("青禾网络电视 V2.0");
        form->SetBounds(100, 100, 360, 240);
        // As the main window does: a close hides it and is refused.
        form->OnCloseQuery = [this](TObject*, bool& canClose) {
            ++closes;
            canClose = false;
            ShowWindow(form->Handle(), SW_HIDE);
        };
        data = MakeSkinData(form.get(), GetParam(), true);
        ShowAgain();
        ASSERT_TRUE(PumpUntil([&] {
            frame = SkinManage()->FindSkinForm(form->Handle());
            return frame && frame->FrameState() == TFrameState::Active;
        }));
        RedrawWindow(form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        for (size_t i = 0; i < frame->CaptionButtons().size(); ++i)
            if (frame->CaptionButtons()[i]->Visible &&
                frame->CaptionButtons()[i]->Part().Action == 0)
                close = static_cast<int>(i);
        ASSERT_GE(close, 0);
    }
    void TearDown() override {
        data.reset();
        form.reset();
        DestroySkinManager();
        SetSkinManagerFactory(nullptr);
    }

    void ShowAgain() {
        form->Show();
        SetForegroundWindow(form->Handle());
        Pump();
    }
    const TWinSysButton& Close() const { return *frame->CaptionButtons()[static_cast<size_t>(close)]; }
    // The middle of the close button, on the screen.
    LPARAM CloseAt() const {
        RECT window{};
        GetWindowRect(form->Handle(), &window);
        const RECT& b = Close().Bounds;
        return MAKELPARAM(window.left + (b.left + b.right) / 2, window.top + (b.top + b.bottom) / 2);
    }
    void Send(UINT msg) { SendMessageW(form->Handle(), msg, HTCAPTION, CloseAt()); }
    void Click() {
        Send(WM_NCMOUSEMOVE);
        Send(WM_NCLBUTTONDOWN);
        Send(WM_NCLBUTTONUP);
    }
    // Counts the close button's pixels that are not those of the cell
    // the skin gives a button at rest (see-through pixels left out).
    int PixelsUnlikeRest() const {
        const int frames = Close().Frames();
        const TBitmap& image = Close().Image();
        const TRect cell =
            StateImageRect(image, false, frames, CaptionPaintFrame(frame->Active(), frames));
        HDC dc = GetWindowDC(form->Handle());
        int unlike = 0;
        for (int y = 0; y < cell.Height(); ++y)
            for (int x = 0; x < cell.Width(); ++x) {
                const TColor want = image.GetPixel(cell.Left + x, cell.Top + y);
                if (want == kColourKey) continue;
                if (GetPixel(dc, Close().Bounds.left + x, Close().Bounds.top + y) != ColorToRGB(want))
                    ++unlike;
            }
        ReleaseDC(form->Handle(), dc);
        return unlike;
    }

    std::unique_ptr<TForm> form;
    std::unique_ptr<TSkinData> data;
    TWinSkinForm* frame = nullptr;
    int close = -1;
    int closes = 0;
};

} // namespace

TEST_P(CaptionButtons, CloseActsAfterEveryHideAndShowEvenWhenTheWindowHidDuringTheClick) {
    for (int round = 1; round <= 3; ++round) {
        Click();
        ASSERT_TRUE(PumpUntil([&] { return closes == round; })) << "round " << round;
        EXPECT_FALSE(IsWindowVisible(form->Handle()));
        ShowAgain();
    }
    // Hidden between the press and its release, which goes elsewhere.
    Send(WM_NCMOUSEMOVE);
    Send(WM_NCLBUTTONDOWN);
    ShowWindow(form->Handle(), SW_HIDE);
    ShowAgain();
    EXPECT_EQ(frame->CaptionButtonStates().StateOf(close), TCaptionButtonStates::Normal);
    Click();
    ASSERT_TRUE(PumpUntil([&] { return closes == 4; }));
    ShowAgain();
    // Clicked while inactive: the activation arrives between the press and
    // its release, and repaints the frame whole.
    SendMessageW(form->Handle(), WM_NCACTIVATE, FALSE, 0);
    Send(WM_NCLBUTTONDOWN);
    SendMessageW(form->Handle(), WM_NCACTIVATE, TRUE, 0);
    Send(WM_NCLBUTTONUP);
    EXPECT_TRUE(PumpUntil([&] { return closes == 5; }));
}

TEST_P(CaptionButtons, AWholeRepaintShowsTheButtonAtRestAfterHoverAndPress) {
    ASSERT_EQ(PixelsUnlikeRest(), 0);
    Send(WM_NCMOUSEMOVE);
    const int hovered = PixelsUnlikeRest();
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(PixelsUnlikeRest(), 0);
    Send(WM_NCMOUSEMOVE);
    Send(WM_NCLBUTTONDOWN);
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(PixelsUnlikeRest(), 0);
    // The press survives the repaint: its release still acts.
    Send(WM_NCLBUTTONUP);
    EXPECT_TRUE(PumpUntil([&] { return closes == 1; }));
    // The hovered picture is another one, or the check above says nothing.
    EXPECT_GT(hovered, 0);
}

INSTANTIATE_TEST_SUITE_P(Skins, CaptionButtons, ::testing::ValuesIn(kSkins));
