// The painted bar of a window without a form, built from its menu handle:
// owner-drawn items learn what they show from the menu object behind their
// command, and the keyboard reaches the bar.
#include "tests/support/skin_env.h"

#include "skin/engine/skin_manage.h"
#include "skin/engine/frame/win_skin_form.h"
#include "skin/engine/menus/win_skin_menu.h"
#include "toolkit/menus.h"

#include <gtest/gtest.h>

using namespace qh;
using namespace qh::test;

namespace {

// The drop-down a keystroke opened, closed again as soon as it is seen.
HMENU g_opened = nullptr;
int g_ticks = 0;

void CALLBACK NoteOpened(HWND, UINT, UINT_PTR id, DWORD) {
    for (HWND w : TopLevelWindows(GetCurrentProcessId()))
        if (WindowClass(w) == L"#32768" && IsWindowVisible(w)) {
            g_opened = reinterpret_cast<HMENU>(SendMessageW(w, MN_GETHMENU, 0, 0));
            KillTimer(nullptr, id);
            EndMenu();
            return;
        }
    if (++g_ticks > 100) KillTimer(nullptr, id);
}

HMENU OpenedBy(HWND window, WPARAM command, LPARAM key) {
    g_opened = nullptr;
    g_ticks = 0;
    SetTimer(nullptr, 0, 30, NoteOpened);
    SendMessageW(window, WM_SYSCOMMAND, command, key);
    PumpUntil([] { return g_opened != nullptr || g_ticks > 100; });
    return g_opened;
}

} // namespace

TEST(RawMenuBar, OwnerDrawnItemsTakeTheirMenuObjectsCaptionAndTheKeyboardOpensTheBar) {
    RegisterSkinManage();
    DestroySkinManager();
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"QhTestRawBarWindow";
    RegisterClassW(&windowClass);
    TForm owner(Application);
    auto data = MakeSkinData(&owner, kSkins[0], true);
    // A menu object whose top item stands behind an owner-drawn item.
    TMainMenu objects(&owner);
    auto* tools = new TMenuItem(&owner);
    tools->SetCaption("工具(&T)");
    objects.Items()->Add(tools);
    auto* skins = new TMenuItem(&owner);
    skins->SetCaption("皮肤");
    tools->Add(skins);

    HMENU bar = CreateMenu();
    HMENU view = CreatePopupMenu();
    AppendMenuW(view, MF_STRING, 201, L"显示按钮");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(view), L"视图(&V)");
    MENUITEMINFOW drawn{};
    drawn.cbSize = sizeof drawn;
    drawn.fMask = MIIM_FTYPE | MIIM_ID;
    drawn.fType = MFT_OWNERDRAW;
    drawn.wID = tools->Command();
    InsertMenuItemW(bar, 1, TRUE, &drawn);
    HWND window = CreateWindowExW(0, L"QhTestRawBarWindow", L"raw", WS_OVERLAPPEDWINDOW, 90, 90,
                                  320, 200, nullptr, bar, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    TSkinManage* manager = SkinManage();
    ASSERT_TRUE(PumpUntil([&] {
        TWinSkinForm* f = manager->FindSkinForm(window);
        return f && f->FrameState() == TFrameState::Active && f->MenuBar();
    }));
    TWinSkinMenu* skinBar = manager->FindSkinForm(window)->MenuBar();
    ASSERT_EQ(skinBar->ButtonCount(), 2);
    EXPECT_EQ(skinBar->Button(1).Caption, L"工具(&T)");
    EXPECT_EQ(skinBar->Button(1).DropDown, tools->Handle());
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);

    // Alt and a caption's key open that drop-down; Alt alone or F10 the first.
    EXPECT_EQ(OpenedBy(window, SC_KEYMENU, 't'), tools->Handle());
    EXPECT_EQ(OpenedBy(window, SC_KEYMENU, 0), view);
    DestroyWindow(window);
    manager->PurgeDeadForms();
    DestroySkinManager();
    SetSkinManagerFactory(nullptr);
}
