// The skinned frame's messages: which ones it takes, in which state of the
// window, and the small handler for each.
#include "skin/engine/frame/win_skin_form.h"

#include "skin/engine/menus/win_skin_menu.h"
#include "skin/engine/skin_manage.h"
#include "skin/render/frame_styles.h"
#include "toolkit/dpi.h"

#include <algorithm>
#include <iterator>

namespace qh {

namespace {

POINT ScreenPointOf(LPARAM lParam) {
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

// The user's minimise and maximise animation, switched off only while our
// own command runs and put back right after it.
void WithoutAnimation(HWND window, WPARAM command) {
    ANIMATIONINFO info{};
    info.cbSize = sizeof(info);
    const bool known = SystemParametersInfoW(SPI_GETANIMATION, sizeof(info), &info, 0) != FALSE;
    const int previous = info.iMinAnimate;
    if (known && previous) {
        info.iMinAnimate = 0;
        SystemParametersInfoW(SPI_SETANIMATION, sizeof(info), &info, 0);
    }
    SendMessageW(window, WM_SYSCOMMAND, command, 0);
    if (known && previous) {
        info.iMinAnimate = previous;
        SystemParametersInfoW(SPI_SETANIMATION, sizeof(info), &info, 0);
    }
}

} // namespace

LRESULT TWinSkinForm::CallOld(UINT msg, WPARAM wParam, LPARAM lParam) {
    return FSubclass.CallNext(msg, wParam, lParam);
}

LRESULT TWinSkinForm::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    using THandler = LRESULT (TWinSkinForm::*)(UINT, WPARAM, LPARAM);
    struct TRoute {
        UINT Msg;
        THandler Handler;
    };
    // Every dressed window.
    static constexpr TRoute kAlways[] = {
        {WM_SKINQUERY, &TWinSkinForm::OnSkinQuery},
        {WM_NCDESTROY, &TWinSkinForm::OnNcDestroy},
        {WM_STYLECHANGED, &TWinSkinForm::OnStyleChanged},
        {WM_ERASEBKGND, &TWinSkinForm::OnBackground},
        {WM_CTLCOLORSTATIC, &TWinSkinForm::OnBackground},
        {WM_CTLCOLORBTN, &TWinSkinForm::OnBackground},
        {WM_MEASUREITEM, &TWinSkinForm::OnMenuItem},
        {WM_DRAWITEM, &TWinSkinForm::OnMenuItem},
    };
    // A window whose frame the skin paints.
    static constexpr TRoute kFramed[] = {
        {WM_SKINATTACHED, &TWinSkinForm::OnSkinAttached},
        {WM_ACTIVATE, &TWinSkinForm::OnActivate},
        {WM_SHOWWINDOW, &TWinSkinForm::OnShowWindow},
        {WM_SIZE, &TWinSkinForm::OnSize},
        {WM_GETMINMAXINFO, &TWinSkinForm::OnGetMinMaxInfo},
        {WM_WINDOWPOSCHANGED, &TWinSkinForm::OnWindowPosChanged},
        {WM_SYSCOMMAND, &TWinSkinForm::OnSysCommand},
        {WM_COMMAND, &TWinSkinForm::OnCommand},
        {WM_NCACTIVATE, &TWinSkinForm::OnNcActivate},
        {CM_MENUCHANGED, &TWinSkinForm::OnMenuChanged},
        {WM_MENUSELECT, &TWinSkinForm::OnMenuSelect},
        {WM_DPICHANGED, &TWinSkinForm::OnDpiChanged},
    };
    // ... while the skin's frame is what shows.
    static constexpr TRoute kNonClient[] = {
        {WM_NCCALCSIZE, &TWinSkinForm::OnNcCalcSize},
        {WM_NCHITTEST, &TWinSkinForm::OnNcHitTest},
        {WM_NCPAINT, &TWinSkinForm::OnNcPaint},
        {WM_NCMOUSEMOVE, &TWinSkinForm::OnNcMouseMove},
        {WM_NCLBUTTONDOWN, &TWinSkinForm::OnNcLButtonDown},
        {WM_NCLBUTTONUP, &TWinSkinForm::OnNcLButtonUp},
        {WM_NCRBUTTONDOWN, &TWinSkinForm::OnNcRButtonDown},
        {WM_NCLBUTTONDBLCLK, &TWinSkinForm::OnNcLButtonDblClk},
        {WM_SKINREFRESHFRAME, &TWinSkinForm::OnSkinRefreshFrame},
    };
    auto find = [msg](const auto& table) -> THandler {
        const auto* found = std::find_if(std::begin(table), std::end(table),
                                         [msg](const TRoute& route) { return route.Msg == msg; });
        return found == std::end(table) ? nullptr : found->Handler;
    };

