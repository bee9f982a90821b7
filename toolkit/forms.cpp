#include "toolkit/forms.h"

#include "toolkit/application.h"
#include "toolkit/dpi.h"
#include "toolkit/edits.h"
#include "toolkit/screen.h"

#include "core/gbk.h"
#include "toolkit/exception_report.h"
#include "toolkit/hint_window.h"
#include "toolkit/menus.h"

#include <commctrl.h>
#include <ole2.h>
#include <windowsx.h>
#include <algorithm>

namespace qh {

const TEnumInfo FormBorderStyleEnum{
    "TFormBorderStyle",
    {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"}};

const TEnumInfo PositionEnum{
    "TPosition",
    {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter"}};

QH_DEFINE_CLASS(
    TCustomForm, TWinControl, ObjProp("Icon", &TCustomForm::Icon, &TCustomForm::SetIcon),
    EnumProp("BorderStyle", FormBorderStyleEnum, &TCustomForm::BorderStyle,
             &TCustomForm::SetBorderStyle),
    EnumProp("Position", PositionEnum, &TCustomForm::Position, &TCustomForm::SetPosition),
    IntProp("ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth),
    IntProp("ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight),
    BoolProp("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview),
    BoolProp("TransparentColor", &TCustomForm::TransparentColor, &TCustomForm::SetTransparentColor),
    IntProp("TransparentColorValue", &TCustomForm::TransparentColorValue,
            &TCustomForm::SetTransparentColorValue),
    IntProp("ModalResult", &TCustomForm::ModalResult, &TCustomForm::SetModalResult))

QH_DEFINE_CLASS(TForm, TCustomForm)

TCustomForm* GetParentForm(const TControl* control) {
    while (control && control->Parent())
        control = control->Parent();
    if (control && control->Is<TCustomForm>())
        return const_cast<TCustomForm*>(static_cast<const TCustomForm*>(control));
    return nullptr;
}

TCustomForm::TCustomForm(TComponent* owner)
    : TWinControl(owner), FIcon(std::make_unique<TIconImage>()) {
    FIcon->OnChange = [this] { ApplyIcon(); };
    // A form shows only when asked to.
    TControl::SetVisible(false);
    SetBounds(0, 0, 320, 240);
    if (Screen) Screen->FForms.push_back(this);
}

TCustomForm::~TCustomForm() {
    Destroying();
    if (OnDestroy) {
        try {
            OnDestroy(this);
        } catch (...) {
            ReportException(std::current_exception());
        }
    }
    DestroyComponents();
    if (Screen) {
        auto& forms = Screen->FForms;
        forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    }
    if (Application) {
        if (Application->FMainForm == this) Application->FMainForm = nullptr;
        auto& released = Application->FReleased;
        released.erase(std::remove(released.begin(), released.end(), this), released.end());
    }
    DestroyHandle();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style) {
    if (style == FBorderStyle) return;
    FBorderStyle = style;
    if (HandleAllocated()) {
        TCreateParams params;
        CreateParams(params);
        SetWindowLongW(Handle(), GWL_STYLE, static_cast<LONG>(params.Style));
        SetWindowLongW(Handle(), GWL_EXSTYLE, static_cast<LONG>(params.ExStyle));
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
}

void TCustomForm::SetBorderIcons(unsigned icons) {
    FBorderIcons = icons;
    TFormBorderStyle style = FBorderStyle;
    FBorderStyle = static_cast<TFormBorderStyle>(-1);
    SetBorderStyle(style); // restyles the window
}

void TCustomForm::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    params.ExStyle = 0;
    switch (FBorderStyle) {
    case bsNone:
        params.Style |= WS_POPUP;
        break;
    case bsSingle:
    case bsToolWindow:
        params.Style |= WS_CAPTION | WS_BORDER;
        break;
    case bsSizeable:
    case bsSizeToolWin:
        params.Style |= WS_CAPTION | WS_THICKFRAME;
        break;
    case bsDialog:
        params.Style |= WS_POPUP | WS_CAPTION | DS_MODALFRAME;
        params.ExStyle |= WS_EX_DLGMODALFRAME;
        break;
    }
    if (FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin)
        params.ExStyle |= WS_EX_TOOLWINDOW;
    if (FBorderStyle != bsNone && (FBorderIcons & biSystemMenu)) {
        params.Style |= WS_SYSMENU;
        if (FBorderStyle != bsDialog && FBorderStyle != bsToolWindow &&
            FBorderStyle != bsSizeToolWin) {
            if (FBorderIcons & biMinimize) params.Style |= WS_MINIMIZEBOX;
            if (FBorderIcons & biMaximize) params.Style |= WS_MAXIMIZEBOX;
        }
    }
    if (!Enabled()) params.Style |= WS_DISABLED;
    if (FTransparentColor) params.ExStyle |= WS_EX_LAYERED;
    params.WndParent = Application ? Application->Handle() : nullptr;
}

void TCustomForm::HandleCreated() {
    if (FMenu) {
        ::SetMenu(Handle(), FMenu->Handle());
        FMenu->SetWindow(Handle());
    }
    ApplyIcon();
    ApplyTransparency();
    // Before the children's windows are made, so they are made at their size.
    ScaleForDpi(WindowDpi(Handle()));
    ApplyClientSize();
}

void TCustomForm::SetIcon(TIconImage* icon) {
    if (icon && icon != FIcon.get()) FIcon->Assign(*icon);
}

void TCustomForm::ApplyIcon() {
    if (!HandleAllocated()) return;
    HICON icon = FIcon->Handle();
    if (!icon) {
        if (FProgramIcon.Empty())
            FProgramIcon.LoadFromResource(GetModuleHandleW(nullptr), L"MAINICON");
        icon = FProgramIcon.Handle();
    }
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

RECT TCustomForm::ClientRect() const {
    if (HandleAllocated()) return TWinControl::ClientRect();
    if (FClientWidth >= 0) return {0, 0, FClientWidth, FClientHeight};
    return TWinControl::ClientRect();
}

void TCustomForm::SetClientSize(int width, int height) {
    FClientWidth = std::max(width, 0);
    FClientHeight = std::max(height, 0);
    ApplyClientSize();
}

void TCustomForm::SetBounds(int left, int top, int width, int height) {
    if (width != Width() || height != Height()) FClientWidth = FClientHeight = -1;
    TWinControl::SetBounds(left, top, width, height);
}

void TCustomForm::ApplyClientSize() {
    if (FClientWidth < 0) return;
    if (!HandleAllocated()) {
        // Until there is a window, the frame is what the styles say.
        TCreateParams params;
        CreateParams(params);
        RECT r{0, 0, FClientWidth, FClientHeight};
        AdjustWindowRectForDpi(r, params.Style, FMenu != nullptr, params.ExStyle, FCurrentDpi);
        TControl::SetBounds(Left(), Top(), r.right - r.left, r.bottom - r.top);
        return;
    }
    // The frame (and a menu bar that may wrap) are what the window has.
    HWND h = Handle();
    RECT window, client;
    for (int attempt = 0; attempt < 3; ++attempt) {
        GetWindowRect(h, &window);
        GetClientRect(h, &client);
        int dw = FClientWidth - client.right, dh = FClientHeight - client.bottom;
        if (dw == 0 && dh == 0) break;
        SetWindowPos(h, nullptr, 0, 0, window.right - window.left + dw,
                     window.bottom - window.top + dh, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TCustomForm::SetMenu(TMainMenu* menu) {
    if (menu == FMenu) return;
    if (FMenu) {
        FMenu->SetWindow(nullptr);
        FMenu->RemoveFreeNotification(this);
    }
    FMenu = menu;
    if (FMenu) FMenu->FreeNotification(this);
    if (HandleAllocated()) {
        ::SetMenu(Handle(), FMenu ? FMenu->Handle() : nullptr);
        if (FMenu) FMenu->SetWindow(Handle());
        ApplyClientSize();
    }
    Perform(CM_MENUCHANGED);
}

void TCustomForm::SetTransparentColor(bool on) {
    FTransparentColor = on;
    ApplyTransparency();
}

void TCustomForm::SetTransparentColorValue(TColor color) {
    FTransparentColorValue = color;
    ApplyTransparency();
}

void TCustomForm::ApplyTransparency() {
    if (!HandleAllocated()) return;
    HWND h = Handle();
    LONG ex = GetWindowLongW(h, GWL_EXSTYLE);
    if (FTransparentColor) {
        SetWindowLongW(h, GWL_EXSTYLE, ex | WS_EX_LAYERED);
        SetLayeredWindowAttributes(h, ColorToRGB(FTransparentColorValue), 255, LWA_COLORKEY);
    } else if (ex & WS_EX_LAYERED) {
        SetWindowLongW(h, GWL_EXSTYLE, ex & ~WS_EX_LAYERED);
    }
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == FMenu) {
        FMenu = nullptr;
        if (HandleAllocated() && !HasState(csDestroying)) ::SetMenu(Handle(), nullptr);
    }
}

void TCustomForm::Loaded() {
    TWinControl::Loaded();
    if (OnCreate) OnCreate(this);
}

void TCustomForm::SetVisible(bool visible) {
    if (!visible) {
        TControl::SetVisible(false);
        if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
        return;
    }
    HWND h = Handle();
    if (!FShownOnce) {
        FShownOnce = true;
        if (FPosition == poScreenCenter && Screen) {
            int x = (Screen->Width() - Width()) / 2, y = (Screen->Height() - Height()) / 2;
            SetBounds(x, y, Width(), Height());
        }
    }
    TControl::SetVisible(true);
    // A window that asks never to be activated is not activated by showing it either.
    const bool activates = !(GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_NOACTIVATE);
    ShowWindow(h, activates ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE);
    if (Application && Application->MainForm() == this && Application->Handle() &&
        !IsWindowVisible(Application->Handle()))
        ShowWindow(Application->Handle(), SW_SHOWNOACTIVATE);
}

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close() {
    if (FModal) {
        FModalResult = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    if (OnClose) OnClose(this, action);
    if (action == caNone) return;
    if (Application && Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    switch (action) {
    case caHide:
        Hide();
        break;
    case caMinimize:
        ShowWindow(Handle(), SW_MINIMIZE);
        break;
    default:
        Release();
        break;
    }
}

void TCustomForm::CloseModal() {
    TCloseAction action = caNone;
    if (CloseQuery()) {
        action = caHide;
        if (OnClose) OnClose(this, action);
    }
    if (action == caNone)
        FModalResult = mrNone;
    else if (action == caFree)
        Release();
}

namespace {

struct TDisabledWindows {
    HWND except;
    std::vector<HWND> windows;
    static BOOL CALLBACK Collect(HWND window, LPARAM data) {
        auto* self = reinterpret_cast<TDisabledWindows*>(data);
        if (window != self->except && IsWindowVisible(window) && IsWindowEnabled(window)) {
            self->windows.push_back(window);
            EnableWindow(window, FALSE);
        }
        return TRUE;
    }
    explicit TDisabledWindows(HWND skipped) : except(skipped) {
        EnumThreadWindows(GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(this));
    }
    ~TDisabledWindows() {
        for (HWND w : windows)
            if (IsWindow(w)) EnableWindow(w, TRUE);
    }
};

} // namespace

TModalResult TCustomForm::ShowModal() {
    if (Visible() || FModal || !Enabled()) throw EInvalidOperation("不能将可见窗口设为模式窗口");
    if (GetCapture()) ReleaseCapture();
    HWND active = GetActiveWindow();
    FModal = true;
    FModalResult = mrNone;
    struct TModalEnd {
        TCustomForm* form;
        HWND active;
        ~TModalEnd() {
            form->FModal = false;
            if (form->HandleAllocated() && !form->HasState(csDestroying)) form->Hide();
            if (active && IsWindow(active)) SetActiveWindow(active);
        }
    } end{this, active};
    TDisabledWindows disabled(Handle());
    Show();
    do {
        Application->HandleMessage();
        if (Application->Terminated())
            FModalResult = mrCancel;
        else if (FModalResult != mrNone)
            CloseModal();
    } while (FModalResult == mrNone);
    return FModalResult;
}

void TCustomForm::Release() {
    if (HandleAllocated())
        PostMessageW(Handle(), CM_RELEASE, 0, 0);
    else if (Application)
        Application->ReleaseForm(this);
}

bool TCustomForm::IsShortCut(unsigned shortCut) {
    return FMenu && FMenu->IsShortCut(shortCut);
}

TWinControl* TCustomForm::ActiveControl() const {
    if (!HandleAllocated()) return nullptr;
    HWND form = const_cast<TCustomForm*>(this)->Handle();
    HWND focus = GetFocus();
    if (!focus || !IsChild(form, focus)) focus = FFocusWindow;
    if (!focus || !IsWindow(focus) || !IsChild(form, focus)) return nullptr;
    TWinControl* control = FindOwningControl(focus);
    return control != this ? control : nullptr;
}

void TCustomForm::SetActiveControl(TWinControl* control) {
    if (!control || GetParentForm(control) != this || control == this) return;
    if (HandleAllocated() && GetActiveWindow() == Handle() && control->CanFocus())
        control->SetFocus();
    else
        FFocusWindow = control->Handle();
}

void TCustomForm::RestoreFocus() {
    HWND form = Handle();
    if (FFocusWindow && IsWindow(FFocusWindow) && IsChild(form, FFocusWindow)) {
        TWinControl* owner = FindOwningControl(FFocusWindow);
        if (IsWindowVisible(FFocusWindow) && IsWindowEnabled(FFocusWindow) &&
            (!owner || owner->CanFocus())) {
            ::SetFocus(FFocusWindow);
            return;
        }
    }
    FFocusWindow = nullptr;
    SelectNext(nullptr, true, true);
}

void TCustomForm::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_CLOSE:
        Close();
        m.Result = 0;
        return;
    // Signing out or shutting down is never refused: the close query's
    // refusal is for the user's own closes. The session's end ends the
    // program as the application's Terminate does.
    case WM_QUERYENDSESSION:
        m.Result = TRUE;
        return;
    case WM_ENDSESSION:
        if (m.WParam && Application) Application->Terminate();
        m.Result = 0;
        return;
    case CM_RELEASE:
        if (Application) Application->ReleaseForm(this);
        return;
    case WM_COMMAND:
        if (m.LParam == 0 && HIWORD(m.WParam) == 0 &&
            TMenuItem::DispatchCommand(LOWORD(m.WParam))) {
            m.Result = 0;
            return;
        }
        break;
    case WM_MEASUREITEM:
        if (reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam)->CtlType == ODT_MENU &&
            TMenuItem::DispatchMeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam))) {
            m.Result = TRUE;
            return;
        }
        break;
    case WM_DRAWITEM:
        if (reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam)->CtlType == ODT_MENU &&
            TMenuItem::DispatchDrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam))) {
            m.Result = TRUE;
            return;
        }
        break;
    case WM_SHOWWINDOW:
        if (m.LParam == 0) {
            if (m.WParam && OnShow)
                OnShow(this);
            else if (!m.WParam && OnHide)
                OnHide(this);
        }
        break;
    case WM_DPICHANGED:
        // Moved to a monitor of another DPI (or told so by a test).
        ScaleForDpi(LOWORD(m.WParam), reinterpret_cast<const RECT*>(m.LParam));
        m.Result = 0;
        return;
    case WM_WINDOWPOSCHANGED: {
        // Others (the tray) show and hide the window directly.
        auto* pos = reinterpret_cast<WINDOWPOS*>(m.LParam);
        if (pos->flags & SWP_SHOWWINDOW)
            TControl::SetVisible(true);
        else if (pos->flags & SWP_HIDEWINDOW)
            TControl::SetVisible(false);
        break;
    }
    case WM_ACTIVATE:
        if (LOWORD(m.WParam) == WA_INACTIVE) {
            // Still focused here while the form is being left.
            HWND focus = GetFocus();
            if (focus && IsChild(Handle(), focus)) FFocusWindow = focus;
            break;
        }
        // The default handling puts the focus on the form itself; it goes
        // on to the control that had it (not while minimised).
        TWinControl::WndProc(m);
        if (!HIWORD(m.WParam)) RestoreFocus();
        if (OnActivate) OnActivate(this);
        return;
    case CM_DIALOGKEY:
        if (m.WParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0) {
            if (TWinControl* next =
                    FindNextControl(ActiveControl(), GetKeyState(VK_SHIFT) >= 0, true)) {
                next->SetFocus();
                // An edit reached by Tab has its text selected, ready to be typed over.
                if (next->Is<TCustomEdit>() && !next->Is<TCustomMemo>())
                    SendMessageW(next->Handle(), EM_SETSEL, 0, -1);
            }
            m.Result = 1;
            return;
        }
        Broadcast(m);
        return;
    case CM_DIALOGCHAR:
        Broadcast(m);
        return;
    default:
        break;
    }
    TWinControl::WndProc(m);
}

} // namespace qh
