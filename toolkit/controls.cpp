#include "toolkit/controls.h"

#include "core/gbk.h"
#include "core/text.h"
#include "toolkit/actions.h"
#include "toolkit/exception_report.h"
#include "toolkit/forms.h"

#include <algorithm>
#include <map>
#include <utility>

namespace qh {

const TEnumInfo AlignEnum{"TAlign",
                          {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}};

QH_DEFINE_CLASS(TControl, TComponent,
                EnumProp("Align", AlignEnum, &TControl::Align, &TControl::SetAlign),
                IntProp("Left", &TControl::Left, &TControl::SetLeft),
                IntProp("Top", &TControl::Top, &TControl::SetTop),
                IntProp("Width", &TControl::Width, &TControl::SetWidth),
                IntProp("Height", &TControl::Height, &TControl::SetHeight),
                BoolProp("Visible", &TControl::Visible, &TControl::SetVisible),
                BoolProp("Enabled", &TControl::Enabled, &TControl::SetEnabled),
                IntProp("Color", &TControl::Color, &TControl::SetColor),
                ObjProp("Font", &TControl::Font, &TControl::SetFont),
                StrProp("Caption", &TControl::Caption, &TControl::SetCaption),
                StrProp("Hint", &TControl::Hint, &TControl::SetHint),
                BoolProp("ShowHint", &TControl::ShowHint, &TControl::SetShowHint),
                BoolProp("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint),
                BoolProp("ParentFont", &TControl::ParentFont, &TControl::SetParentFont),
                IntProp("Cursor", &TControl::Cursor, &TControl::SetCursor))
QH_DEFINE_CLASS(TWinControl, TControl,
                BoolProp("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop),
                IntProp("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder))
QH_DEFINE_CLASS(TGraphicControl, TControl)

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

// ---------------------------------------------------------------- TControl

TControl::TControl(TComponent* owner) : TComponent(owner), font_(std::make_unique<TFont>()) {
    WindowProc = [this](TMessage& m) { WndProc(m); };
    font_->OnChange = [this] { FontChanged(); };
}

TControl::~TControl() {
    Destroying();
    if (g_mouseControl == this) g_mouseControl = nullptr;
    if (Application) Application->ControlGone(this);
    if (parent_) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent == this) return;
    if (parent_) parent_->RemoveControl(this);
    if (parent) parent->InsertControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    Invalidate();
    left_ = left;
    top_ = top;
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    Invalidate();
    RequestAlign();
    if (parent_) parent_->ChildBoundsChanged();
}

void TControl::SetAlign(TAlign align) {
    if (align == align_) return;
    align_ = align;
    RequestAlign();
}

void TControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    Invalidate();
    visible_ = visible;
    Invalidate();
    Perform(CM_VISIBLECHANGED, visible);
    RequestAlign();
    if (parent_) parent_->ChildBoundsChanged();
}

void TControl::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Perform(CM_ENABLEDCHANGED);
    Invalidate();
}

void TControl::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    Perform(CM_COLORCHANGED);
    Invalidate();
}

void TControl::SetFont(TFont* font) {
    if (font && font != font_.get()) font_->Assign(*font);
}

void TControl::SetParentFont(bool value) {
    parentFont_ = value;
    if (value) TakeParentFont();
}

void TControl::TakeParentFont() {
    if (!parent_) return;
    takingParentFont_ = true;
    font_->Assign(*parent_->font_);
    takingParentFont_ = false;
}

void TControl::FontChanged() {
    if (!takingParentFont_) parentFont_ = false;
    Perform(CM_FONTCHANGED);
    Invalidate();
}

bool TControl::ShowHint() const {
    if (parentShowHint_ && parent_) return parent_->ShowHint();
    return showHint_;
}

void TControl::SetShowHint(bool show) {
    showHint_ = show;
    parentShowHint_ = false;
}

void TControl::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    if (auto* win = dynamic_cast<TWinControl*>(this); win && win->HandleAllocated())
        SetWindowTextW(win->handle_, GbkToWide(caption_).c_str());
    Perform(CM_TEXTCHANGED);
    Invalidate();
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam, 0};
    WindowProc(m);
    return m.Result;
}

