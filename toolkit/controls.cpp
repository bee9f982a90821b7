#include "toolkit/controls.h"

#include "core/gbk.h"
#include "core/text.h"
#include "toolkit/actions.h"
#include "toolkit/exception_report.h"
#include "toolkit/application.h"
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
                BoolProp("ParentColor", &TControl::ParentColor, &TControl::SetParentColor),
                IntProp("Cursor", &TControl::Cursor, &TControl::SetCursor))

QH_DEFINE_CLASS(TGraphicControl, TControl)

TControl::TControl(TComponent* owner) : TComponent(owner), FFont(std::make_unique<TFont>()) {
    FWindowProc = std::make_shared<const TWndMethod>([this](TMessage& m) { WndProc(m); });
    FFont->OnChange = [this] { FontChanged(); };
}

TControl::~TControl() {
    Destroying();
    // Owned components go first, while the chain they may stand in is whole.
    DestroyComponents();
    ForgetMouseControl(this);
    if (Application) Application->ControlGone(this);
    if (FParent) FParent->RemoveControl(this);
}

TWindowProcToken TControl::FrontWindowProc(TFrontHandler handler) {
    const TWindowProcToken token = ++FLastToken;
    FFronts.push_back({token, FWindowProc});
    FWindowProc = std::make_shared<const TWndMethod>(
        [handler = std::move(handler), next = FWindowProc](TMessage& m) { handler(m, *next); });
    return token;
}

void TControl::RestoreWindowProc(TWindowProcToken token) {
    if (FFronts.empty() || FFronts.back().Token != token)
        throw EInvalidOperation("窗口过程的恢复次序不对");
    FWindowProc = std::move(FFronts.back().Previous);
    FFronts.pop_back();
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == FParent) return;
    if (parent == this) return;
    if (FParent) FParent->RemoveControl(this);
    if (parent) parent->InsertControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
    Invalidate();
    FLeft = left;
    FTop = top;
    FWidth = std::max(width, 0);
    FHeight = std::max(height, 0);
    Invalidate();
    RequestAlign();
    if (FParent) FParent->ChildBoundsChanged();
}

void TControl::SetAlign(TAlign align) {
    if (align == FAlign) return;
    FAlign = align;
    RequestAlign();
}

void TControl::SetVisible(bool visible) {
    if (visible == FVisible) return;
    Invalidate();
    FVisible = visible;
    Invalidate();
    Perform(CM_VISIBLECHANGED, visible);
    RequestAlign();
    if (FParent) FParent->ChildBoundsChanged();
}

void TControl::SetEnabled(bool enabled) {
    if (enabled == FEnabled) return;
    FEnabled = enabled;
    Perform(CM_ENABLEDCHANGED);
    Invalidate();
}

void TControl::SetColor(TColor color) {
    if (!FTakingParentColor) FParentColor = false;
    if (color == FColor) return;
    FColor = color;
    ColorChanged();
}

void TControl::ColorChanged() {
    Perform(CM_COLORCHANGED);
    Invalidate();
}

void TControl::SetParentColor(bool value) {
    FParentColor = value;
    if (value) TakeParentColor();
}

void TControl::TakeParentColor() {
    if (!FParent) return;
    FTakingParentColor = true;
    SetColor(FParent->FColor);
    FTakingParentColor = false;
}

void TControl::SetFont(TFont* font) {
    if (font && font != FFont.get()) FFont->Assign(*font);
}

void TControl::SetParentFont(bool value) {
    FParentFont = value;
    if (value) TakeParentFont();
}

void TControl::TakeParentFont() {
    if (!FParent) return;
    FTakingParentFont = true;
    FFont->Assign(*FParent->FFont);
    FTakingParentFont = false;
}

void TControl::FontChanged() {
    if (!FTakingParentFont) FParentFont = false;
    Perform(CM_FONTCHANGED);
    Invalidate();
}

bool TControl::ShowHint() const {
    if (FParentShowHint && FParent) return FParent->ShowHint();
    return FShowHint;
}

void TControl::SetShowHint(bool show) {
    FShowHint = show;
    FParentShowHint = false;
}

