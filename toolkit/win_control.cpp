#include "toolkit/controls.h"

#include "core/gbk.h"
#include "core/text.h"
#include "toolkit/actions.h"
#include "toolkit/exception_report.h"
#include "toolkit/win_handle.h"

#include <algorithm>
#include <map>
#include <utility>

namespace qh {

QH_DEFINE_CLASS(TWinControl, TControl,
                BoolProp("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop),
                IntProp("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder),
                BoolProp("DoubleBuffered", &TWinControl::DoubleBuffered,
                         &TWinControl::SetDoubleBuffered))

namespace {

const wchar_t* const kControlProp = L"QhControl";
// The control whose window CreateWindowEx is making: its first messages
// arrive before the window can be tied to it.
thread_local TWinControl* g_creating = nullptr;
thread_local int g_handlerDepth = 0;
// The control the mouse pointer was last seen over.
TControl* g_mouseControl = nullptr;

std::map<std::wstring, WNDPROC>& ClassProcs() {
    static std::map<std::wstring, WNDPROC> procs;
    return procs;
}

void SetMouseControl(TControl* control) {
    if (control == g_mouseControl) return;
    TControl* old = g_mouseControl;
    g_mouseControl = control;
    if (old) old->Perform(CM_MOUSELEAVE);
    if (control && control == g_mouseControl) control->Perform(CM_MOUSEENTER);
}

LPCWSTR SystemCursor(TCursor cursor) {
    switch (cursor) {
    case crHandPoint:
        return IDC_HAND;
    case crIBeam:
        return IDC_IBEAM;
    default:
        return IDC_ARROW;
    }
}

} // namespace

bool InsideMessageHandler() {
    return g_handlerDepth > 0;
}

void ForgetMouseControl(const TControl* control) {
    if (g_mouseControl == control) g_mouseControl = nullptr;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    Destroying();
    DestroyComponents();
    // Children that someone else owns lose their parent with us.
    for (TControl* child : FControls)
        child->FParent = nullptr;
    FControls.clear();
    FTabList.clear();
    FCaptureControl = nullptr;
    DestroyHandle();
}

TControl* TWinControl::Controls(int index) const {
    if (index < 0 || index >= ControlCount()) RaiseListIndexError(index);
    return FControls[static_cast<size_t>(index)];
}

TWinControl* TWinControl::FindControl(HWND window) {
    if (!window) return nullptr;
    return static_cast<TWinControl*>(GetPropW(window, kControlProp));
}

void TWinControl::InsertControl(TControl* control) {
    FControls.push_back(control);
    control->FParent = this;
    if (control->FParentFont) control->TakeParentFont();
    if (control->FParentColor) control->TakeParentColor();
    // Before its window is made, so that it is made at its size.
    if (control->FFiguresDpi != CurrentDpi())
        control->ChangeScale(control->FFiguresDpi, CurrentDpi());
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
        FTabList.push_back(win);
        if (win->FWantedTabOrder >= 0) win->SetTabOrder(std::exchange(win->FWantedTabOrder, -1));
        if (win->FHandle) {
            if (FHandle)
                ::SetParent(win->FHandle, FHandle);
            else
                win->DestroyHandle();
        } else if (FHandle && !HasState(csDestroying)) {
            win->CreateWnd();
        }
    }
    control->Invalidate();
    Realign();
    ChildBoundsChanged();
}

void TWinControl::RemoveControl(TControl* control) {
    control->Invalidate();
    if (FCaptureControl == control) {
        FCaptureControl = nullptr;
        if (FHandle && GetCapture() == FHandle) ReleaseCapture();
    }
    FControls.erase(std::remove(FControls.begin(), FControls.end(), control), FControls.end());
    FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), control), FTabList.end());
    control->FParent = nullptr;
    if (!HasState(csDestroying)) {
        Realign();
        ChildBoundsChanged();
    }
}

