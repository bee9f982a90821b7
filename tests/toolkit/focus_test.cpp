#include "tests/support/toolkit_env.h"

#include "toolkit/buttons.h"
#include "toolkit/edits.h"
#include "toolkit/list_boxes.h"
#include "toolkit/panels.h"
#include "toolkit/menus.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

using namespace qh;
using namespace qh::test;

namespace {

// A dialog of the usual make: edits and buttons, some inside a panel, one
// of each kind that Tab must pass over.
class TDialogForm : public TForm {
    QH_CLASS(TDialogForm, TForm)
    explicit TDialogForm(TComponent* owner) : TForm(owner) {
        BeginLoading();
        SetClientSize(400, 300);
        Edit1 = Add(new TEdit(this), this, 10, 10);
        Panel1 = Add(new TPanel(this), this, 10, 40);
        Panel1->SetBounds(10, 40, 300, 100);
        Edit2 = Add(new TEdit(this), Panel1, 5, 5);
        Disabled = Add(new TEdit(this), Panel1, 5, 30);
        Disabled->SetEnabled(false);
        Hidden = Add(new TEdit(this), Panel1, 5, 55);
        Hidden->SetVisible(false);
        Memo1 = Add(new TMemo(this), this, 10, 150);
        Memo1->SetHeight(60);
        OkButton = Add(new TButton(this), this, 200, 260);
        OkButton->SetDefault(true);
        OkButton->OnClick = [this](TObject*) { clicks.push_back("ok"); };
        CancelButton = Add(new TButton(this), this, 290, 260);
        CancelButton->SetCancel(true);
        CancelButton->OnClick = [this](TObject*) { clicks.push_back("cancel"); };
        EndLoading();
    }
    template <class T> T* Add(T* control, TWinControl* parent, int x, int y) {
        control->SetParent(parent);
        control->SetLeft(x);
        control->SetTop(y);
        return control;
    }
    TEdit* Edit1;
    TPanel* Panel1;
    TEdit* Edit2;
    TEdit* Disabled;
    TEdit* Hidden;
    TMemo* Memo1;
    TButton* OkButton;
    TButton* CancelButton;
    std::vector<std::string> clicks;
};
QH_DEFINE_CLASS(TDialogForm, TForm)

// A key pressed and let go, posted to the focused window as the keyboard
// would deliver it, and taken through the application's loop.
void PressKey(WORD key) {
    HWND focus = GetFocus();
    PostMessageW(focus, WM_KEYDOWN, key, 1);
    PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
    Pump();
}

// Holds a key down in the thread's keyboard state while it lives.
class THeldKey {
public:
    explicit THeldKey(int key) : FKey(key) { Set(0x80); }
    ~THeldKey() { Set(0); }

private:
    void Set(BYTE state) {
        std::array<BYTE, 256> keys{};
        GetKeyboardState(keys.data());
        keys[static_cast<size_t>(FKey)] = state;
        SetKeyboardState(keys.data());
    }
    int FKey;
};

HWND FocusAfterShow(TCustomForm& form) {
    form.Show();
    SetForegroundWindow(form.Handle());
    PumpUntil([&] { return GetFocus() != nullptr && IsChild(form.Handle(), GetFocus()); });
    return GetFocus();
}

} // namespace

TEST(TabOrder, FollowsCreationUntilSetAndTabStopsDefaultByKind) {
    TDialogForm form(Application);
    EXPECT_EQ(form.Edit1->TabOrder(), 0);
    EXPECT_EQ(form.Panel1->TabOrder(), 1);
    EXPECT_EQ(form.Edit2->TabOrder(), 0); // counted inside its panel
    EXPECT_EQ(form.CancelButton->TabOrder(), 4);
    EXPECT_TRUE(form.Edit1->TabStop());
    EXPECT_TRUE(form.OkButton->TabStop());
    EXPECT_FALSE(form.Panel1->TabStop());

    form.CancelButton->SetTabOrder(0);
    EXPECT_EQ(form.CancelButton->TabOrder(), 0);
    EXPECT_EQ(form.Edit1->TabOrder(), 1);
    EXPECT_EQ(form.OkButton->TabOrder(), 4);
    form.CancelButton->SetTabOrder(99); // past the end: last
    EXPECT_EQ(form.CancelButton->TabOrder(), 4);
    EXPECT_EQ(form.Edit1->TabOrder(), 0);

    // Asked before it has a parent, the order is taken when it gets one.
    auto* late = new TEdit(&form);
    late->SetTabOrder(1);
    late->SetParent(&form);
    EXPECT_EQ(late->TabOrder(), 1);
    EXPECT_EQ(form.Panel1->TabOrder(), 2);
    // A control that leaves its parent leaves its tab order.
    late->SetParent(nullptr);
    EXPECT_EQ(form.Panel1->TabOrder(), 1);
    delete late;

    std::vector<TWinControl*> list;
    form.GetTabOrderList(list);
    std::vector<TWinControl*> expected{form.Edit1,  form.Panel1, form.Edit2,    form.Disabled,
                                       form.Hidden, form.Memo1,  form.OkButton, form.CancelButton};
    EXPECT_EQ(list, expected);
}

