// What the tray icon needs of the class library: the application window and
// main form, the owner form's window procedure and the popup menu. Kept in
// one place so the component's rules do not depend on the library's shape.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

namespace qh {

class TComponent;
class TPopupMenu;

namespace TrayHost {

// Removes its hook when it goes.
using THookToken = std::shared_ptr<void>;

// Sees every message of the application window; never consumes one.
using TApplicationHook = std::function<void(UINT message, WPARAM wParam, LPARAM lParam)>;
THookToken HookApplicationWindow(TApplicationHook hook);

// Goes in front of the owner's window procedure; returns true when it has
// consumed the message (with result), false to pass it on.
using TOwnerHook = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)>;
THookToken HookOwnerWindow(TComponent* owner, TOwnerHook hook);

bool IsWindowControl(const TComponent* component);
// The window of a window control (made if needed), or null.
HWND WindowOf(TComponent* component);

HWND ApplicationWindow();
bool ApplicationTerminated();
void ProcessMessages();
bool HasMainForm();
void HideMainForm();
void ShowMainForm();
bool MainFormIsMdiParent();
// Whether the application shows its main form when it starts running.
void SetShowMainForm(bool value);

TComponent* AsComponent(TPopupMenu* menu);
bool AutoPopup(TPopupMenu& menu);
void PopupAt(TPopupMenu& menu, TComponent* popupComponent, int x, int y);
// Clicks the top-level default item (the lowest index when several are).
void ClickDefaultItem(TPopupMenu& menu);

} // namespace TrayHost

} // namespace qh
