#include "tests/support/toolkit_env.h"

#include "toolkit/actions.h"
#include "toolkit/buttons.h"
#include "toolkit/edits.h"
#include "toolkit/glyph_buttons.h"
#include "toolkit/graphics.h"
#include "toolkit/group_boxes.h"
#include "toolkit/labels.h"
#include "toolkit/list_boxes.h"
#include "toolkit/list_view.h"
#include "toolkit/panels.h"
#include "toolkit/range_controls.h"
#include "toolkit/status_bar.h"
#include "toolkit/tab_controls.h"
#include "toolkit/tool_bar.h"
#include "toolkit/tree_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace qh;
using namespace qh::test;

namespace {

// The main window's layout: tool bar on top, status panel at the bottom,
// the browser's place in between.
class TLayoutForm : public TForm {
    QH_CLASS(TLayoutForm, TForm)
    explicit TLayoutForm(TComponent* owner) : TForm(owner) {
        BeginLoading();
        ToolBar1 = new TToolBar(this);
        Browser = new TWinControl(this);
        Panel1 = new TPanel(this);
        Label1 = new TLabel(this);
        ToolBar1->SetParent(this);
        ToolBar1->SetAlign(alTop);
        ToolBar1->SetHeight(27);
        ToolBar1->SetEdgeBorders(0);
        ToolBar1->SetButtonHeight(24);
        Browser->SetParent(this);
        Browser->SetAlign(alClient);
        Panel1->SetParent(this);
        Panel1->SetAlign(alBottom);
        Panel1->SetHeight(21);
        Panel1->SetBevelOuter(bvNone);
        Panel1->SetBevelInner(bvLowered);
        Panel1->SetVisible(false);
        Label1->SetParent(Panel1);
        Label1->SetAlign(alClient);
        Label1->SetLayout(tlCenter);
        SetClientSize(910, 603);
        EndLoading();
    }
    TToolBar* ToolBar1;
    TWinControl* Browser;
    TPanel* Panel1;
    TLabel* Label1;
};
QH_DEFINE_CLASS(TLayoutForm, TForm)

RECT WindowBounds(TWinControl* c) {
    RECT r;
    GetWindowRect(c->Handle(), &r);
    MapWindowPoints(nullptr, GetParent(c->Handle()), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

} // namespace

TEST(AlignLayout, ToolBarOnTopPanelAtTheBottomBrowserBetween) {
    TLayoutForm form(Application);
    form.Show();
    EXPECT_EQ(form.ClientWidth(), 910);
    EXPECT_EQ(form.ClientHeight(), 603);
    EXPECT_EQ(form.ToolBar1->Height(), 27);
    EXPECT_EQ(form.ToolBar1->Width(), 910);
    RECT b = WindowBounds(form.Browser);
    EXPECT_EQ(b.top, 27);
    EXPECT_EQ(b.bottom - b.top, 576); // no panel yet: down to the bottom
    EXPECT_EQ(b.right - b.left, 910);

    form.Panel1->SetVisible(true);
    b = WindowBounds(form.Browser);
    EXPECT_EQ(b.bottom - b.top, 555);
    RECT p = WindowBounds(form.Panel1);
    EXPECT_EQ(p.top, 582);
    EXPECT_EQ(p.bottom, 603);
    // The label fills the panel inside its bevel.
    EXPECT_EQ(form.Label1->Top(), 1);
    EXPECT_EQ(form.Label1->Height(), 19);

    form.ToolBar1->SetVisible(false);
    b = WindowBounds(form.Browser);
    EXPECT_EQ(b.top, 0);
    EXPECT_EQ(b.bottom - b.top, 582);
    form.ToolBar1->SetVisible(true);
    form.Panel1->SetVisible(false);
    b = WindowBounds(form.Browser);
    EXPECT_EQ(b.top, 27);
    EXPECT_EQ(b.bottom, 603);

    // A bigger window shares out the new room the same way.
    form.SetClientSize(1000, 700);
    b = WindowBounds(form.Browser);
    EXPECT_EQ(b.right - b.left, 1000);
    EXPECT_EQ(b.bottom - b.top, 673);
}

TEST(GraphicControls, ArePaintedByTheParentWithItsDeviceContext) {
    TForm form(Application);
    form.SetClientSize(200, 100);
    auto* bar = new TToolBar(&form);
    bar->SetParent(&form);
    auto* button = new TSpeedButton(&form);
    button->SetParent(bar);
    button->SetBounds(57, 2, 57, 24);
    std::vector<WPARAM> paints;
    TWindowProcToken front = button->FrontWindowProc([&](TMessage& m, const TWndMethod& previous) {
        if (m.Msg == WM_PAINT) paints.push_back(m.WParam);
        previous(m);
    });
    form.Show();
    RedrawWindow(bar->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    ASSERT_FALSE(paints.empty());
    EXPECT_NE(paints.back(), 0u);
    // The button has no window of its own.
    EXPECT_FALSE(dynamic_cast<TWinControl*>(static_cast<TControl*>(button)));
    button->RestoreWindowProc(front);
}

TEST(GraphicControls, MouseEnterAndLeaveReachASpeedButton) {
    TForm form(Application);
    form.SetBorderStyle(bsNone);
    form.SetBounds(50, 50, 300, 100);
    auto* bar = new TToolBar(&form);
    bar->SetParent(&form);
    bar->SetHeight(27);
    auto* button = new TSpeedButton(&form);
    button->SetParent(bar);
    button->SetFlat(true);
    button->SetBounds(57, 2, 57, 24);
    std::vector<UINT> notes;
    TWindowProcToken front = button->FrontWindowProc([&](TMessage& m, const TWndMethod& previous) {
        if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) notes.push_back(m.Msg);
        previous(m);
    });
    int enters = 0;
    button->OnMouseEnter = [&](TObject*) { ++enters; };
    form.Show();
    Pump();
    POINT over = button->ClientToScreen({10, 10});
    SetCursorPos(over.x, over.y);
    POINT inBar = bar->ScreenToClient(over);
    SendMessageW(bar->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(inBar.x, inBar.y));
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0], static_cast<UINT>(CM_MOUSEENTER));
    EXPECT_TRUE(button->MouseInControl());
    EXPECT_EQ(enters, 1);
    // Moving on within the button says nothing new.
    SendMessageW(bar->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(inBar.x + 5, inBar.y));
    EXPECT_EQ(notes.size(), 1u);
    POINT beside = bar->ClientToScreen({5, 10});
    SetCursorPos(beside.x, beside.y);
    SendMessageW(bar->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 10));
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[1], static_cast<UINT>(CM_MOUSELEAVE));
    EXPECT_FALSE(button->MouseInControl());
    button->RestoreWindowProc(front);
}