void TControl::Invalidate() {
    if (parent_ && parent_->HandleAllocated()) {
        RECT r = BoundsRect();
        InvalidateRect(parent_->handle_, &r, TRUE);
    }
}

void TControl::Repaint() {
    Invalidate();
    if (parent_ && parent_->HandleAllocated()) UpdateWindow(parent_->handle_);
}

bool TControl::Showing() const {
    if (!visible_) return false;
    if (parent_) return parent_->Showing();
    auto* win = dynamic_cast<const TWinControl*>(this);
    return win && win->handle_ && IsWindowVisible(win->handle_);
}

POINT TControl::ClientToScreen(POINT p) const {
    if (auto* win = dynamic_cast<const TWinControl*>(this); win && win->handle_) {
        ::ClientToScreen(win->handle_, &p);
        return p;
    }
    if (parent_) return parent_->ClientToScreen({p.x + left_, p.y + top_});
    return p;
}

POINT TControl::ScreenToClient(POINT p) const {
    POINT origin = ClientToScreen({0, 0});
    return {p.x - origin.x, p.y - origin.y};
}

void TControl::Click() {
    if (OnClick)
        OnClick(this);
    else if (action_)
        action_->Execute();
}

void TControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == action_) action_ = nullptr;
}

void TControl::RequestAlign() {
    if (parent_ && align_ != alNone) parent_->Realign();
}

void TControl::WndProc(TMessage& m) {
    auto point = [&] {
        return POINT{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
    };
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
        POINT p = point();
        if (m.Msg == WM_LBUTTONDOWN) mouseDown_ = true;
        if (OnMouseDown) OnMouseDown(this, m.Msg == WM_LBUTTONDOWN ? mbLeft : mbRight, p.x, p.y);
        break;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
        POINT p = point();
        bool clicked = m.Msg == WM_LBUTTONUP && mouseDown_ && clicksOnMouseUp_ && p.x >= 0 &&
                       p.y >= 0 && p.x < width_ && p.y < height_;
        if (m.Msg == WM_LBUTTONUP) mouseDown_ = false;
        if (clicked) Click();
        if (OnMouseUp) OnMouseUp(this, m.Msg == WM_LBUTTONUP ? mbLeft : mbRight, p.x, p.y);
        break;
    }
    case WM_LBUTTONDBLCLK:
        if (OnDblClick) OnDblClick(this);
        break;
    case CM_MOUSEENTER:
        mouseInControl_ = true;
        if (OnMouseEnter) OnMouseEnter(this);
        return;
    case CM_MOUSELEAVE:
        mouseInControl_ = false;
        if (OnMouseLeave) OnMouseLeave(this);
        return;
    default:
        break;
    }
    DefaultHandler(m);
}

void TControl::DefaultHandler(TMessage&) {}

// ------------------------------------------------------------- TWinControl

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    Destroying();
    DestroyComponents();
    // Children that someone else owns lose their parent with us.
    for (TControl* child : controls_)
        child->parent_ = nullptr;
    controls_.clear();
    tabList_.clear();
    captureControl_ = nullptr;
    DestroyHandle();
}

TControl* TWinControl::Controls(int index) const {
    if (index < 0 || index >= ControlCount()) RaiseListIndexError(index);
    return controls_[static_cast<size_t>(index)];
}

TWinControl* TWinControl::FindControl(HWND window) {
    if (!window) return nullptr;
    return static_cast<TWinControl*>(GetPropW(window, kControlProp));
}

void TWinControl::InsertControl(TControl* control) {
    controls_.push_back(control);
    control->parent_ = this;
    if (control->parentFont_) control->TakeParentFont();
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
        tabList_.push_back(win);
        if (win->wantedTabOrder_ >= 0) win->SetTabOrder(std::exchange(win->wantedTabOrder_, -1));
        if (win->handle_) {
            if (handle_)
                ::SetParent(win->handle_, handle_);
            else
                win->DestroyHandle();
        } else if (handle_ && !HasState(csDestroying)) {
            win->CreateWnd();
        }
    }
    control->Invalidate();
    Realign();
    ChildBoundsChanged();
}

void TWinControl::RemoveControl(TControl* control) {
    control->Invalidate();
    if (captureControl_ == control) {
        captureControl_ = nullptr;
        if (handle_ && GetCapture() == handle_) ReleaseCapture();
    }
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), control), tabList_.end());
    control->parent_ = nullptr;
    if (!HasState(csDestroying)) {
        Realign();
        ChildBoundsChanged();
    }
}

