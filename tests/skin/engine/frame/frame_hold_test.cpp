// What a frame holds of its window and of its skin: a window it cannot
// take stays the window's own, and a skin read that fails under a dressed
// window takes nothing from the frame's caption buttons.
#include "tests/support/skin_env.h"
#include "tests/skin/data/model/skin_test_data.h"

#include "skin/engine/skin_manage.h"
#include "skin/engine/window_subclass.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qh;
using namespace qh::test;

namespace {

class FrameHold : public TSkinSuite {};

// A skin whose caption buttons are read before one of their images turns
// out broken: the read ends there, with the skin's button list made anew.
std::string DamagedSkin() {
    std::string ini;
    for (int i = 0; i < 8; ++i)
        ini += "[Button" + std::to_string(i) + "]\nAction=" + std::to_string(70 + i) +
               "\nXcoord=999\nVisibility=1\n";
    ini += "[ButtonBroken]\nAction=79\nButtonImage=bad.bmp\n";
    return PackedSkin(ini, {{"bad.bmp", "BM not a bitmap"}});
}

struct TButtonSeen {
    int Action = 0, XCoord = 0, Width = 0, Height = 0;
    bool operator==(const TButtonSeen&) const = default;
};

std::vector<TButtonSeen> ButtonsOf(const TWinSkinForm& frame) {
    std::vector<TButtonSeen> seen;
    for (const auto& button : frame.CaptionButtons())
        seen.push_back({button->Part().Action, button->Part().XCoord, button->Image().Width(),
                        button->Image().Height()});
    return seen;
}

} // namespace

TEST_F(FrameHold, ADamagedSkinReadUnderADressedWindowLeavesItsCaptionButtonsWhole) {
    TSkinnedForm dressed(kSkins[0], {80, 80, 380, 280});
    dressed.Form.SetCaption("青禾网络电视");
    dressed.Show();
    ASSERT_NE(dressed.Frame, nullptr);
    const TWinSkinForm& frame = *dressed.Frame;
    HWND h = dressed.Form.Handle();
    CaptureWindow(h);
    const std::vector<TButtonSeen> before = ButtonsOf(frame);
    ASSERT_FALSE(before.empty());

    const std::string damaged = DamagedSkin();
    dressed.Data->SkinStream().Clear();
    dressed.Data->SkinStream().WriteBuffer(damaged.data(), static_cast<int64_t>(damaged.size()));
    EXPECT_THROW(dressed.Data->LoadSkin(), EInvalidGraphic);
    EXPECT_EQ(ButtonsOf(frame), before);

    // Painted, hovered and pressed, the caption still answers.
    CaptureWindow(h);
    RECT window{};
    GetWindowRect(h, &window);
    for (size_t i = 0; i < frame.CaptionButtons().size(); ++i) {
        const TWinSysButton& button = *frame.CaptionButtons()[i];
        if (!button.Visible || button.Part().Action == 0) continue;
        const RECT& b = button.Bounds;
        const LPARAM at =
            MAKELPARAM(window.left + (b.left + b.right) / 2, window.top + (b.top + b.bottom) / 2);
        SendMessageW(h, WM_NCMOUSEMOVE, HTCAPTION, at);
        SendMessageW(h, WM_NCLBUTTONDOWN, HTCAPTION, at);
        EXPECT_EQ(frame.CaptionButtonStates().StateOf(static_cast<int>(i)),
                  TCaptionButtonStates::Pressed);
        SendMessageW(h, WM_NCLBUTTONUP, HTCAPTION, MAKELPARAM(window.left + 1, window.bottom - 1));
    }
    EXPECT_EQ(SendMessageW(h, WM_SKINQUERY, 0, 0), 1);
}

TEST_F(FrameHold, AWindowThatCannotTakeTheFrameIsLeftOutOfTheManagersList) {
    TForm form(Application);
    form.SetCaption("青禾网络电视");
    form.SetBounds(80, 80, 300, 200);
    auto data = MakeSkinData(&form, kSkins[0], true);
    HWND h = form.Handle();
    // Something else already stands in the frame's place on this window.
    TWindowSubclass other(TSubclassRole::Frame);
    ASSERT_TRUE(other.Install(h, [&](UINT msg, WPARAM wParam, LPARAM lParam) {
        return other.CallNext(msg, wParam, lParam);
    }));
    form.Show();
    SetForegroundWindow(h);
    Pump();
    const LONG style = GetWindowLongW(h, GWL_STYLE);
    TSkinManage* manager = SkinManage();
    ASSERT_NE(manager, nullptr);
    EXPECT_FALSE(manager->SkinWindow(h));
    EXPECT_EQ(manager->FindSkinForm(h), nullptr);
    EXPECT_EQ(GetWindowLongW(h, GWL_STYLE), style);

    // Once it has gone, the window is dressed like any other.
    other.Remove();
    EXPECT_TRUE(manager->SkinWindow(h));
    EXPECT_NE(WaitForFrame(h), nullptr);
}