    if (THandler handler = find(kAlways)) return (this->*handler)(msg, wParam, lParam);
    if (!FFrameSkinned) return CallOld(msg, wParam, lParam);
    const LONG style = GetWindowLongW(FWindow, GWL_STYLE);
    if ((style & WS_CHILD) && FMdiKind != TMdiKind::Child) return CallOld(msg, wParam, lParam);
    if (THandler handler = find(kFramed)) return (this->*handler)(msg, wParam, lParam);
    if (Minimized() || MdiChildNotNormal() || FFrameState == TFrameState::New)
        return CallOld(msg, wParam, lParam);
    if (THandler handler = find(kNonClient)) return (this->*handler)(msg, wParam, lParam);
    return CallOld(msg, wParam, lParam);
}

LRESULT TWinSkinForm::OnSkinQuery(UINT, WPARAM, LPARAM) {
    return 1;
}

LRESULT TWinSkinForm::OnNcDestroy(UINT msg, WPARAM wParam, LPARAM lParam) {
    NcDestroy();
    return CallOld(msg, wParam, lParam);
}

LRESULT TWinSkinForm::OnStyleChanged(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (wParam == static_cast<WPARAM>(GWL_STYLE)) FWindowStyle = GetWindowLongW(FWindow, GWL_STYLE);
    return CallOld(msg, wParam, lParam);
}

// A window without a form gets the skin's face colour behind itself and
// its static texts and buttons.
LRESULT TWinSkinForm::OnBackground(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = CallOld(msg, wParam, lParam);
    if (FForm || !FSkinData || !FSkinData->FaceBrush) return result;
    HDC dc = reinterpret_cast<HDC>(wParam);
    HBRUSH brush = reinterpret_cast<HBRUSH>(FSkinData->FaceBrush->Handle());
    if (!brush) return result;
    if (msg == WM_ERASEBKGND) {
        RECT client{};
        GetClientRect(FWindow, &client);
        FillRect(dc, &client, brush);
        return 1;
    }
    SetBkMode(dc, TRANSPARENT);
    return msg == WM_CTLCOLORSTATIC ? reinterpret_cast<LRESULT>(brush) : result;
}

// The items of a window's own menu in the painted bar's drop-downs.
LRESULT TWinSkinForm::OnMenuItem(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (FMenuBar && FSkinData) {
        const TRawOwnerDrawMenu& items = FMenuBar->RawItems();
        const bool drawn =
            msg == WM_MEASUREITEM
                ? items.Measure(Skin(), FDpi, *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))
                : items.Draw(Skin(), FDpi, *reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        if (drawn) return TRUE;
    }
    return CallOld(msg, wParam, lParam);
}

LRESULT TWinSkinForm::OnSkinAttached(UINT, WPARAM, LPARAM) {
    Attached();
    return 0;
}

LRESULT TWinSkinForm::OnActivate(UINT msg, WPARAM wParam, LPARAM lParam) {
    FActive = LOWORD(wParam) != WA_INACTIVE;
    FButtons.NoteActivation(FActive);
    return CallOld(msg, wParam, lParam);
}

LRESULT TWinSkinForm::OnShowWindow(UINT msg, WPARAM wParam, LPARAM lParam) {
    // Hidden or shown again, nothing is under the pointer any more.
    FButtons.Reset();
    return CallOld(msg, wParam, lParam);
}

LRESULT TWinSkinForm::OnSize(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = CallOld(msg, wParam, lParam);
    // Minimised, maximised or restored: the buttons moved under the pointer.
    if (wParam != SIZE_RESTORED || FShowState != TShowState::Normal) FButtons.Reset();
    if (wParam == SIZE_MINIMIZED) return result;
    FMdi.ChildSized(wParam);
    if (FMdiKind == TMdiKind::Child &&
        ((FManager && FManager->MdiMaximized()) || wParam != SIZE_RESTORED))
        return result;
    if (FFrameState == TFrameState::Active || FFrameState == TFrameState::Refreshing) FPainter.BuildRegion();
    return result;
}

LRESULT TWinSkinForm::OnGetMinMaxInfo(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = CallOld(msg, wParam, lParam);
    RefreshShowState();
    if (Minimized())
        ApplyFrameStyles(true);
    else if (FFrameState != TFrameState::New &&
             (FMdiKind != TMdiKind::Child || FShowState == TShowState::Normal))
        ApplyFrameStyles(false);
    if (FBorderKind == TBorderKind::Sizeable) {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
    }
    return result;
}

LRESULT TWinSkinForm::OnWindowPosChanged(UINT msg, WPARAM wParam, LPARAM lParam) {
    const TShowState before = FShowState;
    RefreshShowState();
    const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
    if (before != FShowState || (pos->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW))) FButtons.Reset();
    return CallOld(msg, wParam, lParam);
}

