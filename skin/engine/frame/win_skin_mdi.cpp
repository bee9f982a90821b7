// The skinned frame of an MDI frame window: its MDI client is subclassed so
// that new children are dressed, the painted menu bar follows the menu the
// children set, and the client never shows the system's scroll bars.
#include "skin/engine/skin_manage.h"
#include "skin/engine/frame/win_skin_form.h"
#include "skin/engine/menus/win_skin_menu.h"

namespace qh {

void TWinSkinForm::AttachMdiClient() {
    if (FMdiKind != TMdiKind::Frame || FMdiClient) return;
    HWND client = FindWindowExW(FWindow, nullptr, L"MDIClient", nullptr);
    if (!client) return;
    FMdiClient = client;
    if (FManager) FManager->SetMdiClientWindow(client);
    FMdiClientSubclass.Install(client, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
        return MdiClientMessage(msg, wParam, lParam);
    });
}

void TWinSkinForm::RestoreMdiClient() {
    if (!FMdiClient) return;
    HWND client = FMdiClient;
    FMdiClient = nullptr;
    FNewMdiChild = nullptr;
    if (FManager && FManager->MdiClientWindow() == client) FManager->SetMdiClientWindow(nullptr);
    FMdiClientSubclass.Remove();
}

LRESULT TWinSkinForm::MdiClientMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND client = FMdiClient;
    auto pass = [&] { return FMdiClientSubclass.CallNext(msg, wParam, lParam); };
    if (msg == WM_NCDESTROY) {
        RestoreMdiClient();
        return pass();
    }
    if (!FFrameSkinned || !FSkinData) return pass();
    switch (msg) {
    case WM_MDICREATE: {
        // The child's menu arrives through WM_MDISETMENU: the bar is rebuilt
        // there, not on every menu change in between.
        FSkinData->SetMenuUpdate(false);
        LRESULT child = pass();
        FNewMdiChild = reinterpret_cast<HWND>(child);
        return child;
    }
    case WM_MDIREFRESHMENU: {
        LRESULT result = pass();
        if (FNewMdiChild && FManager) {
            const bool force = FManager->ForceAttach();
            FManager->SetForceAttach(true);
            FManager->SkinWindow(FNewMdiChild);
            FManager->SetForceAttach(force);
            PostMessageW(FWindow, WM_SKINREFRESHFRAME, 0, 0);
        }
        return result;
    }
    case WM_MDIDESTROY: {
        LRESULT result = pass();
        if (!FManager) return result;
        FManager->PurgeDeadForms();
        bool maximized = false;
        HWND active = ActiveMdiChild(&maximized);
        FManager->SetMdiMax(active && maximized);
        if (FManager->MdiChildCount() == 0) {
            FSkinData->SetMenuUpdate(true);
            if (FMenuBar) FMenuBar->Rebuild();
            PostMessageW(FWindow, WM_SKINREFRESHFRAME, 0, 0);
        }
        return result;
    }
    case WM_MDITILE:
    case WM_MDICASCADE:
        if (FManager) FManager->SetMdiMax(false);
        return pass();
    case WM_MDISETMENU: {
        HMENU before = GetMenu(FWindow);
        LRESULT result = pass();
        HMENU now = GetMenu(FWindow);
        const bool created = FNewMdiChild != nullptr;
        FNewMdiChild = nullptr;
        if (FMenuBar && now && (now != before || created)) {
            FMenuBar->BuildFromHandle(now);
            SetMenu(FWindow, nullptr);
            PostMessageW(FWindow, WM_SKINREFRESHFRAME, 0, 0);
        }
        return result;
    }
    case WM_NCCALCSIZE: {
        // The frame paints no scroll bars for the client.
        const LONG style = GetWindowLongW(client, GWL_STYLE);
        if (style & (WS_HSCROLL | WS_VSCROLL))
            SetWindowLongW(client, GWL_STYLE, style & ~(WS_HSCROLL | WS_VSCROLL));
        return pass();
    }
    default:
        return pass();
    }
}

HWND TWinSkinForm::ActiveMdiChild(bool* maximized) const {
    BOOL isMaximized = FALSE;
    HWND active = FMdiClient ? reinterpret_cast<HWND>(SendMessageW(
                                   FMdiClient, WM_MDIGETACTIVE, 0,
                                   reinterpret_cast<LPARAM>(&isMaximized)))
                             : nullptr;
    if (maximized) *maximized = active && isMaximized;
    return active;
}

void TWinSkinForm::MdiChildCommand(WPARAM command) {
    HWND child = ActiveMdiChild();
    if (!child) return;
    SendMessageW(child, WM_SYSCOMMAND, command, 0);
    bool maximized = false;
    ActiveMdiChild(&maximized);
    if (!maximized && FManager) FManager->SetMdiMax(false);
}

} // namespace qh