TEST(GraphicControls, ASpeedButtonClicksOnReleaseOverIt) {
    TForm form(Application);
    auto* button = new TSpeedButton(&form);
    button->SetParent(&form);
    button->SetBounds(10, 10, 57, 24);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    form.Show();
    HWND h = form.Handle();
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    EXPECT_TRUE(button->Pressed());
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    EXPECT_EQ(clicks, 1);
    // Pressed, dragged off and released elsewhere: no click.
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(150, 150));
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(button->Pressed());
    // A disabled button is not pressed at all.
    button->SetEnabled(false);
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    EXPECT_EQ(clicks, 1);
}

TEST(Notifications, EnabledChangedAndDialogCharReachTheControl) {
    TForm form(Application);
    auto* button = new TButton(&form);
    button->SetParent(&form);
    button->SetCaption("确定(&O)");
    std::vector<UINT> notes;
    TWindowProcToken front = button->FrontWindowProc([&](TMessage& m, const TWndMethod& previous) {
        if (m.Msg == CM_ENABLEDCHANGED || m.Msg == CM_DIALOGCHAR) notes.push_back(m.Msg);
        previous(m);
    });
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    form.Show();
    button->SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(button->Handle()));
    button->SetEnabled(true);
    EXPECT_EQ(std::count(notes.begin(), notes.end(), static_cast<UINT>(CM_ENABLEDCHANGED)), 2);
    // Alt+O: the form hands the character to its controls.
    PostMessageW(button->Handle(), WM_SYSCHAR, 'o', 0);
    EXPECT_TRUE(PumpUntil([&] { return clicks == 1; }));
    EXPECT_EQ(std::count(notes.begin(), notes.end(), static_cast<UINT>(CM_DIALOGCHAR)), 1);
    button->RestoreWindowProc(front);
}

