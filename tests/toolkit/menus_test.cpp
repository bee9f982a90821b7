#include "tests/support/toolkit_env.h"

#include "core/gbk.h"
#include "toolkit/actions.h"
#include "toolkit/menus.h"

#include <gtest/gtest.h>

#include <vector>

using namespace qh;
using namespace qh::test;

namespace {

struct TItemState {
    std::wstring text;
    UINT type = 0, state = 0;
    HMENU sub = nullptr;
};

TItemState ReadItem(HMENU menu, int position) {
    wchar_t text[256] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
    info.dwTypeData = text;
    info.cch = 255;
    GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
    return {text, info.fType, info.fState, info.hSubMenu};
}

// The main window's menu, in part.
class TMenuForm : public TForm {
    QH_CLASS(TMenuForm, TForm)
    explicit TMenuForm(TComponent* owner) : TForm(owner) {
        BeginLoading();
        MainMenu1 = new TMainMenu(this);
        View = Item("视图(&V)", MainMenu1->Items());
        N2 = Item("窗口始终最前", View);
        N2->SetShortCut(16468);
        Toolbar3 = Item("显示按钮", View);
        Toolbar3->SetShortCut(16450);
        Toolbar3->SetChecked(true);
        Tools = Item("工具(&T)", MainMenu1->Items());
        Item("-", Tools);
        N1 = Item("皮肤(&S)", Tools);
        N5 = Item("默认皮肤", N1);
        N21 = Item("蓝色水晶", N1);
        N31 = Item("苹果MAC", N1);
        for (TMenuItem* skin : {N5, N21, N31})
            skin->SetRadioItem(true);
        N5->SetChecked(true);
        SetMenu(MainMenu1);
        EndLoading();
    }
    TMenuItem* Item(const char* caption, TMenuItem* parent) {
        auto* item = new TMenuItem(this);
        item->SetCaption(caption);
        parent->Add(item);
        return item;
    }
    TMainMenu* MainMenu1;
    TMenuItem *View, *N2, *Toolbar3, *Tools, *N1, *N5, *N21, *N31;
};
QH_DEFINE_CLASS(TMenuForm, TForm)

} // namespace

TEST(Menus, CaptionsShortcutsChecksAndRadioGroupsAsTheMenuApiSeesThem) {
    TMenuForm form(Application);
    HMENU bar = GetMenu(form.Handle());
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(ReadItem(bar, 0).text, L"视图(&V)");
    HMENU view = ReadItem(bar, 0).sub;
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(ReadItem(view, 0).text, L"窗口始终最前\tCtrl+T");
    EXPECT_EQ(ReadItem(view, 1).text, L"显示按钮\tCtrl+B");
    EXPECT_FALSE(ReadItem(view, 0).state & MFS_CHECKED);
    EXPECT_TRUE(ReadItem(view, 1).state & MFS_CHECKED);
    HMENU tools = ReadItem(bar, 1).sub;
    EXPECT_TRUE(ReadItem(tools, 0).type & MFT_SEPARATOR);
    HMENU skins = ReadItem(tools, 1).sub;
    ASSERT_EQ(GetMenuItemCount(skins), 3);
    EXPECT_TRUE(ReadItem(skins, 0).type & MFT_RADIOCHECK);
    EXPECT_TRUE(ReadItem(skins, 0).state & MFS_CHECKED);
    form.N31->SetChecked(true);
    EXPECT_FALSE(ReadItem(skins, 0).state & MFS_CHECKED);
    EXPECT_FALSE(ReadItem(skins, 1).state & MFS_CHECKED);
    EXPECT_TRUE(ReadItem(skins, 2).state & MFS_CHECKED);
    EXPECT_FALSE(form.N5->Checked());
    // Hidden items leave the menu, disabled ones grey out.
    form.N21->SetVisible(false);
    EXPECT_EQ(GetMenuItemCount(skins), 2);
    form.N2->SetEnabled(false);
    EXPECT_TRUE(ReadItem(view, 0).state & MFS_GRAYED);
}