HWND TWinControl::Handle() {
    if (!FHandle) {
        if (FParent && !FParent->HandleAllocated()) {
            FParent->Handle(); // makes ours too
            if (FHandle) return FHandle;
        }
        CreateWnd();
    }
    return FHandle;
}

void TWinControl::CreateParams(TCreateParams& params) {
    params.ClassName = GbkToWide(ClassName());
    params.Caption = GbkToWide(Caption());
    params.X = Left();
    params.Y = Top();
    params.Width = Width();
    params.Height = Height();
    if (Parent()) {
        params.Style = WS_CHILD | WS_CLIPSIBLINGS;
        params.WndParent = Parent()->Handle();
        if (Visible()) params.Style |= WS_VISIBLE;
    } else {
        params.Style = WS_POPUP;
    }
    if (!Enabled()) params.Style |= WS_DISABLED;
    if (FTabStop) params.Style |= WS_TABSTOP;
}

void TWinControl::CreateWnd() {
    TCreateParams params;
    CreateParams(params);
    if (params.BaseClass.empty()) params.Style |= WS_CLIPCHILDREN;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    auto& procs = ClassProcs();
    auto known = procs.find(params.ClassName);
    if (known == procs.end()) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        WNDPROC base = DefWindowProcW;
        if (!params.BaseClass.empty()) {
            if (!GetClassInfoExW(nullptr, params.BaseClass.c_str(), &wc))
                throw EOutOfResources(
                    Format("窗口类 %s 不存在", WideToGbk(params.BaseClass).c_str()));
            base = wc.lpfnWndProc;
            wc.style &= ~CS_GLOBALCLASS;
        } else {
            wc.style = params.ClassStyle;
            wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
            wc.hIcon = LoadIconW(instance, L"MAINICON");
        }
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = StandardProc;
        wc.hInstance = instance;
        wc.lpszClassName = params.ClassName.c_str();
        if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            throw EOutOfResources(Format("无法注册窗口类 %s", WideToGbk(params.ClassName).c_str()));
        known = procs.emplace(params.ClassName, base).first;
    }
    FDefaultProc = known->second;
    static int nextId = 100;
    HMENU id = (params.Style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextId++))
                                         : nullptr;
    g_creating = this;
    HWND window = CreateWindowExW(params.ExStyle, params.ClassName.c_str(), params.Caption.c_str(),
                                  params.Style, params.X, params.Y, params.Width, params.Height,
                                  params.WndParent, id, instance, nullptr);
    g_creating = nullptr;
    if (!window) throw EOutOfResources(Format("无法创建窗口 %s", ClassName()));
    if (!FHandle) {
        FHandle = window;
        SetPropW(window, kControlProp, this);
    }
    SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), FALSE);
    HandleCreated();
    for (TControl* child : std::vector<TControl*>(FControls))
        if (auto* win = dynamic_cast<TWinControl*>(child); win && !win->FHandle) win->CreateWnd();
    Realign();
}

void TWinControl::DestroyHandle() {
    if (!FHandle) return;
    HWND window = FHandle;
    DestroyWindow(window);
    // WM_NCDESTROY cleared it; a window destroyed elsewhere may not have.
    if (FHandle == window) {
        RemovePropW(window, kControlProp);
        FHandle = nullptr;
    }
}

void TWinControl::RecreateWnd() {
    if (!HandleAllocated()) return;
    DestroyHandle();
    HandleNeeded();
}

LRESULT CALLBACK TWinControl::StandardProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* control = static_cast<TWinControl*>(GetPropW(window, kControlProp));
    if (!control && g_creating) {
        control = g_creating;
        g_creating = nullptr;
        control->FHandle = window;
        SetPropW(window, kControlProp, control);
    }
    if (!control) {
        // A window of one of our classes that has lost its control.
        auto it = ClassProcs().find(WindowClassName(window));
        WNDPROC base = it != ClassProcs().end() ? it->second : DefWindowProcW;
        return CallWindowProcW(base, window, msg, wParam, lParam);
    }
    TMessage m{msg, wParam, lParam, 0};
    ++g_handlerDepth;
    try {
        control->WindowProc(m);
    } catch (...) {
        ReportException(std::current_exception());
    }
    --g_handlerDepth;
    if (msg == WM_NCDESTROY) {
        RemovePropW(window, kControlProp);
        if (control->FHandle == window) control->FHandle = nullptr;
    }
    return m.Result;
}

