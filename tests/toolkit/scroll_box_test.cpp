#include "tests/support/toolkit_env.h"

#include "toolkit/edits.h"
#include "toolkit/labels.h"
#include "toolkit/scroll_box.h"

#include <gtest/gtest.h>

using namespace qh;
using namespace qh::test;

namespace {

bool HasStyle(TWinControl* c, LONG style) {
    return (GetWindowLongW(c->Handle(), GWL_STYLE) & style) != 0;
}

RECT Client(TWinControl* c) {
    RECT r{};
    GetClientRect(c->Handle(), &r);
    return r;
}

// A box of 200 x 150 on a form, one edit inside it in sight.
struct TBoxForm {
    TBoxForm() {
        Form.SetClientSize(400, 300);
        Box->SetParent(&Form);
        Box->SetBounds(10, 10, 200, 150);
        Near->SetParent(Box);
        Near->SetBounds(10, 10, 80, 21);
        Form.Show();
    }
    TForm Form{Application};
    TScrollBox* Box = new TScrollBox(&Form);
    TEdit* Near = new TEdit(&Form);
};

} // namespace

TEST(ScrollBox, NoBarsWhileEverythingFitsAndABarForEachDirectionThatOverflows) {
    TBoxForm f;
    EXPECT_FALSE(HasStyle(f.Box, WS_VSCROLL));
    EXPECT_FALSE(HasStyle(f.Box, WS_HSCROLL));

    auto* below = new TLabel(&f.Form);
    below->SetParent(f.Box);
    below->SetBounds(10, 300, 60, 13);
    EXPECT_TRUE(HasStyle(f.Box, WS_VSCROLL));
    EXPECT_FALSE(HasStyle(f.Box, WS_HSCROLL));
    EXPECT_EQ(f.Box->ContentSize().cy, 313);
    SCROLLINFO info{sizeof(info), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(f.Box->Handle(), SB_VERT, &info);
    EXPECT_EQ(info.nMax, 312);
    EXPECT_EQ(static_cast<int>(info.nPage), Client(f.Box).bottom);

    f.Near->SetLeft(400);
    EXPECT_TRUE(HasStyle(f.Box, WS_HSCROLL));
    f.Near->SetLeft(10);
    below->SetVisible(false);
    EXPECT_FALSE(HasStyle(f.Box, WS_VSCROLL));
    EXPECT_FALSE(HasStyle(f.Box, WS_HSCROLL));
}

TEST(ScrollBox, ScrollingMovesTheControlsAndStaysWithinTheContent) {
    TBoxForm f;
    auto* distant = new TEdit(&f.Form);
    distant->SetParent(f.Box);
    distant->SetBounds(10, 400, 80, 21);
    RECT client = Client(f.Box);
    SendMessageW(f.Box->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(f.Box->ScrollPosition().y, 8);
    EXPECT_EQ(distant->Top(), 392);
    EXPECT_EQ(f.Near->Top(), 2);
    // The window itself went there, not just the number.
    RECT r{};
    GetWindowRect(distant->Handle(), &r);
    MapWindowPoints(nullptr, f.Box->Handle(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.top, 392);

    SendMessageW(f.Box->Handle(), WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(f.Box->ScrollPosition().y, 421 - client.bottom);
    EXPECT_EQ(distant->Top() + distant->Height(), client.bottom);
    SendMessageW(f.Box->Handle(), WM_VSCROLL, SB_PAGEDOWN, 0); // no further
    EXPECT_EQ(distant->Top() + distant->Height(), client.bottom);
    f.Box->ScrollTo(-50, -50);
    EXPECT_EQ(f.Box->ScrollPosition().y, 0);
    EXPECT_EQ(distant->Top(), 400);
    EXPECT_EQ(f.Near->Top(), 10);

    // The wheel turns it down; a control that moves back in sight brings
    // the content, and the place, back.
    SendMessageW(f.Box->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_EQ(f.Box->ScrollPosition().y, 24);
    distant->SetTop(distant->Top() - 350);
    EXPECT_FALSE(HasStyle(f.Box, WS_VSCROLL));
    EXPECT_EQ(f.Box->ScrollPosition().y, 0);
    EXPECT_EQ(f.Near->Top(), 10);
    EXPECT_EQ(distant->Top(), 50);
}

TEST(ScrollBox, FocusOnAControlOutOfSightScrollsItIntoView) {
    TBoxForm f;
    auto* distant = new TEdit(&f.Form);
    distant->SetParent(f.Box);
    distant->SetBounds(300, 400, 80, 21);
    RECT client = Client(f.Box);
    distant->SetFocus();
    EXPECT_EQ(distant->Top() + distant->Height(), client.bottom);
    EXPECT_EQ(distant->Left() + distant->Width(), client.right);
    f.Near->SetFocus();
    EXPECT_EQ(f.Near->Top(), 0);
    EXPECT_EQ(f.Near->Left(), 0);
}
