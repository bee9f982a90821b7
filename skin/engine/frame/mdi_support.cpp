#include "skin/engine/frame/mdi_support.h"

#include "skin/engine/frame/win_skin_form.h"
#include "skin/engine/menus/win_skin_menu.h"
#include "skin/engine/skin_manage.h"

namespace qh {

void TMdiSupport::AttachClient() {
    if (FForm.MdiKind() != TMdiKind::Frame || FClient) return;
    HWND client = FindWindowExW(FForm.Window(), nullptr, L"MDIClient", nullptr);
    if (!client) return;
    FClient = client;
    if (TSkinManage* manager = FForm.Manager()) manager->SetMdiClientWindow(client);
    FClientSubclass.Install(client, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
        return ClientMessage(msg, wParam, lParam);
    });
}

void TMdiSupport::RestoreClient() {
    if (!FClient) return;
    HWND client = FClient;
    FClient = nullptr;
    FNewChild = nullptr;
    TSkinManage* manager = FForm.Manager();
    if (manager && manager->MdiClientWindow() == client) manager->SetMdiClientWindow(nullptr);
    FClientSubclass.Remove();
}

LRESULT TMdiSupport::ClientMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND client = FClient;
    auto pass = [&] { return FClientSubclass.CallNext(msg, wParam, lParam); };
    if (msg == WM_NCDESTROY) {
        RestoreClient();
        return pass();
    }
    TSkinData* data = FForm.SkinData();
    if (!FForm.FrameSkinned() || !data) return pass();
    TSkinManage* manager = FForm.Manager();
    HWND frame = FForm.Window();
    switch (msg) {
    case WM_MDICREATE: {
        // The child's menu arrives through WM_MDISETMENU: the bar is rebuilt
        // there, not on every menu change in between.
        data->SetMenuUpdate(false);
        LRESULT child = pass();
        FNewChild = reinterpret_cast<HWND>(child);
        return child;
    }
    case WM_MDIREFRESHMENU: {
        LRESULT result = pass();
        if (FNewChild && manager) {
            const bool force = manager->ForceAttach();
            manager->SetForceAttach(true);
            manager->SkinWindow(FNewChild);
            manager->SetForceAttach(force);
            PostMessageW(frame, WM_SKINREFRESHFRAME, 0, 0);
        }
        return result;
    }
    case WM_MDIDESTROY: {
        LRESULT result = pass();
        if (!manager) return result;
        manager->PurgeDeadForms();
        bool maximized = false;
        HWND active = ActiveChild(&maximized);
        manager->SetMdiMax(active && maximized);
        if (manager->MdiChildCount() == 0) {
            data->SetMenuUpdate(true);
            if (TWinSkinMenu* bar = FForm.MenuBar()) bar->Rebuild();
            PostMessageW(frame, WM_SKINREFRESHFRAME, 0, 0);
        }
        return result;
    }
    case WM_MDITILE:
    case WM_MDICASCADE:
        if (manager) manager->SetMdiMax(false);
        return pass();
    case WM_MDISETMENU: {
        HMENU before = GetMenu(frame);
        LRESULT result = pass();
        HMENU now = GetMenu(frame);
        const bool created = FNewChild != nullptr;
        FNewChild = nullptr;
        TWinSkinMenu* bar = FForm.MenuBar();
        if (bar && now && (now != before || created)) {
            bar->BuildFromHandle(now);
            SetMenu(frame, nullptr);
            PostMessageW(frame, WM_SKINREFRESHFRAME, 0, 0);
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

HWND TMdiSupport::ActiveChild(bool* maximized) const {
    BOOL isMaximized = FALSE;
    HWND active = FClient
                      ? reinterpret_cast<HWND>(SendMessageW(FClient, WM_MDIGETACTIVE, 0,
                                                            reinterpret_cast<LPARAM>(&isMaximized)))
                      : nullptr;
    if (maximized) *maximized = active && isMaximized;
    return active;
}

void TMdiSupport::ChildCommand(WPARAM command) {
    HWND child = ActiveChild();
    if (!child) return;
    SendMessageW(child, WM_SYSCOMMAND, command, 0);
    bool maximized = false;
    ActiveChild(&maximized);
    if (!maximized && FForm.Manager()) FForm.Manager()->SetMdiMax(false);
}

void TMdiSupport::ChildSized(WPARAM sizeKind) {
    TSkinManage* manager = FForm.Manager();
    if (FForm.MdiKind() != TMdiKind::Child || !manager || FForm.FrameState() == TFrameState::New) return;
    // A maximised child shows the system's frame inside the MDI frame, as
    // every child does while one is maximised.
    HWND window = FForm.Window();
    if (sizeKind == SIZE_MAXIMIZED) manager->SetMdiMax(true);
    if (sizeKind == SIZE_RESTORED && manager->MdiMaximized()) {
        BOOL maximized = FALSE;
        SendMessageW(GetParent(window), WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized));
        if (!maximized) manager->SetMdiMax(false);
    }
    PostMessageW(GetParent(GetParent(window)), WM_SKINREFRESHFRAME, 0, 0);
}

} // namespace qh
