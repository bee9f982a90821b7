#include <gtest/gtest.h>

#include "skin/render/frame_metrics.h"
#include "skin/render/frame_styles.h"

namespace qh {
namespace {

constexpr uint32_t kWsBorder = 0x00800000;

TEST(FrameStyles, BorderKindIsTestedNoneThenSizeableThenDialog) {
    EXPECT_EQ(BorderKindOf(kWsPopup), TBorderKind::None);
    // Half a caption is no caption: still no border, even with a sizing one.
    EXPECT_EQ(BorderKindOf(kWsPopup | kWsBorder | kWsThickFrame), TBorderKind::None);
    EXPECT_EQ(BorderKindOf(kWsPopup | kWsCaption | kWsThickFrame), TBorderKind::Sizeable);
    EXPECT_EQ(BorderKindOf(kWsCaption | kWsThickFrame | kDsModalFrame), TBorderKind::Sizeable);
    EXPECT_EQ(BorderKindOf(kWsCaption | kDsModalFrame), TBorderKind::Dialog);
    EXPECT_EQ(BorderKindOf(kWsCaption), TBorderKind::Fixed);

    EXPECT_EQ(BoxFlagsOf(kWsSysMenu | kWsMaximizeBox, false), 9u);
    EXPECT_EQ(BoxFlagsOf(kWsMinimizeBox, true), 10u);
    EXPECT_EQ(BoxFlagsOf(kWsCaption, false), 0u);

    EXPECT_EQ(MdiKindOf(kWsExMdiChild, true), TMdiKind::Child);
    EXPECT_EQ(MdiKindOf(0, true), TMdiKind::Frame);
    EXPECT_EQ(MdiKindOf(kWsExLeftScrollBar, false), TMdiKind::Ordinary);

    const int commands[] = {0, 1, 2, 3, 5, 6, 7, 9};
    const TShowState states[] = {TShowState::Normal, TShowState::Normal,    TShowState::Minimized, TShowState::Maximized,
                                 TShowState::Normal, TShowState::Minimized, TShowState::Minimized, TShowState::Normal};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(ShowStateOf(commands[i]), states[i]) << "show command " << commands[i];
}

TEST(FrameStyles, HidingAndShowingGiveBackWhatWasTaken) {
    // A plain window loses its caption only, and the flag says so.
    const TFrameStyles plain{0x00CE0000, 10};
    const TFrameStyles hidden = ApplyFrameStyles(plain, false, false, false);
    EXPECT_EQ(hidden.Style, 0x000E0000u);
    EXPECT_EQ(hidden.BoxFlags, 26u);
    const TFrameStyles shown = ApplyFrameStyles(hidden, true, false, false);
    EXPECT_EQ(shown.Style, 0x00CE0000u);

    // An owned window or MDI child keeps the caption and loses the boxes.
    const TFrameStyles owned{0x00CB0000, 11};
    const TFrameStyles ownedHidden = ApplyFrameStyles(owned, false, true, false);
    EXPECT_EQ(ownedHidden.Style, 0x00C00000u);
    EXPECT_EQ(ownedHidden.BoxFlags, 11u);
    EXPECT_EQ(ApplyFrameStyles(ownedHidden, true, true, false).Style, 0x00CB0000u);

    // An MDI child in maximised mode is not touched.
    EXPECT_EQ(ApplyFrameStyles(owned, false, true, true).Style, 0x00CB0000u);

    // A borderless popup has no caption to take, so none comes back.
    const TFrameStyles popup{kWsPopup | kWsBorder, 0};
    const TFrameStyles popupHidden = ApplyFrameStyles(popup, false, false, false);
    EXPECT_EQ(popupHidden.Style, kWsPopup | kWsBorder);
    EXPECT_EQ(popupHidden.BoxFlags, 0u);
    EXPECT_EQ(ApplyFrameStyles(popupHidden, true, false, false).Style, kWsPopup | kWsBorder);
}

TEST(FrameMetrics, BorderWidthsAreOneStateCell) {
    TDataSkinObject left("Left"), top("Top"), right("Right"), bottom("Bottom");
    left.Image.SetSize(12, 30);
    left.Frame = 2;
    top.Image.SetSize(40, 48);
    top.Frame = 2;
    right.Image.SetSize(5, 10);
    right.Frame = 0; // no frame count: one cell, no division by zero
    bottom.Image.SetSize(10, 7);
    bottom.Frame = -3;
    EXPECT_EQ(FrameWidthsOf(&left, &top, &right, &bottom, false), (TFrameWidths{6, 24, 5, 7}));
    EXPECT_EQ(FrameWidthsOf(&left, &top, &right, &bottom, true), (TFrameWidths{}));
    EXPECT_EQ(FrameWidthsOf(nullptr, &top, nullptr, nullptr, false), (TFrameWidths{0, 24, 0, 0}));
}

TEST(FrameMetrics, KeepClientSizeAroundTheClientArea) {
    TKeepClientSizeInput in;
    in.Client = {910, 603};
    in.Frame = {4, 30, 4, 4};
    in.MenuBarHeight = 20;
    TKeepClientSizeResult r = KeepClientSize(in);
    EXPECT_TRUE(r.Resize);
    EXPECT_EQ(r.Window, (TSize{918, 657}));
    EXPECT_EQ(r.ChildShift, 0);

    in.Maximized = true;
    EXPECT_FALSE(KeepClientSize(in).Resize);
    in.Maximized = false;

    // First attach of a form: the form's own client area, whatever the
    // window's client is at that moment.
    in.Client = {1, 1};
    in.FormFirstAttach = true;
    in.FormClientWidth = 910;
    in.FormClientHeight = 603;
    EXPECT_EQ(KeepClientSize(in).Window, (TSize{918, 657}));
    // No negative client area from a form that has none yet.
    in.FormClientHeight = -5;
    EXPECT_EQ(KeepClientSize(in).Window, (TSize{918, 54}));
}

TEST(FrameMetrics, AMessageBoxIsWidenedToHoldItsCaption) {
    TKeepClientSizeInput in;
    in.Client = {200, 100};
    in.Frame = {3, 25, 3, 3};
    in.MessageBoxFirstAttach = true;
    in.CaptionChars = 30;
    in.SpaceWidth = 4;
    in.Title.Shift = 8;
    in.Title.RightClip = 40;
    in.Title.BackLeft = 5;
    in.Title.BackRight = 6;
    // Needed: 37 x 4 + 3 + 3 + 8 + 40 + 5 + 6 = 213 against 206.
    TKeepClientSizeResult r = KeepClientSize(in);
    EXPECT_EQ(r.Window, (TSize{213, 128}));
    EXPECT_EQ(r.ChildShift, 3); // half of 7, truncated

    in.CaptionChars = 10; // 133 needed: wide enough already
    r = KeepClientSize(in);
    EXPECT_EQ(r.Window, (TSize{206, 128}));
    EXPECT_EQ(r.ChildShift, 0);

    EXPECT_TRUE(IsMessageBoxClass("TMessageForm"));
    EXPECT_TRUE(IsMessageBoxClass("#32770"));
    EXPECT_FALSE(IsMessageBoxClass("TAboutBox"));
}

TEST(FrameMetrics, NcCalcSizeClientRectangle) {
    const TFrameWidths frame{4, 30, 4, 4};
    EXPECT_EQ(NcClientRect({100, 50, 1018, 707}, frame, 20, false),
              (TRect{104, 100, 1014, 703}));
    EXPECT_EQ(NcClientRect({100, 50, 1018, 707}, frame, 20, true), (TRect{100, 50, 1018, 707}));
    // A window smaller than its frame: an empty client area inside it.
    EXPECT_EQ(NcClientRect({0, 0, 6, 20}, frame, 0, false), (TRect{4, 20, 4, 20}));
}

TEST(FrameMetrics, HitTestingInWindowCoordinates) {
    const TFrameWidths frame{4, 30, 4, 4};
    EXPECT_EQ(WindowPointOfClient({10, 5}, frame, 20, false), (TPoint{14, 55}));
    EXPECT_EQ(WindowPointOfClient({10, 5}, frame, 20, true), (TPoint{10, 5}));

    struct TCase {
        int Previous, Y, MenuBar, Expected;
    };
    const TCase cases[] = {
        {kHtNowhere, 3, 20, kHtNowhere},  // the top rows stay the system's
        {kHtCaption, 3, 20, kHtCaption},
        {kHtNowhere, 4, 20, kHtCaption},
        {kHtCaption, 29, 20, kHtCaption},
        {kHtCaption, 30, 20, kHtMenu},   // first row of the menu bar
        {kHtNowhere, 49, 20, kHtMenu},
        {kHtNowhere, 50, 20, kHtNowhere}, // below the menu bar
        {kHtNowhere, 30, 0, kHtNowhere},  // no menu bar
        {1, 10, 20, 1},                   // the client area stays
        {10, 35, 20, 10},                 // so does a sizing border
    };
    for (const TCase& c : cases)
        EXPECT_EQ(AdjustNcHitTest(c.Previous, c.Y, 30, c.MenuBar), c.Expected)
            << "previous " << c.Previous << " y " << c.Y << " menu bar " << c.MenuBar;
}

} // namespace
} // namespace qh