void TWinControl::DefaultHandler(TMessage& m) {
    if (FHandle && FDefaultProc)
        m.Result = CallWindowProcW(FDefaultProc, FHandle, m.Msg, m.WParam, m.LParam);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    bool same = left == Left() && top == Top() && width == Width() && height == Height();
    TControl::SetBounds(left, top, width, height);
    if (same) return;
    if (FHandle)
        SetWindowPos(FHandle, nullptr, Left(), Top(), Width(), Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    else
        Realign();
}

RECT TWinControl::ClientRect() const {
    RECT r{0, 0, Width(), Height()};
    if (FHandle) GetClientRect(FHandle, &r);
    return r;
}

void TWinControl::UpdateBoundsFromWindow() {
    RECT r;
    if (!GetWindowRect(FHandle, &r)) return;
    if (GetWindowLongW(FHandle, GWL_STYLE) & WS_CHILD)
        MapWindowPoints(nullptr, GetParent(FHandle), reinterpret_cast<POINT*>(&r), 2);
    // Not through SetBounds: the window is already where it says.
    FLeft = r.left;
    FTop = r.top;
    FWidth = r.right - r.left;
    FHeight = r.bottom - r.top;
}

void TWinControl::SetVisible(bool visible) {
    if (visible == Visible()) return;
    TControl::SetVisible(visible);
    if (FHandle && Parent()) ShowWindow(FHandle, visible ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::SetEnabled(bool enabled) {
    if (enabled == Enabled()) return;
    if (FHandle) EnableWindow(FHandle, enabled);
    TControl::SetEnabled(enabled);
}

void TWinControl::Invalidate() {
    if (FHandle) InvalidateRect(FHandle, nullptr, TRUE);
}

void TWinControl::Repaint() {
    if (FHandle) {
        InvalidateRect(FHandle, nullptr, TRUE);
        UpdateWindow(FHandle);
    }
}

void TWinControl::Realign() {
    if (FAligning) return;
    FAligning = true;
    RECT r = ClientRect();
    AdjustClientRect(r);
    try {
        AlignControls(r);
    } catch (...) {
        FAligning = false;
        throw;
    }
    FAligning = false;
}

void TWinControl::AlignControls(RECT& r) {
    for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
        for (TControl* c : std::vector<TControl*>(FControls)) {
            if (c->FAlign != align || !c->FVisible) continue;
            int w = c->FWidth, h = c->FHeight;
            switch (align) {
            case alTop:
                c->SetBounds(r.left, r.top, r.right - r.left, h);
                r.top += h;
                break;
            case alBottom:
                r.bottom -= h;
                c->SetBounds(r.left, r.bottom, r.right - r.left, h);
                break;
            case alLeft:
                c->SetBounds(r.left, r.top, w, r.bottom - r.top);
                r.left += w;
                break;
            case alRight:
                r.right -= w;
                c->SetBounds(r.right, r.top, w, r.bottom - r.top);
                break;
            default:
                c->SetBounds(r.left, r.top, std::max<int>(r.right - r.left, 0),
                             std::max<int>(r.bottom - r.top, 0));
                break;
            }
        }
    }
}

bool TWinControl::PreProcessMessage(MSG&) {
    return false;
}

TWinControl* TWinControl::FindOwningControl(HWND window) {
    for (; window; window = GetParent(window)) {
        if (TWinControl* control = FindControl(window)) return control;
        if (!(GetWindowLongW(window, GWL_STYLE) & WS_CHILD)) break;
    }
    return nullptr;
}

TControl* TWinControl::ControlAtPos(POINT p) const {
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* c = *it;
        if (dynamic_cast<TWinControl*>(c) || !c->FVisible) continue;
        if (p.x >= c->FLeft && p.y >= c->FTop && p.x < c->FLeft + c->FWidth &&
            p.y < c->FTop + c->FHeight)
            return c;
    }
    return nullptr;
}

void TWinControl::Broadcast(TMessage& m) {
    for (TControl* c : std::vector<TControl*>(FControls)) {
        c->WindowProc(m);
        if (m.Result != 0) return;
    }
}

void TWinControl::FontChanged() {
    if (FHandle)
        SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
    TControl::FontChanged();
    for (TControl* c : std::vector<TControl*>(FControls))
        if (c->FParentFont) c->TakeParentFont();
}

void TWinControl::ColorChanged() {
    TControl::ColorChanged();
    for (TControl* c : std::vector<TControl*>(FControls))
        if (c->FParentColor) c->TakeParentColor();
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::PaintControls(HDC dc) {
    for (TControl* c : std::vector<TControl*>(FControls)) {
        if (dynamic_cast<TWinControl*>(c) || !c->FVisible || c->FWidth <= 0 || c->FHeight <= 0)
            continue;
        int saved = SaveDC(dc);
        OffsetViewportOrgEx(dc, c->FLeft, c->FTop, nullptr);
        IntersectClipRect(dc, 0, 0, c->FWidth, c->FHeight);
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        RestoreDC(dc, saved);
    }
}

bool TWinControl::RouteMouseToChild(TMessage& m) {
    POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
    TControl* target = FCaptureControl ? FCaptureControl : ControlAtPos(p);
    if (!target || (!target->FEnabled && !FCaptureControl)) return false;
    if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) {
        FCaptureControl = target;
        SetCapture(FHandle);
    }
    LPARAM local = MAKELPARAM(p.x - target->FLeft, p.y - target->FTop);
    m.Result = target->Perform(m.Msg, m.WParam, local);
    if (m.Msg == WM_LBUTTONUP && FCaptureControl) {
        FCaptureControl = nullptr;
        if (GetCapture() == FHandle) ReleaseCapture();
    }
    return true;
}

void TWinControl::SetDoubleBuffered(bool value) {
    if (value == FDoubleBuffered) return;
    FDoubleBuffered = value;
    Invalidate();
}

void TWinControl::PaintLayers(HDC dc, bool own) {
    if (own)
        PaintWindow(dc);
    else
        CallWindowProcW(FDefaultProc, FHandle, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    PaintControls(dc);
}

void TWinControl::PaintBuffered(HDC dc, bool own) {
    RECT r;
    GetClientRect(FHandle, &r);
    if (r.right <= 0 || r.bottom <= 0) return;
    TMemoryDC memory(dc);
    TBitmapHandle picture(CreateCompatibleBitmap(dc, r.right, r.bottom));
    if (!memory.Get() || !picture) {
        PaintLayers(dc, own); // no memory for the picture: paint as usual
        return;
    }
    TSelectObject select(memory.Get(), picture.Get());
    FErasingBuffer = true;
    TMessage erase{WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory.Get()), 0, 0};
    WindowProc(erase);
    FErasingBuffer = false;
    PaintLayers(memory.Get(), own);
    BitBlt(dc, 0, 0, r.right, r.bottom, memory.Get(), 0, 0, SRCCOPY);
}

void TWinControl::WndProc(TMessage& m) {
    if (AnswerMessage(m)) return;
    if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST && m.Msg != WM_MOUSEWHEEL &&
        RouteMouseToChild(m))
        return;
    TControl::WndProc(m);
}

