#include <gtest/gtest.h>

#include <memory>

#include "skin/render/caption_layout.h"
#include "skin/render/frame_styles.h"

namespace qh {
namespace {

TEST(CaptionButtons, VisibilityTableRowByRow) {
    TCaptionState none;
    TCaptionState max;
    max.Maximized = true;
    TCaptionState active;
    active.Active = true;
    auto flags = [](unsigned f) {
        TCaptionState s;
        s.BoxFlags = f;
        return s;
    };
    TCaptionState mdi;
    mdi.MdiFrameChildMaximized = true;
    mdi.MenuBarHeight = 20;
    TCaptionState mdiNoMenu = mdi;
    mdiNoMenu.MenuBarHeight = 0;
    TCaptionState menuNoMdi;
    menuNoMdi.MenuBarHeight = 20;

    const TCaptionState sys = flags(kBoxSystemMenu);
    const TCaptionState maxBox = flags(kBoxMaximize);
    const TCaptionState maxBoxSys = flags(kBoxMaximize | kBoxSystemMenu);
    const TCaptionState minBox = flags(kBoxMinimize);
    const TCaptionState minBoxSys = flags(kBoxMinimize | kBoxSystemMenu);

    struct TRow {
        int Code;
        bool First; // Visibility, else Visibility1
        int Action;
        const TCaptionState* State;
        bool Expected;
    };
    const TRow rows[] = {
        {0, true, 0, &none, false},     {0, true, 0, &sys, true},
        {0, true, 1, &none, true},      {0, false, 0, &none, true},
        {1, true, 0, &max, true},       {1, true, 0, &none, false},
        {1, false, 0, &max, true},      {1, false, 0, &none, false},
        {2, true, 0, &none, true},      {2, true, 0, &max, false},
        {2, false, 0, &none, true},     {2, false, 0, &max, false},
        {3, true, 0, &active, true},    {3, true, 0, &none, false},
        {3, false, 0, &active, true},   {3, false, 0, &none, false},
        {4, true, 0, &none, true},      {4, true, 0, &active, false},
        {4, false, 0, &none, true},     {4, false, 0, &active, false},
        {5, true, 0, &active, false},   {5, false, 0, &none, false},
        {6, true, 0, &maxBox, false},   {6, true, 0, &maxBoxSys, true},
        {6, true, 0, &sys, false},      {6, false, 0, &maxBox, true},
        {6, false, 0, &none, false},    {7, true, 0, &none, true},
        {7, true, 0, &maxBox, false},   {7, false, 0, &none, true},
        {7, false, 0, &maxBoxSys, false}, {8, true, 0, &minBox, false},
        {8, true, 0, &minBoxSys, true}, {8, false, 0, &minBox, true},
        {8, false, 0, &sys, false},     {9, true, 0, &none, true},
        {9, true, 0, &minBox, false},   {9, false, 0, &none, true},
        {9, false, 0, &minBoxSys, false}, {100, true, 7, &mdi, true},
        {100, true, 7, &mdiNoMenu, false}, {100, true, 7, &menuNoMdi, false},
        {100, false, 7, &mdi, true},    {100, false, 7, &mdiNoMenu, false},
        {199, true, 0, &none, false},   {199, false, 0, &none, false},
        {200, true, 0, &none, true},    {200, false, 0, &none, true},
        {1000, true, 0, &none, true},   {2000, false, 0, &none, true},
        {2001, true, 0, &none, false},  {2001, false, 0, &none, false},
        {-1, true, 0, &sys, false},     {-1, false, 0, &none, false},
        {10, true, 0, &none, false},
    };
    for (const TRow& r : rows)
        EXPECT_EQ(VisibilityHolds(r.Code, r.First, r.Action, *r.State), r.Expected)
            << "code " << r.Code << (r.First ? " Visibility" : " Visibility1") << " action "
            << r.Action;
}

TEST(CaptionButtons, BothCodesAndTheBoxesOfActionsOneAndTwo) {
    TDataSkinSysButton b("BUTTON1");
    TCaptionState s;
    s.BoxFlags = kBoxSystemMenu;
    b.Action = 1; // maximise
    EXPECT_FALSE(CaptionButtonVisible(b, s));
    s.BoxFlags |= kBoxMaximize;
    EXPECT_TRUE(CaptionButtonVisible(b, s));
    b.Action = 2; // minimise
    EXPECT_FALSE(CaptionButtonVisible(b, s));
    s.BoxFlags = kBoxMinimize;
    EXPECT_TRUE(CaptionButtonVisible(b, s));
    b.Action = 0;
    b.Visibility = 200;
    b.Visibility1 = 3; // only while active
    EXPECT_FALSE(CaptionButtonVisible(b, s));
    s.Active = true;
    EXPECT_TRUE(CaptionButtonVisible(b, s));
}

std::unique_ptr<TDataSkinSysButton> Button(int align, int x, int y, int w, int h, int frames) {
    auto b = std::make_unique<TDataSkinSysButton>("BUTTON");
    b->Align = align;
    b->XCoord = x;
    b->YCoord = y;
    b->Frame = frames;
    b->Action = 5;
    if (w > 0) b->Image.SetSize(w, h);
    return b;
}

TEST(CaptionButtons, LayoutByAlign) {
    std::vector<std::unique_ptr<TDataSkinSysButton>> own;
    own.push_back(Button(0, 6, 7, 48, 16, 3));
    own.push_back(Button(1, 40, 5, 54, 18, 3));
    own.push_back(Button(1, 70, 5, 54, 18, 3)); // further left: not the largest edge
    own.push_back(Button(2, 3, 6, 20, 10, 2));
    own.push_back(Button(8, 3, 6, 20, 10, 2));
    own.push_back(Button(3, 4, 6, 20, 10, 2));
    own.push_back(Button(9, 4, 6, 20, 10, 2));
    own.push_back(Button(100, 20, 99, 64, 12, 4));
    own.back()->Visibility = own.back()->Visibility1 = 100;
    own.push_back(Button(5, 30, 30, 20, 10, 2));
    own.push_back(Button(0, 1, 1, 20, 10, 2));
    own.back()->Visibility = 1; // maximised only
    own.push_back(Button(0, 2, 3, 0, 0, 0)); // icon button without a picture
    own.back()->Action = 3;
    own.push_back(Button(0, 2, 3, 0, 0, 0)); // nothing to show
    std::vector<const TDataSkinSysButton*> parts;
    for (const auto& b : own)
        parts.push_back(b.get());

    TBitmap icon(16, 16);
    TCaptionState state;
    state.Active = true;
    state.BoxFlags = kBoxMaximize | kBoxMinimize | kBoxSystemMenu;
    state.MdiFrameChildMaximized = true;
    state.MenuBarHeight = 20;
    TCaptionGeometry g;
    g.WindowWidth = 300;
    g.TextRect = {40, 9, 150, 23};
    g.Frame = {4, 30, 5, 4};
    g.MenuBarHeight = 20;
    g.MenuBarLeftMargin = 2;

    TCaptionButtonLayout layout = LayoutCaptionButtons(parts, icon, state, g);
    ASSERT_EQ(layout.Buttons.size(), parts.size());
    const TRect expected[] = {{6, 7, 22, 23},    {260, 5, 278, 23}, {230, 5, 248, 23},
                              {27, 6, 37, 16},   {27, 6, 37, 16},   {154, 6, 164, 16},
                              {154, 6, 164, 16}, {273, 34, 289, 46}, {0, 0, 10, 10},
                              {},                {2, 3, 18, 19},    {}};
    for (size_t i = 0; i < parts.size(); ++i) {
        EXPECT_EQ(layout.Buttons[i].Bounds, expected[i]) << "button " << i;
        EXPECT_EQ(layout.Buttons[i].Visible, !expected[i].Empty()) << "button " << i;
        EXPECT_EQ(layout.Buttons[i].Action, parts[i]->Action) << "button " << i;
    }
    EXPECT_EQ(layout.RightButtonLeft, 260);
    EXPECT_EQ(&CaptionButtonImage(*parts[10], icon), &icon);
    EXPECT_EQ(CaptionButtonFrames(*parts[10]), 1);

    // Right to left the menu bar buttons are mirrored to its left end.
    g.RightToLeft = true;
    layout = LayoutCaptionButtons(parts, icon, state, g);
    EXPECT_EQ(layout.Buttons[7].Bounds, (TRect{10, 34, 26, 46}));

    // No right-aligned button: no right edge.
    layout = LayoutCaptionButtons({parts[0]}, icon, state, g);
    EXPECT_EQ(layout.RightButtonLeft, 0);
}

TEST(CaptionButtons, PaintFramesAndTheButtonUnderAPoint) {
    EXPECT_EQ(CaptionPaintFrame(true, 6), 1);
    EXPECT_EQ(CaptionPaintFrame(false, 3), 1);
    EXPECT_EQ(CaptionPaintFrame(false, 4), 4);
    EXPECT_EQ(ButtonPaintFrame(1, 0), 1);
    EXPECT_EQ(ButtonPaintFrame(2, 0), 2);
    EXPECT_EQ(ButtonPaintFrame(3, 0), 3);
    EXPECT_EQ(ButtonPaintFrame(3, 100), 4);
    EXPECT_EQ(ButtonPaintFrame(2, 100), 2);
    // At rest an inactive caption button shows its inactive cell; the MDI
    // child's buttons in the bar show their first; a hot one past the
    // strip shows its last cell.
    EXPECT_EQ(CaptionButtonCell(1, false, 0, 4), 4);
    EXPECT_EQ(CaptionButtonCell(1, false, 100, 4), 1);
    EXPECT_EQ(CaptionButtonCell(3, true, 100, 3), 3);

    const std::vector<TPlacedButton> buttons = {{{10, 0, 20, 10}, true, -1},
                                                {{10, 0, 20, 10}, false, 0},
                                                {{10, 0, 20, 10}, true, 0},
                                                {{15, 0, 30, 10}, true, 1}};
    EXPECT_EQ(CaptionButtonAt(buttons, {12, 5}), 2);
    EXPECT_EQ(CaptionButtonAt(buttons, {20, 5}), 3); // right edges are outside
    EXPECT_EQ(CaptionButtonAt(buttons, {5, 5}), -1);
    EXPECT_EQ(CaptionButtonAt(buttons, {12, 10}), -1);
}

TEST(CaptionText, PlacementByAlignment) {
    TCaptionTextInput in;
    in.Caption = {4, 0, 204, 30};
    in.Measured = {100, 14};
    in.Title = {8, 3, 20, 5, 7, 0}; // shift, vertical shift, right clip, back margins
    // 112 wide with the back margins; 8 + 3 / 2 = 9 down.
    TCaptionTextPlace p = PlaceCaptionText(in);
    EXPECT_EQ(p.TextRect, (TRect{12, 9, 124, 23}));
    EXPECT_EQ(p.BackRect, (TRect{12, 0, 124, 30}));
    EXPECT_EQ(p.DrawRect, (TRect{17, 9, 117, 23}));

    in.Title.Alignment = 1;
    EXPECT_EQ(PlaceCaptionText(in).TextRect, (TRect{48, 9, 160, 23}));
    in.Title.Alignment = 2;
    EXPECT_EQ(PlaceCaptionText(in).TextRect, (TRect{72, 9, 184, 23}));
    in.Title.Alignment = 5;
    EXPECT_EQ(PlaceCaptionText(in).TextRect, (TRect{4, 9, 116, 23}));
    in.Title.Alignment = 0;
    in.RightToLeft = true;
    EXPECT_EQ(PlaceCaptionText(in).TextRect, (TRect{72, 9, 184, 23}));
    in.RightToLeft = false;

    // Wider than the room: centring rounds toward zero (-17 / 2 = -8), the
    // right clip cuts it.
    in.Title.Alignment = 1;
    in.Measured = {205, 14};
    EXPECT_EQ(PlaceCaptionText(in).TextRect, (TRect{-4, 9, 184, 23}));

    // A negative vertical shift: -3 / 2 = -1.
    in.Title.Alignment = 0;
    in.Measured = {100, 14};
    in.Title.ShiftVert = -3;
    EXPECT_EQ(PlaceCaptionText(in).TextRect, (TRect{12, 7, 124, 21}));
    in.Title.ShiftVert = 3;

    // A popup reaches to 5 left of the right buttons, and is not clipped.
    in.Popup = true;
    in.RightButtonLeft = 180;
    EXPECT_EQ(PlaceCaptionText(in).TextRect, (TRect{12, 9, 175, 23}));
    in.RightButtonLeft = 100;
    EXPECT_EQ(PlaceCaptionText(in).TextRect, (TRect{12, 9, 124, 23}));
    in.Measured = {205, 14};
    EXPECT_EQ(PlaceCaptionText(in).TextRect, (TRect{12, 9, 229, 23}));
}

} // namespace
} // namespace qh