LRESULT TWinSkinForm::OnSysCommand(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (wParam & 0xFFF0) {
    case SC_KEYMENU:
        // Alt alone, or Alt and a bar caption's key, does not enter the
        // system's menu mode over the skinned frame: a form's bar opens
        // by the class library's dialog-character notification. A window
        // without a form hears of no such thing, so its bar opens here:
        // the caption's key opens that drop-down, Alt alone or F10 the first.
        if (!FMenuMode && !GetCapture() && lParam != ' ' && lParam != '-') {
            TMenuBtn* button =
                FMenuBar ? (lParam == 0 ? FMenuBar->FirstEnabledButton()
                                        : FMenuBar->ButtonForKey(static_cast<wchar_t>(lParam)))
                         : nullptr;
            if (lParam != 0 && !button) break;
            if (button && !FForm) FMenuBar->PressButton(*button);
            return 1;
        }
        break;
    case SC_MINIMIZE:
        FShowState = TShowState::Minimized;
        if (FMdiKind == TMdiKind::Child) ApplyFrameStyles(true);
        break;
    case SC_MAXIMIZE:
        FShowState = TShowState::Maximized;
        break;
    case SC_RESTORE:
        FShowState = TShowState::Normal;
        if (FMdiKind == TMdiKind::Child) ApplyFrameStyles(false);
        break;
    default:
        break;
    }
    return CallOld(msg, wParam, lParam);
}

// The system menu's commands reach a window as commands when its menu is
// tracked for it: they go on as the system commands they are.
LRESULT TWinSkinForm::OnCommand(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (wParam & 0xFFF0) {
    case SC_SIZE:
    case SC_MOVE:
    case SC_MINIMIZE:
    case SC_MAXIMIZE:
    case SC_NEXTWINDOW:
    case SC_PREVWINDOW:
    case SC_CLOSE:
    case SC_RESTORE:
        if (HIWORD(wParam) == 0 && lParam == 0 && wParam >= 0xF000) {
            PostMessageW(FWindow, WM_SYSCOMMAND, wParam, 0);
            return 0;
        }
        break;
    default:
        break;
    }
    return CallOld(msg, wParam, lParam);
}

LRESULT TWinSkinForm::OnNcActivate(UINT, WPARAM wParam, LPARAM) {
    FActive = wParam != FALSE;
    FButtons.SetActive(FActive);
    // The timer stops: a hovered button of a formless window hears of
    // the mouse leaving now, not at the next activation.
    if (!FActive && !FForm && FSkinnedControls.HoveredButton())
        FSkinnedControls.LeaveHoveredButton({-32768, -32768});
    if (!MdiChildNotNormal()) FPainter.PaintFrame();
    return 1;
}

LRESULT TWinSkinForm::OnMenuChanged(UINT msg, WPARAM wParam, LPARAM lParam) {
    FSkinData->FramePainting = false;
    LRESULT result = CallOld(msg, wParam, lParam);
    FSkinData->FramePainting = true;
    MenuChanged();
    return result;
}

LRESULT TWinSkinForm::OnMenuSelect(UINT msg, WPARAM wParam, LPARAM lParam) {
    NoteMenuSelect(wParam, lParam);
    return CallOld(msg, wParam, lParam);
}

LRESULT TWinSkinForm::OnNcCalcSize(UINT msg, WPARAM wParam, LPARAM lParam) {
    CallOld(msg, wParam, lParam);
    return FHitTester.NcCalcSize(wParam, lParam);
}

LRESULT TWinSkinForm::OnNcHitTest(UINT msg, WPARAM wParam, LPARAM lParam) {
    return FHitTester.NcHitTest(CallOld(msg, wParam, lParam), ScreenPointOf(lParam));
}

LRESULT TWinSkinForm::OnNcPaint(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!FSkinData->FramePainting) return 0;
    if (Borderless()) return CallOld(msg, wParam, lParam);
    FPainter.PaintFrame();
    return 0;
}

