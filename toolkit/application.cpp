#include "toolkit/application.h"

#include "core/gbk.h"
#include "core/mul_div.h"
#include "toolkit/dpi.h"
#include "toolkit/exception_report.h"
#include "toolkit/hint_window.h"
#include "toolkit/menus.h"

#include <commctrl.h>
#include <ole2.h>
#include <windowsx.h>
#include <algorithm>
#include <utility>

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

QH_DEFINE_CLASS(TApplication, TComponent,
                StrProp("Title", &TApplication::Title, &TApplication::SetTitle))

QH_DEFINE_CLASS(TApplicationEvents, TComponent)

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

namespace {

TErrorBoxFunc& ErrorBoxOverride() {
    static TErrorBoxFunc func;
    return func;
}

} // namespace

void ShowErrorBox(HWND owner, const std::wstring& caption, const std::wstring& text, UINT flags) {
    if (ErrorBoxOverride()) {
        ErrorBoxOverride()(caption, text, flags);
        return;
    }
    MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
}

void SetErrorBoxOverride(TErrorBoxFunc func) {
    ErrorBoxOverride() = std::move(func);
}

void ReportException(std::exception_ptr error) {
    if (Application) {
        Application->HandleException(error);
        return;
    }
    // No application to report through: at least say it on the debugger.
    OutputDebugStringW(GbkToWide(ExceptionMessage(error)).c_str());
}

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
    HWND owner = GetActiveWindow();
    ShowErrorBox(owner ? owner : FHandle, caption, text, MB_OK | MB_ICONERROR);
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
    FHintWindow->ActivateHint(
        FHintControl->Hint(),
        {FHintPoint.x,
         FHintPoint.y + MulDiv(kHintBelowPointer, MonitorDpiAt(FHintPoint), kDesignDpi)});
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
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        if (wParam) Terminate();
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