HWND TWinControl::Handle() {
    if (!handle_) {
        if (parent_ && !parent_->HandleAllocated()) {
            parent_->Handle(); // makes ours too
            if (handle_) return handle_;
        }
        CreateWnd();
    }
    return handle_;
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
    if (tabStop_) params.Style |= WS_TABSTOP;
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
    defaultProc_ = known->second;
    static int nextId = 100;
    HMENU id = (params.Style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextId++))
                                         : nullptr;
    g_creating = this;
    HWND window = CreateWindowExW(params.ExStyle, params.ClassName.c_str(), params.Caption.c_str(),
                                  params.Style, params.X, params.Y, params.Width, params.Height,
                                  params.WndParent, id, instance, nullptr);
    g_creating = nullptr;
    if (!window) throw EOutOfResources(Format("无法创建窗口 %s", ClassName()));
    if (!handle_) {
        handle_ = window;
        SetPropW(window, kControlProp, this);
    }
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), FALSE);
    HandleCreated();
    for (TControl* child : std::vector<TControl*>(controls_))
        if (auto* win = dynamic_cast<TWinControl*>(child); win && !win->handle_) win->CreateWnd();
    Realign();
}

void TWinControl::DestroyHandle() {
    if (!handle_) return;
    HWND window = handle_;
    DestroyWindow(window);
    // WM_NCDESTROY cleared it; a window destroyed elsewhere may not have.
    if (handle_ == window) {
        RemovePropW(window, kControlProp);
        handle_ = nullptr;
    }
}

LRESULT CALLBACK TWinControl::StandardProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* control = static_cast<TWinControl*>(GetPropW(window, kControlProp));
    if (!control && g_creating) {
        control = g_creating;
        g_creating = nullptr;
        control->handle_ = window;
        SetPropW(window, kControlProp, control);
    }
    if (!control) {
        // A window of one of our classes that has lost its control.
        wchar_t name[256] = {};
        GetClassNameW(window, name, 256);
        auto it = ClassProcs().find(name);
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
        if (control->handle_ == window) control->handle_ = nullptr;
    }
    return m.Result;
}