bool TWinControl::AnswerMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT:
        return PaintMessage(m);
    case WM_ERASEBKGND:
        return EraseMessage(m);
    case WM_SIZE:
    case WM_MOVE:
        UpdateBoundsFromWindow();
        if (m.Msg == WM_SIZE) Realign();
        return false;
    case WM_COMMAND:
        return m.LParam && ReflectToChild(reinterpret_cast<HWND>(m.LParam), CN_COMMAND, m);
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(m.LParam);
        return header && ReflectToChild(header->hwndFrom, CN_NOTIFY, m);
    }
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
        return item && item->CtlType != ODT_MENU && ReflectToChild(item->hwndItem, CN_DRAWITEM, m);
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_HSCROLL:
    case WM_VSCROLL:
        return ReflectToChild(reinterpret_cast<HWND>(m.LParam), CN_BASE + m.Msg, m);
    case CN_CTLCOLORSTATIC:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX: {
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        SetTextColor(dc, ColorToRGB(Font()->Color()));
        SetBkColor(dc, ColorToRGB(Color()));
        m.Result = reinterpret_cast<LRESULT>(FBrush.Get(Color()));
        return true;
    }
    case WM_SETCURSOR:
        return SetCursorMessage(m);
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
        FollowMouse(m);
        return false;
    case WM_CANCELMODE:
        FCaptureControl = nullptr;
        return false;
    case WM_SETFOCUS:
        for (TWinControl *child = this, *parent = Parent(); parent;
             child = parent, parent = parent->Parent())
            parent->ChildFocused(child);
        return false;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
        Broadcast(m);
        return true;
    default:
        return false;
    }
}