TEST(PublishedControls, ButtonAndCheckBoxByName) {
    TForm form(Application);
    auto* button = new TButton(&form);
    button->SetParent(&form);
    auto* check = new TCheckBox(&form);
    check->SetParent(&form);
    form.Show();
    EXPECT_TRUE(SetStrProp(*button, "Caption", "OK"));
    EXPECT_EQ(WindowText(button->Handle()), L"OK");
    EXPECT_EQ(GetEnumProp(*button, "Default"), "False");
    EXPECT_TRUE(SetEnumProp(*button, "Default", "True"));
    EXPECT_TRUE(button->Default());
    EXPECT_TRUE(GetWindowLongW(button->Handle(), GWL_STYLE) & BS_DEFPUSHBUTTON);
    EXPECT_EQ(GetIntProp(*button, "Width"), 75);
    EXPECT_STREQ(GetObjectProp(*button, "Font")->ClassName(), "TFont");
    EXPECT_FALSE(SetEnumProp(*button, "Flat", "True")); // a button has no Flat

    EXPECT_EQ(GetEnumProp(*check, "Checked"), "False");
    EXPECT_TRUE(SetEnumProp(*check, "Checked", "True"));
    EXPECT_EQ(SendMessageW(check->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    // A press on the box itself flips it, and the property says so.
    SendMessageW(check->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(GetEnumProp(*check, "Checked"), "False");
    EXPECT_TRUE(check->Is<TCustomCheckBox>());
    EXPECT_TRUE(check->Is<TButtonControl>());
    EXPECT_FALSE(check->Is<TButton>());
}

TEST(Actions, ButtonsFollowTheirActionAndRunIt) {
    TForm form(Application);
    auto* list = new TActionList(&form);
    auto* back = new TAction(&form);
    back->SetActionList(list);
    back->SetEnabled(false);
    int ran = 0;
    back->OnExecute = [&](TObject*) { ++ran; };
    auto* speed = new TSpeedButton(&form);
    speed->SetParent(&form);
    speed->SetBounds(0, 0, 57, 24);
    speed->SetAction(back);
    EXPECT_FALSE(speed->Enabled());
    back->SetEnabled(true);
    EXPECT_TRUE(speed->Enabled());
    speed->Click();
    EXPECT_EQ(ran, 1);
    // A disabled action runs nothing.
    back->SetEnabled(false);
    speed->Click();
    EXPECT_EQ(ran, 1);
    // Freeing the action unlinks the button.
    delete back;
    EXPECT_EQ(speed->Action(), nullptr);
    speed->Click();
    EXPECT_EQ(list->ActionCount(), 0);
}

TEST(ModalForms, EnterAndEscapePressTheDefaultAndCancelButtons) {
    for (WPARAM key : {static_cast<WPARAM>(VK_RETURN), static_cast<WPARAM>(VK_ESCAPE)}) {
        TForm dialog(Application);
        dialog.SetBorderStyle(bsDialog);
        dialog.SetClientSize(360, 227);
        auto* ok = new TButton(&dialog);
        ok->SetParent(&dialog);
        ok->SetCaption("OK");
        ok->SetBounds(270, 185, 75, 25);
        ok->SetDefault(true);
        ok->SetModalResult(mrOk);
        auto* cancel = new TButton(&dialog);
        cancel->SetParent(&dialog);
        cancel->SetCaption("取消");
        cancel->SetCancel(true);
        cancel->SetModalResult(mrCancel);
        auto* memo = new TMemo(&dialog);
        memo->SetParent(&dialog);
        memo->SetBounds(12, 16, 200, 100);
        dialog.OnShow = [&, key](TObject*) {
            memo->SetFocus();
            // A memo keeps Enter for itself; the key goes to the edit box.
            PostMessageW(key == VK_RETURN ? ok->Handle() : memo->Handle(), WM_KEYDOWN, key, 0);
        };
        TModalResult result = dialog.ShowModal();
        EXPECT_EQ(result, key == VK_RETURN ? mrOk : mrCancel);
        EXPECT_FALSE(dialog.Visible());
        EXPECT_FALSE(dialog.Modal());
    }
}

TEST(ModalForms, ARefusedCloseKeepsTheModalLoopGoing) {
    TForm dialog(Application);
    auto* ok = new TButton(&dialog);
    ok->SetParent(&dialog);
    ok->SetModalResult(mrOk);
    int queries = 0;
    dialog.OnCloseQuery = [&](TObject*, bool& canClose) { canClose = ++queries > 1; };
    dialog.OnShow = [&](TObject*) {
        PostMessageW(ok->Handle(), BM_CLICK, 0, 0);
        PostMessageW(ok->Handle(), BM_CLICK, 0, 0);
    };
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_EQ(queries, 2);
    EXPECT_THROW(
        {
            dialog.Show();
            dialog.ShowModal();
        },
        EInvalidOperation);
}

TEST(StandardControls, WrappersMakeTheSystemControls) {
    TForm form(Application);
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    edit->SetText("青禾");
    auto* combo = new TComboBox(&form);
    combo->SetParent(&form);
    combo->SetItems({"一", "二"});
    combo->SetItemIndex(1);
    auto* list = new TListBox(&form);
    list->SetParent(&form);
    list->AddItem("甲");
    auto* group = new TRadioGroup(&form);
    group->SetParent(&form);
    group->SetItems({"默认皮肤", "蓝色水晶", "苹果MAC"});
    group->SetItemIndex(2);
    auto* bar = new TProgressBar(&form);
    bar->SetParent(&form);
    bar->SetPosition(40);
    auto* track = new TTrackBar(&form);
    track->SetParent(&form);
    auto* status = new TStatusBar(&form);
    status->SetParent(&form);
    auto* pages = new TPageControl(&form);
    pages->SetParent(&form);
    auto* sheet = new TTabSheet(&form);
    sheet->SetCaption("常规");
    sheet->SetPageControl(pages);
    auto* view = new TListView(&form);
    view->SetParent(&form);
    view->SetViewStyle(vsReport);
    view->AddColumn("名称", 80);
    view->AddItem({"a", "b"});
    auto* tree = new TTreeView(&form);
    tree->SetParent(&form);
    tree->AddNode(tree->AddNode(-1, "根"), "枝");
    form.Show();
    EXPECT_EQ(WindowText(edit->Handle()), L"青禾");
    EXPECT_EQ(SendMessageW(combo->Handle(), CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageW(combo->Handle(), CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(SendMessageW(list->Handle(), LB_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(SendMessageW(group->Buttons(2)->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    group->Buttons(0)->SetChecked(true);
    EXPECT_EQ(group->ItemIndex(), 0);
    EXPECT_EQ(SendMessageW(group->Buttons(2)->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(bar->Position(), 40);
    EXPECT_EQ(GetIntProp(*track, "Max"), 10);
    EXPECT_EQ(SendMessageW(pages->Handle(), TCM_GETITEMCOUNT, 0, 0), 1);
    EXPECT_EQ(pages->ActivePage(), sheet);
    EXPECT_TRUE(sheet->Visible());
    EXPECT_EQ(SendMessageW(view->Handle(), LVM_GETITEMCOUNT, 0, 0), 1);
    EXPECT_EQ(SendMessageW(tree->Handle(), TVM_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(WindowClass(edit->Handle()), L"TEdit");
    EXPECT_TRUE(status->Is<TStatusBar>());
    // Typing reaches the edit's text.
    SetWindowTextW(edit->Handle(), L"网络");
    EXPECT_EQ(edit->Text(), "网络");
}

TEST(Fonts, ChildrenTakeTheFormsFontUntilTheyGetTheirOwn) {
    TForm form(Application);
    auto* memo = new TMemo(&form);
    memo->SetParent(&form);
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    form.Font()->SetName("宋体");
    form.Font()->SetCharset(GB2312_CHARSET);
    form.Font()->SetHeight(-12);
    form.Show();
    EXPECT_EQ(memo->Font()->Name(), "宋体");
    EXPECT_EQ(label->Font()->Height(), -12);
    EXPECT_TRUE(memo->ParentFont());
    // The window itself uses the font.
    HFONT used = reinterpret_cast<HFONT>(SendMessageW(memo->Handle(), WM_GETFONT, 0, 0));
    EXPECT_EQ(used, memo->Font()->Handle());
    label->Font()->SetColor(clWhite);
    EXPECT_FALSE(label->ParentFont());
    form.Font()->SetHeight(-16);
    EXPECT_EQ(memo->Font()->Height(), -16);
    EXPECT_EQ(label->Font()->Height(), -12);
    EXPECT_EQ(GetEnumProp(*label, "ParentFont"), "False");
}

TEST(Colours, ChildrenFollowTheirParentsColourUntilTheyGetTheirOwn) {
    TForm form(Application);
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    auto* label = new TLabel(&form);
    label->SetParent(panel);
    auto* memo = new TMemo(&form); // a window colour of its own
    memo->SetParent(&form);
    form.SetColor(MakeColour(10, 20, 30));
    EXPECT_EQ(label->Color(), MakeColour(10, 20, 30)); // through the panel
    EXPECT_EQ(memo->Color(), clWindow);
    label->SetColor(clWhite);
    EXPECT_FALSE(label->ParentColor());
    form.SetColor(clBtnFace);
    EXPECT_EQ(panel->Color(), clBtnFace);
    EXPECT_EQ(label->Color(), clWhite);
    label->SetParentColor(true);
    EXPECT_EQ(label->Color(), clBtnFace);
}

TEST(DoubleBuffered, ThePictureIsMadeInMemoryAndTheScreenNotErasedFirst) {
    TForm form(Application);
    form.SetBorderStyle(bsNone);
    form.SetBounds(40, 40, 120, 80);
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    panel->SetBevelOuter(bvNone);
    panel->SetBounds(0, 0, 120, 80);
    panel->SetColor(MakeColour(200, 30, 30));
    panel->SetDoubleBuffered(true);
    EXPECT_EQ(GetEnumProp(*panel, "DoubleBuffered"), "True");
    form.Show();
    // An erase of the screen does nothing: the background goes into the
    // memory picture when it is painted.
    HDC dc = GetDC(panel->Handle());
    RECT all{0, 0, 120, 80};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(SendMessageW(panel->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
    EXPECT_EQ(GetPixel(dc, 60, 40), RGB(0, 0, 0));
    RedrawWindow(panel->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(GetPixel(dc, 60, 40), RGB(200, 30, 30));
    ReleaseDC(panel->Handle(), dc);
}