TEST(Menus, ShortcutTexts) {
    EXPECT_EQ(ShortCutToText(16468), "Ctrl+T");
    EXPECT_EQ(ShortCutToText(16450), "Ctrl+B");
    EXPECT_EQ(ShortCutToText(16466), "Ctrl+R");
    EXPECT_EQ(ShortCutToText(scShift | VK_F5), "Shift+F5");
    EXPECT_EQ(ShortCutToText(0), "");
}

TEST(Menus, ACtrlShortcutFiresItsItem) {
    TMenuForm form(Application);
    int fired = 0;
    form.N2->OnClick = [&](TObject*) { ++fired; };
    form.Show();
    BYTE keys[256];
    GetKeyboardState(keys);
    BYTE saved = keys[VK_CONTROL];
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    PostMessageW(form.Handle(), WM_KEYDOWN, 'T', 0);
    Pump();
    keys[VK_CONTROL] = saved;
    SetKeyboardState(keys);
    EXPECT_EQ(fired, 1);
    // Without Ctrl the letter is just a key.
    PostMessageW(form.Handle(), WM_KEYDOWN, 'T', 0);
    Pump();
    EXPECT_EQ(fired, 1);
    // A disabled item's shortcut does nothing.
    form.N2->SetEnabled(false);
    EXPECT_FALSE(form.IsShortCut(16468));
}

TEST(Menus, AMenuCommandClicksTheItemAndTellsTheForm) {
    TMenuForm form(Application);
    int clicked = 0, changed = 0;
    form.N21->OnClick = [&](TObject* sender) {
        ++clicked;
        static_cast<TMenuItem*>(sender)->SetChecked(true);
    };
    TWindowProcToken front = form.FrontWindowProc([&](TMessage& m, const TWndMethod& previous) {
        if (m.Msg == CM_MENUCHANGED) ++changed;
        previous(m);
    });
    SendMessageW(form.Handle(), WM_COMMAND, form.N21->Command(), 0);
    EXPECT_EQ(clicked, 1);
    EXPECT_TRUE(form.N21->Checked());
    EXPECT_FALSE(form.N5->Checked());
    EXPECT_GT(changed, 0);
    form.RestoreWindowProc(front);
}

TEST(Menus, AnActionTogglesTheCheckMarkOfBothLinkedItems) {
    TForm form(Application);
    auto* menu = new TMainMenu(&form);
    auto* popup = new TPopupMenu(&form);
    auto* action6 = new TAction(&form);
    action6->SetChecked(true);
    int ran = 0;
    action6->OnExecute = [&](TObject*) {
        ++ran;
        action6->SetChecked(!action6->Checked());
    };
    auto* top = new TMenuItem(&form);
    top->SetCaption("视图(&V)");
    menu->Items()->Add(top);
    auto* inMenu = new TMenuItem(&form);
    inMenu->SetCaption("显示/隐藏");
    top->Add(inMenu);
    auto* inPopup = new TMenuItem(&form);
    inPopup->SetCaption("显示/隐藏");
    popup->Items()->Add(inPopup);
    inMenu->SetAction(action6);
    inPopup->SetAction(action6);
    form.SetMenu(menu);
    HMENU sub = ReadItem(GetMenu(form.Handle()), 0).sub;
    EXPECT_TRUE(ReadItem(sub, 0).state & MFS_CHECKED);
    EXPECT_TRUE(ReadItem(popup->Handle(), 0).state & MFS_CHECKED);
    inPopup->Click();
    EXPECT_EQ(ran, 1);
    EXPECT_FALSE(inMenu->Checked());
    EXPECT_FALSE(ReadItem(sub, 0).state & MFS_CHECKED);
    EXPECT_FALSE(ReadItem(popup->Handle(), 0).state & MFS_CHECKED);
    action6->SetEnabled(false);
    EXPECT_TRUE(ReadItem(popup->Handle(), 0).state & MFS_GRAYED);
    inMenu->Click();
    EXPECT_EQ(ran, 1);
}