void TControl::SetCaption(const std::string& caption) {
    if (caption == FCaption) return;
    FCaption = caption;
    if (auto* win = dynamic_cast<TWinControl*>(this); win && win->HandleAllocated())
        SetWindowTextW(win->FHandle, GbkToWide(FCaption).c_str());
    Perform(CM_TEXTCHANGED);
    Invalidate();
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam, 0};
    WindowProc(m);
    return m.Result;
}

void TControl::Invalidate() {
    if (FParent && FParent->HandleAllocated()) {
        RECT r = BoundsRect();
        InvalidateRect(FParent->FHandle, &r, TRUE);
    }
}

void TControl::Repaint() {
    Invalidate();
    if (FParent && FParent->HandleAllocated()) UpdateWindow(FParent->FHandle);
}

bool TControl::Showing() const {
    if (!FVisible) return false;
    if (FParent) return FParent->Showing();
    auto* win = dynamic_cast<const TWinControl*>(this);
    return win && win->FHandle && IsWindowVisible(win->FHandle);
}

POINT TControl::ClientToScreen(POINT p) const {
    if (auto* win = dynamic_cast<const TWinControl*>(this); win && win->FHandle) {
        ::ClientToScreen(win->FHandle, &p);
        return p;
    }
    if (FParent) return FParent->ClientToScreen({p.x + FLeft, p.y + FTop});
    return p;
}

POINT TControl::ScreenToClient(POINT p) const {
    POINT origin = ClientToScreen({0, 0});
    return {p.x - origin.x, p.y - origin.y};
}

void TControl::Click() {
    if (OnClick)
        OnClick(this);
    else if (FAction)
        FAction->Execute();
}

void TControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FAction) FAction = nullptr;
}

void TControl::RequestAlign() {
    if (FParent && FAlign != alNone) FParent->Realign();
}

void TControl::WndProc(TMessage& m) {
    auto point = [&] {
        return POINT{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
    };
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
        POINT p = point();
        if (m.Msg == WM_LBUTTONDOWN) FMouseDown = true;
        if (OnMouseDown) OnMouseDown(this, m.Msg == WM_LBUTTONDOWN ? mbLeft : mbRight, p.x, p.y);
        break;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
        POINT p = point();
        bool clicked = m.Msg == WM_LBUTTONUP && FMouseDown && FClicksOnMouseUp && p.x >= 0 &&
                       p.y >= 0 && p.x < FWidth && p.y < FHeight;
        if (m.Msg == WM_LBUTTONUP) FMouseDown = false;
        if (clicked) Click();
        if (OnMouseUp) OnMouseUp(this, m.Msg == WM_LBUTTONUP ? mbLeft : mbRight, p.x, p.y);
        break;
    }
    case WM_LBUTTONDBLCLK:
        if (OnDblClick) OnDblClick(this);
        break;
    case CM_MOUSEENTER:
        FMouseInControl = true;
        if (OnMouseEnter) OnMouseEnter(this);
        return;
    case CM_MOUSELEAVE:
        FMouseInControl = false;
        if (OnMouseLeave) OnMouseLeave(this);
        return;
    default:
        break;
    }
    DefaultHandler(m);
}

void TControl::DefaultHandler(TMessage&) {}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

void TGraphicControl::WndProc(TMessage& m) {
    if (m.Msg == WM_PAINT) {
        if (m.WParam) Paint(reinterpret_cast<HDC>(m.WParam));
        return;
    }
    TControl::WndProc(m);
}

void TGraphicControl::Paint(HDC) {}

bool TGraphicControl::TrackPress(TMessage& m) {
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (Enabled()) {
            FPressed = true;
            Repaint();
        }
        return false;
    case WM_LBUTTONUP: {
        const bool wasPressed = FPressed;
        FPressed = false;
        const int x = static_cast<short>(LOWORD(m.LParam)),
                  y = static_cast<short>(HIWORD(m.LParam));
        Repaint();
        TGraphicControl::WndProc(m);
        if (wasPressed && Enabled() && x >= 0 && y >= 0 && x < Width() && y < Height()) Click();
        return true;
    }
    case CM_MOUSELEAVE:
        FPressed = false;
        return false;
    default:
        return false;
    }
}

} // namespace qh
