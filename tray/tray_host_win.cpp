#include "tray/tray_host.h"

#include "toolkit/application.h"
#include "toolkit/controls.h"
#include "toolkit/exception_report.h"
#include "toolkit/forms.h"
#include "toolkit/menus.h"

namespace qh::TrayHost {

THookToken HookApplicationWindow(TApplicationHook hook) {
    TApplication* application = Application;
    if (!application) return nullptr;
    int id = application->HookMainWindow([hook = std::move(hook)](TMessage& message) {
        hook(message.Msg, message.WParam, message.LParam);
        return false;
    });
    return THookToken(nullptr, [application, id](void*) {
        // The application may have gone first, at program end.
        if (Application == application) application->UnhookMainWindow(id);
    });
}

THookToken HookOwnerWindow(TComponent* owner, TOwnerHook hook) {
    auto* control = dynamic_cast<TWinControl*>(owner);
    if (!control) return nullptr;
    TWindowProcToken front = control->FrontWindowProc(
        [hook = std::move(hook)](TMessage& message, const TWndMethod& next) {
            LRESULT result = 0;
            if (hook(message.Msg, message.WParam, message.LParam, result)) {
                message.Result = result;
                return;
            }
            next(message);
        });
    // The owner frees its components before its window chain goes, so the
    // control is still there to take its handler back.
    return THookToken(nullptr, [control, front](void*) {
        try {
            control->RestoreWindowProc(front);
        } catch (...) {
            ReportException(std::current_exception());
        }
    });
}

bool IsWindowControl(const TComponent* component) {
    return dynamic_cast<const TWinControl*>(component) != nullptr;
}

HWND WindowOf(TComponent* component) {
    auto* control = dynamic_cast<TWinControl*>(component);
    return control ? control->Handle() : nullptr;
}

HWND ApplicationWindow() {
    return Application ? Application->Handle() : nullptr;
}

bool ApplicationTerminated() {
    return Application && Application->Terminated();
}

void ProcessMessages() {
    if (Application) Application->ProcessMessages();
}

bool HasMainForm() {
    return Application && Application->MainForm();
}

void HideMainForm() {
    if (HasMainForm()) Application->MainForm()->SetVisible(false);
}

void ShowMainForm() {
    if (HasMainForm()) Application->MainForm()->SetVisible(true);
}

// The class library has no multiple-document forms; a main window that
// hosts an MDI client window is one all the same.
bool MainFormIsMdiParent() {
    if (!HasMainForm() || !Application->MainForm()->HandleAllocated()) return false;
    return FindWindowExW(Application->MainForm()->Handle(), nullptr, L"MDICLIENT", nullptr) !=
           nullptr;
}

void SetShowMainForm(bool value) {
    if (Application) Application->SetShowMainForm(value);
}

TComponent* AsComponent(TPopupMenu* menu) {
    return menu;
}

bool AutoPopup(TPopupMenu& menu) {
    return menu.AutoPopup();
}

void PopupAt(TPopupMenu& menu, TComponent* popupComponent, int x, int y) {
    menu.SetPopupComponent(popupComponent);
    menu.Popup(x, y);
}

void ClickDefaultItem(TPopupMenu& menu) {
    TMenuItem* items = menu.Items();
    for (int i = 0; items && i < items->Count(); ++i) {
        if (items->Items(i)->Default()) {
            items->Items(i)->Click();
            return;
        }
    }
}

} // namespace qh::TrayHost
