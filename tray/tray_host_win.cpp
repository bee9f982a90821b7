#include "tray/tray_host.h"

// NOT YET CONNECTED: the class library's application object, window
// controls and popup menu have not landed yet. Until they do, the tray icon
// sees no application window, no main form, no window-control owner and no
// menu; everything below is to be wired to them.

namespace qh::TrayHost {

THookToken HookApplicationWindow(TApplicationHook) {
    return nullptr;
}
THookToken HookOwnerWindow(TComponent*, TOwnerHook) {
    return nullptr;
}
bool IsWindowControl(const TComponent*) {
    return false;
}
HWND WindowOf(TComponent*) {
    return nullptr;
}
HWND ApplicationWindow() {
    return nullptr;
}
bool ApplicationTerminated() {
    return false;
}
void ProcessMessages() {}
bool HasMainForm() {
    return false;
}
void HideMainForm() {}
void ShowMainForm() {}
bool MainFormIsMdiParent() {
    return false;
}
void SetShowMainForm(bool) {}
TComponent* AsComponent(TPopupMenu*) {
    return nullptr;
}
bool AutoPopup(TPopupMenu&) {
    return false;
}
void PopupAt(TPopupMenu&, TComponent*, int, int) {}
void ClickDefaultItem(TPopupMenu&) {}

} // namespace qh::TrayHost