bool TWinControl::PaintMessage(TMessage& m) {
    bool hasGraphic = std::any_of(FControls.begin(), FControls.end(), [](TControl* c) {
        return !dynamic_cast<TWinControl*>(c) && c->FVisible;
    });
    bool own = FDefaultProc == DefWindowProcW;
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    bool began = !dc;
    if (!hasGraphic && !own && !(FDoubleBuffered && began)) return false;
    PAINTSTRUCT ps{};
    if (began) dc = BeginPaint(FHandle, &ps);
    if (FDoubleBuffered && began)
        PaintBuffered(dc, own);
    else
        PaintLayers(dc, own);
    if (began) EndPaint(FHandle, &ps);
    m.Result = 0;
    return true;
}

bool TWinControl::EraseMessage(TMessage& m) {
    // The memory picture gets the background when it is painted.
    if (FDoubleBuffered && !FErasingBuffer) {
        m.Result = 1;
        return true;
    }
    if (!FErasesWithColor || FDefaultProc != DefWindowProcW) return false;
    RECT r;
    GetClientRect(FHandle, &r);
    FillRect(reinterpret_cast<HDC>(m.WParam), &r, FBrush.Get(Color()));
    m.Result = 1;
    return true;
}

bool TWinControl::ReflectToChild(HWND window, UINT notification, TMessage& m) {
    TWinControl* child = FindControl(window);
    if (!child || child == this) return false;
    m.Result = child->Perform(notification, m.WParam, m.LParam);
    return true;
}

bool TWinControl::SetCursorMessage(TMessage& m) {
    if (reinterpret_cast<HWND>(m.WParam) != FHandle || LOWORD(m.LParam) != HTCLIENT) return false;
    POINT p;
    GetCursorPos(&p);
    ::ScreenToClient(FHandle, &p);
    TControl* c = ControlAtPos(p);
    if (!c) c = this;
    if (c->FCursor == crDefault) return false;
    ::SetCursor(LoadCursorW(nullptr, SystemCursor(c->FCursor)));
    m.Result = TRUE;
    return true;
}

void TWinControl::FollowMouse(const TMessage& m) {
    if (m.Msg == WM_MOUSELEAVE) {
        if (g_mouseControl == this || (g_mouseControl && g_mouseControl->FParent == this &&
                                       !dynamic_cast<TWinControl*>(g_mouseControl)))
            SetMouseControl(nullptr);
        return;
    }
    POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
    TControl* over = FCaptureControl ? FCaptureControl : ControlAtPos(p);
    SetMouseControl(over ? over : this);
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, FHandle, 0};
    TrackMouseEvent(&track);
}

} // namespace qh