TEST(Menus, OwnerDrawnItemsAskTheirHandlers) {
    TForm form(Application);
    auto* popup = new TPopupMenu(&form);
    popup->SetOwnerDraw(true);
    auto* item = new TMenuItem(&form);
    item->SetCaption("关于");
    item->SetDefault(true);
    popup->Items()->Add(item);
    bool drawn = false;
    int defaultWidth = 0, defaultHeight = 0;
    item->OnMeasureItem = [&](TObject*, HDC, int& w, int& h) {
        defaultWidth = w;
        defaultHeight = h;
        w = 120;
        h = 22;
    };
    item->OnDrawItem = [&](TObject* sender, HDC, const RECT&, UINT state, HMENU menu) {
        drawn = sender == item && (state & ODS_SELECTED) && menu == popup->Handle();
    };
    TItemState state = ReadItem(popup->Handle(), 0);
    EXPECT_TRUE(state.type & MFT_OWNERDRAW);
    EXPECT_TRUE(state.state & MFS_DEFAULT);
    MEASUREITEMSTRUCT measure{ODT_MENU, 0, item->Command(), 0, 0, 0};
    EXPECT_TRUE(SendMessageW(form.Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)));
    EXPECT_EQ(measure.itemWidth, 120u);
    EXPECT_EQ(measure.itemHeight, 22u);
    // The handler starts from the default measure, which can be asked alone.
    HDC dc = GetDC(form.Handle());
    int w = 0, h = 0;
    item->MeasureItem(dc, w, h);
    EXPECT_GT(w, 24);
    EXPECT_EQ(std::make_pair(defaultWidth, defaultHeight), std::make_pair(w, h));
    DRAWITEMSTRUCT draw{ODT_MENU,
                        0,
                        item->Command(),
                        ODA_DRAWENTIRE,
                        ODS_SELECTED,
                        reinterpret_cast<HWND>(popup->Handle()),
                        dc,
                        {0, 0, 120, 22},
                        0};
    SendMessageW(form.Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
    ReleaseDC(form.Handle(), dc);
    EXPECT_TRUE(drawn);
}

namespace {

void CALLBACK ChooseFirst(HWND, UINT, UINT_PTR id, DWORD) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (!menu || !IsWindowVisible(menu)) return;
    KillTimer(nullptr, id);
    PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
}

} // namespace

TEST(Menus, PopupAtAPointRunsTheChosenItem) {
    TForm form(Application);
    form.Show();
    auto* popup = new TPopupMenu(&form);
    auto* item = new TMenuItem(&form);
    item->SetCaption("退出");
    popup->Items()->Add(item);
    int chosen = 0;
    item->OnClick = [&](TObject*) { ++chosen; };
    popup->SetPopupComponent(&form);
    EXPECT_TRUE(popup->AutoPopup());
    SetForegroundWindow(form.Handle());
    SetTimer(nullptr, 0, 50, ChooseFirst);
    popup->Popup(100, 100);
    EXPECT_EQ(chosen, 1);
    EXPECT_EQ(popup->PopupComponent(), &form);
}

TEST(Menus, FreeingItemsAndMenusLeavesNoDanglingEntries) {
    auto* form = new TMenuForm(Application);
    UINT command = form->N31->Command();
    delete form->N1; // and its three sub-items with it
    EXPECT_EQ(TMenuItem::FindByCommand(command), nullptr);
    HMENU tools = ReadItem(GetMenu(form->Handle()), 1).sub;
    EXPECT_EQ(GetMenuItemCount(tools), 1);
    HWND h = form->Handle();
    delete form;
    EXPECT_FALSE(IsWindow(h));
}