void TWinControl::DefaultHandler(TMessage& m) {
    if (handle_ && defaultProc_)
        m.Result = CallWindowProcW(defaultProc_, handle_, m.Msg, m.WParam, m.LParam);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    bool same = left == Left() && top == Top() && width == Width() && height == Height();
    TControl::SetBounds(left, top, width, height);
    if (same) return;
    if (handle_)
        SetWindowPos(handle_, nullptr, Left(), Top(), Width(), Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    else
        Realign();
}

RECT TWinControl::ClientRect() const {
    RECT r{0, 0, Width(), Height()};
    if (handle_) GetClientRect(handle_, &r);
    return r;
}

void TWinControl::UpdateBoundsFromWindow() {
    RECT r;
    if (!GetWindowRect(handle_, &r)) return;
    if (GetWindowLongW(handle_, GWL_STYLE) & WS_CHILD)
        MapWindowPoints(nullptr, GetParent(handle_), reinterpret_cast<POINT*>(&r), 2);
    // Not through SetBounds: the window is already where it says.
    left_ = r.left;
    top_ = r.top;
    width_ = r.right - r.left;
    height_ = r.bottom - r.top;
}

void TWinControl::SetVisible(bool visible) {
    if (visible == Visible()) return;
    TControl::SetVisible(visible);
    if (handle_ && Parent()) ShowWindow(handle_, visible ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::SetEnabled(bool enabled) {
    if (enabled == Enabled()) return;
    if (handle_) EnableWindow(handle_, enabled);
    TControl::SetEnabled(enabled);
}

void TWinControl::Invalidate() {
    if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::Repaint() {
    if (handle_) {
        InvalidateRect(handle_, nullptr, TRUE);
        UpdateWindow(handle_);
    }
}

void TWinControl::Realign() {
    if (aligning_) return;
    aligning_ = true;
    RECT r = ClientRect();
    AdjustClientRect(r);
    try {
        AlignControls(r);
    } catch (...) {
        aligning_ = false;
        throw;
    }
    aligning_ = false;
}

void TWinControl::AlignControls(RECT& r) {
    for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
        for (TControl* c : std::vector<TControl*>(controls_)) {
            if (c->align_ != align || !c->visible_) continue;
            int w = c->width_, h = c->height_;
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

void TWinControl::SetFocus() {
    if (HWND h = Handle()) ::SetFocus(h);
}

bool TWinControl::Focused() const {
    return handle_ && GetFocus() == handle_;
}

void TWinControl::SetTabStop(bool tabStop) {
    tabStop_ = tabStop;
    if (handle_) {
        LONG style = GetWindowLongW(handle_, GWL_STYLE);
        style = tabStop ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
        SetWindowLongW(handle_, GWL_STYLE, style);
    }
}

int TWinControl::TabOrder() const {
    if (!Parent()) return wantedTabOrder_;
    const auto& list = Parent()->tabList_;
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TWinControl::SetTabOrder(int order) {
    if (!Parent()) {
        wantedTabOrder_ = std::max(order, -1);
        return;
    }
    auto& list = Parent()->tabList_;
    auto at = std::find(list.begin(), list.end(), this);
    if (at == list.end()) return;
    list.erase(at);
    // Past the end (or -1) means last.
    size_t place =
        order < 0 ? list.size() : std::min<size_t>(static_cast<size_t>(order), list.size());
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(place), this);
}

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->visible_ || !c->enabled_) return false;
    return true;
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
    for (TWinControl* child : tabList_) {
        list.push_back(child);
        child->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward,
                                          bool checkTabStop) const {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) return nullptr;
    const int count = static_cast<int>(list.size());
    int start = static_cast<int>(std::find(list.begin(), list.end(), current) - list.begin());
    // From outside the list the first step lands on the first (or last) one.
    if (start == count) start = goForward ? count - 1 : 0;
    for (int step = 1; step <= count; ++step) {
        int index = ((goForward ? start + step : start - step) % count + count) % count;
        TWinControl* candidate = list[static_cast<size_t>(index)];
        if ((!checkTabStop || candidate->tabStop_) && candidate->CanFocus()) return candidate;
    }
    return nullptr;
}

bool TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
    TWinControl* next = FindNextControl(current, goForward, checkTabStop);
    if (!next) return false;
    next->SetFocus();
    return true;
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
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (dynamic_cast<TWinControl*>(c) || !c->visible_) continue;
        if (p.x >= c->left_ && p.y >= c->top_ && p.x < c->left_ + c->width_ &&
            p.y < c->top_ + c->height_)
            return c;
    }
    return nullptr;
}

void TWinControl::Broadcast(TMessage& m) {
    for (TControl* c : std::vector<TControl*>(controls_)) {
        c->WindowProc(m);
        if (m.Result != 0) return;
    }
}

void TWinControl::FontChanged() {
    if (handle_)
        SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
    TControl::FontChanged();
    for (TControl* c : std::vector<TControl*>(controls_))
        if (c->parentFont_) c->TakeParentFont();
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::PaintControls(HDC dc) {
    for (TControl* c : std::vector<TControl*>(controls_)) {
        if (dynamic_cast<TWinControl*>(c) || !c->visible_ || c->width_ <= 0 || c->height_ <= 0)
            continue;
        int saved = SaveDC(dc);
        OffsetViewportOrgEx(dc, c->left_, c->top_, nullptr);
        IntersectClipRect(dc, 0, 0, c->width_, c->height_);
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        RestoreDC(dc, saved);
    }
}

bool TWinControl::RouteMouseToChild(TMessage& m) {
    POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
    TControl* target = captureControl_ ? captureControl_ : ControlAtPos(p);
    if (!target || (!target->enabled_ && !captureControl_)) return false;
    if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) {
        captureControl_ = target;
        SetCapture(handle_);
    }
    LPARAM local = MAKELPARAM(p.x - target->left_, p.y - target->top_);
    m.Result = target->Perform(m.Msg, m.WParam, local);
    if (m.Msg == WM_LBUTTONUP && captureControl_) {
        captureControl_ = nullptr;
        if (GetCapture() == handle_) ReleaseCapture();
    }
    return true;
}

void TWinControl::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT: {
        bool hasGraphic = std::any_of(controls_.begin(), controls_.end(), [](TControl* c) {
            return !dynamic_cast<TWinControl*>(c) && c->visible_;
        });
        bool own = defaultProc_ == DefWindowProcW;
        if (!hasGraphic && !own) break;
        PAINTSTRUCT ps{};
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        bool began = !dc;
        if (began) dc = BeginPaint(handle_, &ps);
        if (own)
            PaintWindow(dc);
        else
            CallWindowProcW(defaultProc_, handle_, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        PaintControls(dc);
        if (began) EndPaint(handle_, &ps);
        m.Result = 0;
        return;
    }
    case WM_ERASEBKGND:
        if (!erasesWithColor_ || defaultProc_ != DefWindowProcW) break;
        {
            RECT r;
            GetClientRect(handle_, &r);
            FillRect(reinterpret_cast<HDC>(m.WParam), &r, brush_.Get(Color()));
        }
        m.Result = 1;
        return;
    case WM_SIZE:
    case WM_MOVE:
        UpdateBoundsFromWindow();
        if (m.Msg == WM_SIZE) Realign();
        break;
    case WM_COMMAND:
        if (m.LParam) {
            if (TWinControl* child = FindControl(reinterpret_cast<HWND>(m.LParam));
                child && child != this) {
                m.Result = child->Perform(CN_COMMAND, m.WParam, m.LParam);
                return;
            }
        }
        break;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(m.LParam);
        if (TWinControl* child = header ? FindControl(header->hwndFrom) : nullptr;
            child && child != this) {
            m.Result = child->Perform(CN_NOTIFY, m.WParam, m.LParam);
            return;
        }
        break;
    }
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
        if (item && item->CtlType != ODT_MENU)
            if (TWinControl* child = FindControl(item->hwndItem); child && child != this) {
                m.Result = child->Perform(CN_DRAWITEM, m.WParam, m.LParam);
                return;
            }
        break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (TWinControl* child = FindControl(reinterpret_cast<HWND>(m.LParam));
            child && child != this) {
            m.Result = child->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
            return;
        }
        break;
    case CN_CTLCOLORSTATIC:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX: {
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        SetTextColor(dc, ColorToRGB(Font()->Color()));
        SetBkColor(dc, ColorToRGB(Color()));
        m.Result = reinterpret_cast<LRESULT>(brush_.Get(Color()));
        return;
    }
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(m.WParam) == handle_ && LOWORD(m.LParam) == HTCLIENT) {
            POINT p;
            GetCursorPos(&p);
            ::ScreenToClient(handle_, &p);
            TControl* c = ControlAtPos(p);
            if (!c) c = this;
            if (c->cursor_ != crDefault) {
                ::SetCursor(LoadCursorW(nullptr, SystemCursor(c->cursor_)));
                m.Result = TRUE;
                return;
            }
        }
        break;
    case WM_MOUSEMOVE: {
        POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
        TControl* over = captureControl_ ? captureControl_ : ControlAtPos(p);
        SetMouseControl(over ? over : this);
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, handle_, 0};
        TrackMouseEvent(&track);
        break;
    }
    case WM_MOUSELEAVE:
        if (g_mouseControl == this || (g_mouseControl && g_mouseControl->parent_ == this &&
                                       !dynamic_cast<TWinControl*>(g_mouseControl)))
            SetMouseControl(nullptr);
        break;
    case WM_CANCELMODE:
        captureControl_ = nullptr;
        break;
    case WM_SETFOCUS:
        for (TWinControl *child = this, *parent = Parent(); parent;
             child = parent, parent = parent->Parent())
            parent->ChildFocused(child);
        break;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
        Broadcast(m);
        return;
    default:
        break;
    }
    if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST && m.Msg != WM_MOUSEWHEEL &&
        RouteMouseToChild(m))
        return;
    TControl::WndProc(m);
}

// ---------------------------------------------------------- TGraphicControl

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

void TGraphicControl::WndProc(TMessage& m) {
    if (m.Msg == WM_PAINT) {
        if (m.WParam) Paint(reinterpret_cast<HDC>(m.WParam));
        return;
    }
    TControl::WndProc(m);
}

void TGraphicControl::Paint(HDC) {}

} // namespace qh
