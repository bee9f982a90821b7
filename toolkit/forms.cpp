#include "toolkit/forms.h"

#include "core/gbk.h"
#include "toolkit/exception_report.h"
#include "toolkit/hint_window.h"
#include "toolkit/menus.h"
#include "toolkit/std_controls.h"

#include <commctrl.h>
#include <ole2.h>

#include <windowsx.h>

#include <algorithm>

namespace qh {

namespace {

// Timers of the application window.
constexpr UINT_PTR kHintShowTimer = 1;
constexpr UINT_PTR kHintHideTimer = 2;
// From one hint straight to the next one's control, it follows quickly.
constexpr int kHintShortPause = 50;
// Below the pointer's tip, clear of the arrow.
constexpr int kHintBelowPointer = 20;

} // namespace

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

const TEnumInfo FormBorderStyleEnum{
    "TFormBorderStyle",
    {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"}};
const TEnumInfo PositionEnum{
    "TPosition",
    {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter"}};

QH_DEFINE_CLASS(TCustomForm, TWinControl,
                EnumProp("BorderStyle", FormBorderStyleEnum, &TCustomForm::BorderStyle,
                         &TCustomForm::SetBorderStyle),
                EnumProp("Position", PositionEnum, &TCustomForm::Position,
                         &TCustomForm::SetPosition),
                IntProp("ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth),
                IntProp("ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight),
                BoolProp("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview),
                BoolProp("TransparentColor", &TCustomForm::TransparentColor,
                         &TCustomForm::SetTransparentColor),
                IntProp("TransparentColorValue", &TCustomForm::TransparentColorValue,
                        &TCustomForm::SetTransparentColorValue),
                IntProp("ModalResult", &TCustomForm::ModalResult, &TCustomForm::SetModalResult))
QH_DEFINE_CLASS(TForm, TCustomForm)
QH_DEFINE_CLASS(TScreen, TComponent)
QH_DEFINE_CLASS(TApplication, TComponent,
                StrProp("Title", &TApplication::Title, &TApplication::SetTitle))
QH_DEFINE_CLASS(TApplicationEvents, TComponent)

TCustomForm* GetParentForm(const TControl* control) {
    while (control && control->Parent())
        control = control->Parent();
    if (control && control->Is<TCustomForm>())
        return const_cast<TCustomForm*>(static_cast<const TCustomForm*>(control));
    return nullptr;
}

std::string ExceptionMessage(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const Exception& e) {
        return e.Message;
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "未知错误";
    }
}

void ReportException(std::exception_ptr error) {
    if (Application) {
        Application->HandleException(error);
        return;
    }
    // No application to report through: at least say it on the debugger.
    OutputDebugStringW(GbkToWide(ExceptionMessage(error)).c_str());
}

// -------------------------------------------------------------- TCustomForm

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
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
    ApplyTransparency();
    ApplyClientSize();
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
        AdjustWindowRectEx(&r, params.Style, FMenu != nullptr, params.ExStyle);
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
    ShowWindow(h, SW_SHOWNORMAL);
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
    case WM_QUERYENDSESSION:
        m.Result = CloseQuery();
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

// ------------------------------------------------------------------ TScreen

TScreen::TScreen(TComponent* owner) : TComponent(owner) {}

TCustomForm* TScreen::Forms(int index) const {
    if (index < 0 || index >= FormCount()) RaiseListIndexError(index);
    return FForms[static_cast<size_t>(index)];
}

TCustomForm* TScreen::ActiveForm() const {
    TWinControl* c = TWinControl::FindControl(GetActiveWindow());
    return c && c->Is<TCustomForm>() ? static_cast<TCustomForm*>(c) : nullptr;
}

int TScreen::Width() const {
    return GetSystemMetrics(SM_CXSCREEN);
}
int TScreen::Height() const {
    return GetSystemMetrics(SM_CYSCREEN);
}

RECT TScreen::WorkAreaRect() const {
    RECT r{0, 0, Width(), Height()};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

// ------------------------------------------------------------- TApplication

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
    if (Application) throw EInvalidOperation("应用程序对象只能有一个");
    Application = this;
    Screen = new TScreen(this);
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES |
                                              ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                              ICC_PROGRESS_CLASS | ICC_UPDOWN_CLASS |
                                              ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);

    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WindowProcedure;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, L"MAINICON");
    if (!wc.hIcon) wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"TApplication";
    RegisterClassExW(&wc);
    int x = GetSystemMetrics(SM_CXSCREEN) / 2, y = GetSystemMetrics(SM_CYSCREEN) / 2;
    FHandle = CreateWindowExW(0, L"TApplication", L"",
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                              x, y, 0, 0, nullptr, nullptr, instance, nullptr);
    if (!FHandle) {
        Application = nullptr;
        Screen = nullptr;
        throw EOutOfResources("无法创建应用程序窗口");
    }
}

TApplication::~TApplication() {
    Destroying();
    FHintControl = nullptr;
    FHintWindow.reset();
    DestroyComponents(); // the forms, the last created first
    Screen = nullptr;
    if (FHandle) {
        DestroyWindow(FHandle);
        FHandle = nullptr;
    }
    if (FOleStarted) OleUninitialize();
    Application = nullptr;
}

void TApplication::Initialize() {
    if (!FOleStarted) FOleStarted = SUCCEEDED(OleInitialize(nullptr));
}

void TApplication::SetTitle(const std::string& title) {
    FTitle = title;
    SetWindowTextW(FHandle, GbkToWide(title).c_str());
}

void TApplication::SetMainForm(TCustomForm* form) {
    FMainForm = form;
    if (form) form->HandleNeeded();
}

void TApplication::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FMainForm) FMainForm = nullptr;
}

void TApplication::Run() {
    if (FMainForm && FShowMainForm && !FTerminated) FMainForm->Show();
    while (!FTerminated)
        HandleMessage();
}

void TApplication::Terminate() {
    PostQuitMessage(0);
}

void TApplication::ProcessMessages() {
    while (ProcessMessage()) {
    }
}

void TApplication::HandleMessage() {
    if (!ProcessMessage()) WaitMessage();
}

bool TApplication::ProcessMessage() {
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) {
        FTerminated = true;
        return true;
    }
    try {
        HintMessage(msg);
        bool handled = false;
        if (OnMessage) OnMessage(msg, handled);
        // Each form's events see it, the most recent first, until one takes it.
        for (auto it = FEvents.rbegin(); !handled && it != FEvents.rend(); ++it)
            if ((*it)->OnMessage) (*it)->OnMessage(msg, handled);
        if (!handled && !IsKeyMessage(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    } catch (...) {
        HandleException(std::current_exception());
    }
    FreeReleasedForms();
    return true;
}

bool TApplication::IsKeyMessage(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    TCustomForm* form = nullptr;
    if (HWND root = GetAncestor(msg.hwnd, GA_ROOT)) {
        TWinControl* c = TWinControl::FindControl(root);
        if (c && c->Is<TCustomForm>()) form = static_cast<TCustomForm*>(c);
    }
    // The program's shortcuts first, wherever the focus is; then the
    // control the keys go to (a hosted page has keys of its own); then the
    // form's dialog keys.
    if (IsShortCutMessage(msg, form)) return true;
    if (TWinControl* target = TWinControl::FindOwningControl(msg.hwnd);
        target && target->PreProcessMessage(msg))
        return true;
    return IsDialogMessage(msg, form);
}

bool TApplication::IsShortCutMessage(MSG& msg, TCustomForm* form) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    WORD key = static_cast<WORD>(msg.wParam);
    unsigned shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= scShift;
    if (GetKeyState(VK_CONTROL) < 0) shift |= scCtrl;
    if (msg.message == WM_SYSKEYDOWN || GetKeyState(VK_MENU) < 0) shift |= scAlt;
    if (form && form->KeyPreview() && form->OnKeyDown) {
        form->OnKeyDown(form, key, shift);
        if (key == 0) return true;
    }
    unsigned shortCut = ShortCut(key, shift);
    // Modal forms keep their keys; otherwise the main form's menu answers too.
    if (form && form->IsShortCut(shortCut)) return true;
    if ((!form || !form->Modal()) && FMainForm && FMainForm != form &&
        FMainForm->IsShortCut(shortCut))
        return true;
    return false;
}

bool TApplication::IsDialogMessage(MSG& msg, TCustomForm* form) {
    if (!form) return false;
    if (msg.message == WM_SYSCHAR) return form->Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam) != 0;
    if (msg.message != WM_KEYDOWN) return false;
    WORD key = static_cast<WORD>(msg.wParam);
    if (key != VK_TAB && key != VK_RETURN && key != VK_ESCAPE) return false;
    if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
    // A control that asks for the key keeps it: an edit of many lines its
    // Enter, a list that is open its Escape. Arrow keys always stay with
    // the control.
    LRESULT code = SendMessageW(msg.hwnd, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&msg));
    if (code & (key == VK_TAB ? DLGC_WANTTAB : DLGC_WANTALLKEYS)) return false;
    return form->Perform(CM_DIALOGKEY, key, msg.lParam) != 0;
}

void TApplication::HandleException(std::exception_ptr error) {
    if (OnException) {
        OnException(this, error);
        return;
    }
    std::wstring caption = GbkToWide(FTitle);
    std::wstring text = GbkToWide(ExceptionMessage(error));
    const UINT flags = MB_OK | MB_ICONERROR;
    if (ErrorBox) {
        ErrorBox(caption, text, flags);
        return;
    }
    HWND owner = GetActiveWindow();
    MessageBoxW(owner ? owner : FHandle, text.c_str(), caption.c_str(), flags);
}

int TApplication::HookMainWindow(TWindowHook hook) {
    FHooks.emplace_back(FNextHook, std::move(hook));
    return FNextHook++;
}

void TApplication::UnhookMainWindow(int id) {
    FHooks.erase(
        std::remove_if(FHooks.begin(), FHooks.end(), [id](auto& h) { return h.first == id; }),
        FHooks.end());
}

void TApplication::ReleaseForm(TCustomForm* form) {
    if (std::find(FReleased.begin(), FReleased.end(), form) == FReleased.end())
        FReleased.push_back(form);
    if (!InsideMessageHandler()) FreeReleasedForms();
}

void TApplication::FreeReleasedForms() {
    if (InsideMessageHandler()) return;
    while (!FReleased.empty()) {
        TCustomForm* form = FReleased.back();
        FReleased.pop_back();
        delete form;
    }
}

LRESULT CALLBACK TApplication::WindowProcedure(HWND window, UINT msg, WPARAM wParam,
                                               LPARAM lParam) {
    if (Application && window == Application->FHandle) {
        try {
            return Application->HandleWindowMessage(msg, wParam, lParam);
        } catch (...) {
            ReportException(std::current_exception());
            return 0;
        }
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}

void TApplication::SetShowHint(bool show) {
    FShowHint = show;
    if (!show) CancelHint();
}

bool TApplication::WantsHint(const TControl* control) const {
    return FShowHint && control && control->ShowHint() && !control->Hint().empty();
}

void TApplication::CancelHint() {
    if (FHandle) {
        KillTimer(FHandle, kHintShowTimer);
        KillTimer(FHandle, kHintHideTimer);
    }
    if (FHintWindow) FHintWindow->ReleaseHint();
}

void TApplication::ControlGone(TControl* control) {
    if (control != FHintControl) return;
    FHintControl = nullptr;
    CancelHint();
}

void TApplication::HintMessage(const MSG& msg) {
    switch (msg.message) {
    case WM_MOUSEMOVE: {
        POINT p{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
        TControl* over = nullptr;
        if (TWinControl* window = TWinControl::FindControl(msg.hwnd)) {
            over = window->ControlAtPos(p);
            if (!over) over = window;
        }
        ::ClientToScreen(msg.hwnd, &p);
        if (over == FHintControl) return;
        bool wasShowing = FHintWindow && FHintWindow->Active();
        CancelHint();
        FHintControl = over;
        FHintPoint = p;
        if (WantsHint(over))
            SetTimer(FHandle, kHintShowTimer,
                     static_cast<UINT>(wasShowing ? kHintShortPause : FHintPause), nullptr);
        return;
    }
    case WM_NCMOUSEMOVE:
    case WM_MOUSELEAVE:
        FHintControl = nullptr;
        CancelHint();
        return;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_MOUSEWHEEL:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        // Put away until the pointer reaches another control.
        CancelHint();
        return;
    default:
        return;
    }
}

void TApplication::HintTimer(UINT_PTR id) {
    KillTimer(FHandle, id);
    if (id == kHintHideTimer) {
        if (FHintWindow) FHintWindow->ReleaseHint();
        return;
    }
    if (!WantsHint(FHintControl) || !FHintControl->Showing()) return;
    if (!FHintWindow) FHintWindow = std::make_unique<THintWindow>(nullptr);
    FHintWindow->ActivateHint(FHintControl->Hint(),
                              {FHintPoint.x, FHintPoint.y + kHintBelowPointer});
    SetTimer(FHandle, kHintHideTimer, static_cast<UINT>(FHintHidePause), nullptr);
}

LRESULT TApplication::HandleWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER && (wParam == kHintShowTimer || wParam == kHintHideTimer)) {
        HintTimer(wParam);
        return 0;
    }
    TMessage m{msg, wParam, lParam, 0};
    // A hook may unhook itself: walk a copy.
    auto hooks = FHooks;
    for (auto& hook : hooks)
        if (hook.second(m)) return m.Result;
    switch (msg) {
    case WM_CLOSE:
        if (FMainForm) FMainForm->Close();
        return 0;
    case WM_COMMAND:
        if (lParam == 0 && TMenuItem::DispatchCommand(LOWORD(wParam))) return 0;
        break;
    case WM_MEASUREITEM:
        if (TMenuItem::DispatchMeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)))
            return TRUE;
        break;
    case WM_DRAWITEM:
        if (TMenuItem::DispatchDrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam))) return TRUE;
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_RESTORE && FMainForm) {
            DefWindowProcW(FHandle, msg, wParam, lParam);
            FMainForm->Show();
            return 0;
        }
        break;
    default:
        break;
    }
    return DefWindowProcW(FHandle, msg, wParam, lParam);
}

// ------------------------------------------------------- TApplicationEvents

TApplicationEvents::TApplicationEvents(TComponent* owner) : TComponent(owner) {
    if (Application) Application->FEvents.push_back(this);
}

TApplicationEvents::~TApplicationEvents() {
    if (Application) {
        auto& list = Application->FEvents;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
}

} // namespace qh