LRESULT TWinSkinForm::OnNcMouseMove(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!FActive) return CallOld(msg, wParam, lParam);
    const POINT p = ToWindow(ScreenPointOf(lParam));
    const bool overButton = FButtons.MouseMove(p);
    TMenuBtn* menuButton = !overButton && FMenuBar ? FMenuBar->ButtonAt(p) : nullptr;
    if (menuButton) {
        menuButton->MouseEnter();
        return 0;
    }
    if (FHotObject) FHotObject->MouseLeave();
    return overButton ? 0 : CallOld(msg, wParam, lParam);
}

LRESULT TWinSkinForm::OnNcLButtonDown(UINT msg, WPARAM wParam, LPARAM lParam) {
    const POINT p = ToWindow(ScreenPointOf(lParam));
    const int index = FButtons.At(p);
    TMenuBtn* menuButton = index < 0 && FMenuBar ? FMenuBar->ButtonAt(p) : nullptr;
    if (index >= 0 || menuButton) {
        if (!FActive) SetForegroundWindow(FWindow);
        if (index >= 0) {
            if (FHotObject) FHotObject->MouseLeave();
            FButtons.Press(index);
            return 0;
        }
        FButtons.PointerGone();
        menuButton->MouseDown();
        FMenuBar->OpenDropDown(*menuButton);
        return 0;
    }
    if (FShowState == TShowState::Maximized && FActive && wParam == HTCAPTION) wParam = HTMENU;
    return CallOld(msg, wParam, lParam);
}

LRESULT TWinSkinForm::OnNcLButtonUp(UINT msg, WPARAM wParam, LPARAM lParam) {
    const POINT screen = ScreenPointOf(lParam);
    if (FButtons.MouseUp(screen)) return 0;
    if (FMenuBar && FMenuBar->ButtonAt(ToWindow(screen))) return 0;
    return CallOld(msg, wParam, lParam);
}

LRESULT TWinSkinForm::OnNcRButtonDown(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (wParam == HTCAPTION && FMdiKind != TMdiKind::Child) {
        FSystemMenu.Show(ScreenPointOf(lParam));
        return 0;
    }
    return CallOld(msg, wParam, lParam);
}

LRESULT TWinSkinForm::OnNcLButtonDblClk(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (wParam != HTCAPTION) return CallOld(msg, wParam, lParam);
    if (FShowState != TShowState::Normal)
        Restore();
    else if (FBoxFlags & kBoxMaximize)
        Maximize();
    return 0;
}

LRESULT TWinSkinForm::OnSkinRefreshFrame(UINT, WPARAM, LPARAM) {
    FPainter.PaintFrame();
    return 0;
}

// The frame takes the skin and the system's metrics for the new DPI before
// the window takes its new rectangle, so that the client area the system
// works out around the frame is already the new one.
LRESULT TWinSkinForm::OnDpiChanged(UINT msg, WPARAM wParam, LPARAM lParam) {
    const int dpi = HIWORD(wParam);
    if (!FSkinData || dpi <= 0 || dpi == FDpi) return CallOld(msg, wParam, lParam);
    FDpi = dpi;
    FPainter.ReadCaptionFont();
    ReadIcon();
    ReadFrameWidths();
    if (FMenuBar) FMenuBarHeight = MenuBarHeightFor(FDpi);
    BuildCaptionButtons();
    const LRESULT result = CallOld(msg, wParam, lParam);
    // The form takes the suggested rectangle; a window without one is
    // given it here.
    const RECT suggested = *reinterpret_cast<const RECT*>(lParam);
    RECT now{};
    GetWindowRect(FWindow, &now);
    const bool placed = EqualRect(&now, &suggested) != FALSE;
    SetWindowPos(FWindow, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED |
                     (placed ? SWP_NOMOVE | SWP_NOSIZE : 0));
    RedrawWindow(FWindow, nullptr, nullptr,
                 RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    // The region follows the caption strip just painted at the new size.
    FPainter.ForgetRegionSize();
    FPainter.BuildRegion();
    return result;
}

void TWinSkinForm::Maximize() {
    if (FShowState == TShowState::Maximized) {
        Restore();
        return;
    }
    FShowState = TShowState::Maximized;
    FButtons.Reset();
    WithoutAnimation(FWindow, SC_MAXIMIZE);
}

void TWinSkinForm::Minimize() {
    FShowState = TShowState::Minimized;
    FButtons.Reset();
    WithoutAnimation(FWindow, SC_MINIMIZE);
}

void TWinSkinForm::Restore() {
    FShowState = TShowState::Normal;
    PostMessageW(FWindow, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TWinSkinForm::CloseWindow() {
    FButtons.StopHovering();
    PostMessageW(FWindow, WM_CLOSE, 0, 0);
}

} // namespace qh
