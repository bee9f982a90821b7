#include "tests/support/toolkit_env.h"

#include "toolkit/glyph_buttons.h"
#include "toolkit/panels.h"
#include "toolkit/tool_bar.h"
#include "toolkit/hint_window.h"

#include <gtest/gtest.h>

using namespace qh;
using namespace qh::test;

namespace {

// The main window's make: a form that shows hints, a tool bar of speed
// buttons, one with a hint and one without.
struct THintedForm {
    THintedForm() {
        // The real pointer is parked where no test window is, so only the
        // moves the test posts count.
        SetCursorPos(Screen->Width() - 1, Screen->Height() - 1);
        Application->SetHintPause(20);
        Application->SetHintHidePause(60000);
        Form.SetBorderStyle(bsNone);
        Form.SetBounds(40, 40, 300, 120);
        Form.SetShowHint(true);
        Bar->SetParent(&Form);
        Back->SetParent(Bar);
        Back->SetBounds(57, 2, 57, 24);
        Back->SetHint("后退");
        Plain->SetParent(Bar);
        Plain->SetBounds(114, 2, 57, 24);
        Panel->SetParent(&Form);
        Panel->SetBounds(0, 60, 100, 40);
        Panel->SetHint("状态");
        Form.Show();
        Pump();
    }
    ~THintedForm() {
        Application->CancelHint();
        Application->SetShowHint(true);
        Application->SetHintPause(500);
        Application->SetHintHidePause(2500);
    }
    // A mouse move posted to the window over the control's middle, taken
    // through the loop as the real one would be.
    void MoveOver(TControl* control) {
        TWinControl* window = dynamic_cast<TWinControl*>(control);
        POINT p{control->Width() / 2, control->Height() / 2};
        if (!window) {
            window = control->Parent();
            p.x += control->Left();
            p.y += control->Top();
        }
        PostMessageW(window->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
        Pump();
    }
    TForm Form{Application};
    TToolBar* Bar = new TToolBar(&Form);
    TSpeedButton* Back = new TSpeedButton(&Form);
    TSpeedButton* Plain = new TSpeedButton(&Form);
    TPanel* Panel = new TPanel(&Form);
};

bool HintShown() {
    THintWindow* hint = Application->HintWindow();
    return hint && hint->Active();
}

std::wstring HintText() {
    THintWindow* hint = Application->HintWindow();
    return hint && hint->HandleAllocated() ? WindowText(hint->Handle()) : L"";
}

// Gives a hint that is not to come every chance to come: many turns of the
// loop, far past the pause.
bool HintStaysAway() {
    for (int i = 0; i < 20; ++i) {
        Pump();
        Sleep(10);
        if (HintShown()) return false;
    }
    return true;
}

} // namespace

TEST(Hints, ParentShowHintFollowsTheParentUntilShowHintIsSet) {
    TForm form(Application);
    auto* button = new TSpeedButton(&form);
    button->SetParent(&form);
    EXPECT_FALSE(button->ShowHint());
    form.SetShowHint(true);
    EXPECT_TRUE(button->ParentShowHint());
    EXPECT_TRUE(button->ShowHint());
    button->SetShowHint(false);
    EXPECT_FALSE(button->ParentShowHint());
    EXPECT_FALSE(button->ShowHint());
}

TEST(Hints, RestingOnAButtonShowsItsHintBelowThePointerWithoutTakingTheFocus) {
    THintedForm f;
    HWND active = GetActiveWindow();
    f.MoveOver(f.Back);
    ASSERT_TRUE(PumpUntil(HintShown));
    EXPECT_EQ(HintText(), L"后退");
    HWND hint = Application->HintWindow()->Handle();
    EXPECT_TRUE(GetWindowLongW(hint, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetActiveWindow(), active);
    RECT r{};
    GetWindowRect(hint, &r);
    POINT pointer = f.Bar->ClientToScreen(
        {f.Back->Left() + f.Back->Width() / 2, f.Back->Top() + f.Back->Height() / 2});
    EXPECT_GT(r.top, pointer.y);
    EXPECT_GT(r.right - r.left, 0);
    // Moving on within the same button keeps it.
    f.MoveOver(f.Back);
    EXPECT_TRUE(HintShown());
    // A button without a hint puts it away; a windowed control's hint comes.
    f.MoveOver(f.Plain);
    EXPECT_FALSE(HintShown());
    f.MoveOver(f.Panel);
    ASSERT_TRUE(PumpUntil(HintShown));
    EXPECT_EQ(HintText(), L"状态");
}

TEST(Hints, AButtonOrKeyPressPutsTheHintAwayUntilThePointerMovesOn) {
    THintedForm f;
    f.MoveOver(f.Back);
    ASSERT_TRUE(PumpUntil(HintShown));
    PostMessageW(f.Bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 5));
    PostMessageW(f.Bar->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(60, 5));
    Pump();
    EXPECT_FALSE(HintShown());
    f.MoveOver(f.Back);
    EXPECT_TRUE(HintStaysAway());
    f.MoveOver(f.Panel);
    ASSERT_TRUE(PumpUntil(HintShown));
    PostMessageW(f.Form.Handle(), WM_KEYDOWN, 'A', 1);
    Pump();
    EXPECT_FALSE(HintShown());
}

TEST(Hints, NoneWhenTheApplicationOrTheControlSaysNo) {
    THintedForm f;
    Application->SetShowHint(false);
    f.MoveOver(f.Back);
    EXPECT_TRUE(HintStaysAway());
    Application->SetShowHint(true);
    f.Back->SetShowHint(false);
    f.MoveOver(f.Plain);
    f.MoveOver(f.Back);
    EXPECT_TRUE(HintStaysAway());
    // The form says no for every control that follows it.
    f.Back->SetParentShowHint(true);
    f.Form.SetShowHint(false);
    f.MoveOver(f.Plain);
    f.MoveOver(f.Back);
    EXPECT_TRUE(HintStaysAway());
}

TEST(Hints, GoAfterTheirTimeAndWithTheirControl) {
    THintedForm f;
    Application->SetHintHidePause(30);
    f.MoveOver(f.Back);
    ASSERT_TRUE(PumpUntil(HintShown));
    EXPECT_TRUE(PumpUntil([] { return !HintShown(); }));
    // A control freed while its hint waits takes the hint with it.
    Application->SetHintHidePause(60000);
    Application->SetHintPause(30);
    f.MoveOver(f.Panel);
    delete f.Panel;
    f.Panel = nullptr;
    EXPECT_TRUE(HintStaysAway());
}