TEST(TabKey, MovesThroughTabStopsInOrderIntoPanelsAndRoundAndBack) {
    TDialogForm form(Application);
    // Shown, the form gives the focus to its first tab stop.
    EXPECT_EQ(FocusAfterShow(form), form.Edit1->Handle());
    std::vector<HWND> forward;
    for (int i = 0; i < 5; ++i) {
        PressKey(VK_TAB);
        forward.push_back(GetFocus());
    }
    // Disabled and hidden edits and the panel itself are passed over; after
    // the last it goes round to the first.
    std::vector<HWND> expected{form.Edit2->Handle(), form.Memo1->Handle(), form.OkButton->Handle(),
                               form.CancelButton->Handle(), form.Edit1->Handle()};
    EXPECT_EQ(forward, expected);
    EXPECT_EQ(form.ActiveControl(), form.Edit1);

    THeldKey shift(VK_SHIFT);
    PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), form.CancelButton->Handle());
    PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), form.OkButton->Handle());
    PressKey(VK_TAB);
    // Out of the memo too: Tab is no character for it.
    PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), form.Edit2->Handle());
}

TEST(TabKey, ATabStopTurnedOffOrANewOrderIsFollowed) {
    TDialogForm form(Application);
    FocusAfterShow(form);
    form.Memo1->SetTabStop(false);
    form.Edit1->SetTabOrder(2); // after the memo
    form.Edit2->SetFocus();
    PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), form.Edit1->Handle());
    PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), form.OkButton->Handle());
}

TEST(TabKey, RealKeyboardInputMovesTheFocus) {
    TDialogForm form(Application);
    ASSERT_EQ(FocusAfterShow(form), form.Edit1->Handle());
    auto send = [](std::vector<WORD> keys) {
        std::vector<INPUT> inputs;
        for (WORD k : keys) {
            INPUT in{};
            in.type = INPUT_KEYBOARD;
            in.ki.wVk = k;
            inputs.push_back(in);
        }
        for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
            INPUT in{};
            in.type = INPUT_KEYBOARD;
            in.ki.wVk = *it;
            in.ki.dwFlags = KEYEVENTF_KEYUP;
            inputs.push_back(in);
        }
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    };
    send({VK_TAB});
    EXPECT_TRUE(PumpUntil([&] { return GetFocus() == form.Edit2->Handle(); }));
    send({VK_SHIFT, VK_TAB});
    EXPECT_TRUE(PumpUntil([&] { return GetFocus() == form.Edit1->Handle(); }));
    EXPECT_TRUE(form.clicks.empty());
}

TEST(DialogKeys, EnterPressesTheDefaultButtonAndEscapeTheCancelButtonFromAnEdit) {
    TDialogForm form(Application);
    FocusAfterShow(form);
    form.Edit2->SetFocus();
    PressKey(VK_RETURN);
    PressKey(VK_ESCAPE);
    EXPECT_EQ(form.clicks, (std::vector<std::string>{"ok", "cancel"}));
    EXPECT_EQ(GetFocus(), form.Edit2->Handle());
    // A focused button is the one Enter presses.
    form.CancelButton->SetFocus();
    PressKey(VK_RETURN);
    EXPECT_EQ(form.clicks.back(), "cancel");
    // A disabled default button is not pressed.
    form.clicks.clear();
    form.OkButton->SetEnabled(false);
    form.Edit1->SetFocus();
    PressKey(VK_RETURN);
    EXPECT_TRUE(form.clicks.empty());
}

TEST(DialogKeys, AMemoKeepsEnterForANewLineButNotEscape) {
    TDialogForm form(Application);
    FocusAfterShow(form);
    form.Memo1->SetFocus();
    PressKey(VK_RETURN);
    EXPECT_TRUE(form.clicks.empty());
    EXPECT_EQ(form.Memo1->Text(), "\r\n");
    PressKey(VK_ESCAPE);
    EXPECT_EQ(form.clicks, (std::vector<std::string>{"cancel"}));
}

TEST(DialogKeys, ArrowKeysStayWithTheControl) {
    TForm form(Application);
    form.SetClientSize(300, 200);
    auto* list = new TListBox(&form);
    list->SetParent(&form);
    list->SetItems({"一", "二", "三"});
    list->SetItemIndex(0);
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    edit->SetTop(120);
    EXPECT_EQ(FocusAfterShow(form), list->Handle());
    for (WORD arrow : {VK_DOWN, VK_RIGHT, VK_DOWN}) {
        PressKey(arrow);
        EXPECT_EQ(GetFocus(), list->Handle());
    }
    EXPECT_EQ(SendMessageW(list->Handle(), LB_GETCURSEL, 0, 0), 2);
    PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), edit->Handle());
    PressKey(VK_UP);
    EXPECT_EQ(GetFocus(), edit->Handle());
}

TEST(DialogKeys, ShortcutsOfTheMenuComeBeforeTheDialogKeys) {
    TDialogForm form(Application);
    auto* menu = new TMainMenu(&form);
    auto* top = new TMenuItem(&form);
    top->SetCaption("视图(&V)");
    menu->Items()->Add(top);
    auto* item = new TMenuItem(&form);
    item->SetCaption("Tab 项");
    item->SetShortCut(VK_TAB);
    int ran = 0;
    item->OnClick = [&](TObject*) { ++ran; };
    top->Add(item);
    form.SetMenu(menu);
    FocusAfterShow(form);
    PressKey(VK_TAB);
    EXPECT_EQ(ran, 1);
    EXPECT_EQ(GetFocus(), form.Edit1->Handle());
}

TEST(FormFocus, ComesBackToTheControlThatHadItWhenTheFormIsActivatedAgain) {
    TDialogForm first(Application);
    FocusAfterShow(first);
    first.Memo1->SetFocus();
    TDialogForm second(Application);
    EXPECT_EQ(FocusAfterShow(second), second.Edit1->Handle());
    EXPECT_EQ(first.ActiveControl(), first.Memo1);
    SetActiveWindow(first.Handle());
    EXPECT_TRUE(PumpUntil([&] { return GetFocus() == first.Memo1->Handle(); }));
    // Asked for while the form is not active, a control gets the focus at
    // the next activation.
    second.SetActiveControl(second.CancelButton);
    SetActiveWindow(second.Handle());
    EXPECT_TRUE(PumpUntil([&] { return GetFocus() == second.CancelButton->Handle(); }));
    // A control gone meanwhile leaves the focus to the first tab stop.
    SetActiveWindow(first.Handle());
    PumpUntil([&] { return GetFocus() == first.Memo1->Handle(); });
    HWND secondEdit = second.Edit1->Handle();
    delete second.CancelButton;
    SetActiveWindow(second.Handle());
    EXPECT_TRUE(PumpUntil([&] { return GetFocus() == secondEdit; }));
}

TEST(TabKey, AnEditReachedByTabHasItsTextSelected) {
    TDialogForm form(Application);
    form.Edit2->SetText("频道");
    form.Memo1->SetText("第一行");
    FocusAfterShow(form);
    PressKey(VK_TAB);
    ASSERT_EQ(GetFocus(), form.Edit2->Handle());
    DWORD start = 0, end = 0;
    SendMessageW(form.Edit2->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 2u);
    // Typing replaces it.
    PostMessageW(GetFocus(), WM_CHAR, L'台', 1);
    Pump();
    EXPECT_EQ(WindowText(form.Edit2->Handle()), L"台");
    // A memo's text is not selected: Tab brings the caret, nothing more.
    PressKey(VK_TAB);
    ASSERT_EQ(GetFocus(), form.Memo1->Handle());
    SendMessageW(form.Memo1->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, end);
}
