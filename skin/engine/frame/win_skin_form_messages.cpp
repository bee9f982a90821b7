// The skinned frame's message handling: the non-client area, the caption
// buttons and their actions, the system menu.
#include "skin/engine/frame/win_skin_form.h"

#include "skin/engine/skin_manage.h"
#include "skin/engine/menus/win_skin_menu.h"
#include "skin/render/frame_styles.h"
#include "toolkit/exception_report.h"
#include "toolkit/forms.h"

#include <algorithm>

namespace qh {

LRESULT TWinSkinForm::CallOld(UINT msg, WPARAM wParam, LPARAM lParam) {
    return FSubclass.CallNext(msg, wParam, lParam);
}

LRESULT TWinSkinForm::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SKINQUERY:
        return 1;
    case WM_NCDESTROY:
        NcDestroy();
        return CallOld(msg, wParam, lParam);
    case WM_STYLECHANGED:
        if (wParam == static_cast<WPARAM>(GWL_STYLE))
            FWindowStyle = GetWindowLongW(FWindow, GWL_STYLE);
        return CallOld(msg, wParam, lParam);
    case WM_ERASEBKGND:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
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
    case WM_MEASUREITEM:
        if (FMenuBar && FSkinData &&
            FMenuBar->RawItems().Measure(*FSkinData, *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)))
            return TRUE;
        return CallOld(msg, wParam, lParam);
    case WM_DRAWITEM:
        if (FMenuBar && FSkinData &&
            FMenuBar->RawItems().Draw(*FSkinData, *reinterpret_cast<DRAWITEMSTRUCT*>(lParam)))
            return TRUE;
        return CallOld(msg, wParam, lParam);
    default:
        break;
    }
    if (!FFrameSkinned) return CallOld(msg, wParam, lParam);
    const LONG style = GetWindowLongW(FWindow, GWL_STYLE);
    if ((style & WS_CHILD) && FMdiKind != TMdiKind::Child) return CallOld(msg, wParam, lParam);

    switch (msg) {
    case WM_SKINATTACHED:
        Attached();
        return 0;
    case WM_ACTIVATE:
        FActive = LOWORD(wParam) != WA_INACTIVE;
        FButtonStates.SetActive(FActive);
        return CallOld(msg, wParam, lParam);
    case WM_SHOWWINDOW:
        // Hidden or shown again, nothing is under the pointer any more.
        ResetCaptionButtons();
        return CallOld(msg, wParam, lParam);
    case WM_SIZE: {
        LRESULT result = CallOld(msg, wParam, lParam);
        // Minimised, maximised or restored: the buttons moved under the pointer.
        if (wParam != SIZE_RESTORED || FShowState != TShowState::Normal) ResetCaptionButtons();
        if (wParam == SIZE_MINIMIZED) return result;
        // A maximised child shows the system's frame inside the MDI frame,
        // as every child does while one is maximised.
        if (FMdiKind == TMdiKind::Child && FManager && FFrameState != kFrameNew) {
            if (wParam == SIZE_MAXIMIZED) FManager->SetMdiMax(true);
            if (wParam == SIZE_RESTORED && FManager->MdiMaximized()) {
                BOOL maximized = FALSE;
                HWND client = GetParent(FWindow);
                SendMessageW(client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized));
                if (!maximized) FManager->SetMdiMax(false);
            }
            PostMessageW(GetParent(GetParent(FWindow)), WM_SKINREFRESHFRAME, 0, 0);
        }
        if (FMdiKind == TMdiKind::Child && ((FManager && FManager->MdiMaximized()) || wParam != SIZE_RESTORED))
            return result;
        if (FFrameState == kFrameActive || FFrameState == kFrameRefreshing) BuildRegion();
        return result;
    }
    case WM_GETMINMAXINFO: {
        LRESULT result = CallOld(msg, wParam, lParam);
        RefreshShowState();
        if (Minimized())
            ApplyFrameStyles(true);
        else if (FFrameState != kFrameNew && (FMdiKind != TMdiKind::Child || FShowState == TShowState::Normal))
            ApplyFrameStyles(false);
        if (FBorderKind == TBorderKind::Sizeable) {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXIMIZED),
                                    GetSystemMetrics(SM_CYMAXIMIZED)};
        }
        return result;
    }
    case WM_WINDOWPOSCHANGED: {
        const TShowState before = FShowState;
        RefreshShowState();
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (before != FShowState || (pos->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)))
            ResetCaptionButtons();
        return CallOld(msg, wParam, lParam);
    }
    case WM_SYSCOMMAND:
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
    case WM_COMMAND:
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
    case WM_NCACTIVATE:
        FActive = wParam != FALSE;
        FButtonStates.SetActive(FActive);
        FHoverTimer->SetEnabled(FActive);
        // The timer stops: a hovered button of a formless window hears of
        // the mouse leaving now, not at the next activation.
        if (!FActive && !FForm && FSkinnedControls.HoveredButton())
            FSkinnedControls.LeaveHoveredButton({-32768, -32768});
        if (!MdiChildNotNormal()) PaintFrame();
        return 1;
    case CM_MENUCHANGED: {
        FSkinData->FramePainting = false;
        LRESULT result = CallOld(msg, wParam, lParam);
        FSkinData->FramePainting = true;
        MenuChanged();
        return result;
    }
    case WM_MENUSELECT:
        NoteMenuSelect(wParam, lParam);
        return CallOld(msg, wParam, lParam);
    default:
        break;
    }
    if (Minimized() || MdiChildNotNormal() || FFrameState == kFrameNew)
        return CallOld(msg, wParam, lParam);

    switch (msg) {
    case WM_NCCALCSIZE:
        return NcCalcSize(wParam, lParam);
    case WM_NCHITTEST:
        return NcHitTest(wParam, lParam);
    case WM_NCPAINT:
        if (!FSkinData->FramePainting) return 0;
        if (Borderless()) return CallOld(msg, wParam, lParam);
        PaintFrame();
        return 0;
    case WM_NCMOUSEMOVE: {
        if (!FActive) return CallOld(msg, wParam, lParam);
        const POINT p = ToWindow(
            {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        const int index = CaptionButtonAt(p);
        // A press whose release went to another window is over.
        if (GetKeyState(VK_LBUTTON) >= 0) CaptionLookChanged(FButtonStates.CancelPress());
        CaptionLookChanged(FButtonStates.PointerOver(index));
        TMenuBtn* menuButton = index < 0 && FMenuBar ? FMenuBar->ButtonAt(p) : nullptr;
        if (menuButton) {
            menuButton->MouseEnter();
            return 0;
        }
        if (FHotObject) FHotObject->MouseLeave();
        return index >= 0 ? 0 : CallOld(msg, wParam, lParam);
    }
    case WM_NCLBUTTONDOWN: {
        const POINT p = ToWindow(
            {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        const int index = CaptionButtonAt(p);
        TMenuBtn* menuButton = index < 0 && FMenuBar ? FMenuBar->ButtonAt(p) : nullptr;
        if (index >= 0 || menuButton) {
            if (!FActive) SetForegroundWindow(FWindow);
            if (index >= 0) {
                if (FHotObject) FHotObject->MouseLeave();
                CaptionLookChanged(FButtonStates.Press(index));
                return 0;
            }
            CaptionLookChanged(FButtonStates.PointerOver(-1));
            menuButton->MouseDown();
            FMenuBar->OpenDropDown(*menuButton);
            return 0;
        }
        if (FShowState == TShowState::Maximized && FActive && wParam == HTCAPTION) wParam = HTMENU;
        return CallOld(msg, wParam, lParam);
    }
    case WM_NCLBUTTONUP: {
        const POINT screen{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const POINT p = ToWindow(screen);
        const int index = CaptionButtonAt(p);
        bool changed = false;
        const bool acts = FButtonStates.Release(index, &changed);
        CaptionLookChanged(changed);
        if (acts) ButtonAction(*FCaptionButtons[static_cast<size_t>(index)], screen);
        if (index >= 0) return 0;
        if (FMenuBar && FMenuBar->ButtonAt(p)) return 0;
        return CallOld(msg, wParam, lParam);
    }
    case WM_NCRBUTTONDOWN:
        if (wParam == HTCAPTION && FMdiKind != TMdiKind::Child) {
            ShowSystemMenu(
                {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
            return 0;
        }
        return CallOld(msg, wParam, lParam);
    case WM_NCLBUTTONDBLCLK:
        if (wParam == HTCAPTION) {
            if (FShowState != TShowState::Normal)
                Restore();
            else if (FBoxFlags & kBoxMaximize)
                Maximize();
            return 0;
        }
        return CallOld(msg, wParam, lParam);
    case WM_SKINREFRESHFRAME:
        PaintFrame();
        return 0;
    default:
        return CallOld(msg, wParam, lParam);
    }
}

LRESULT TWinSkinForm::NcCalcSize(WPARAM wParam, LPARAM lParam) {
    CallOld(WM_NCCALCSIZE, wParam, lParam);
    const bool passThrough = Borderless() || MdiChildNotNormal();
    if (!wParam) {
        // The rectangle is the window's; the client is it less the frame.
        auto* r = reinterpret_cast<RECT*>(lParam);
        const TRect c = NcClientRect({r->left, r->top, r->right, r->bottom}, Widths(),
                                     FMenuBarHeight, passThrough);
        *r = {c.Left, c.Top, c.Right, c.Bottom};
        return 0;
    }
    auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
    const WINDOWPOS* pos = params->lppos;
    RECT client = params->rgrc[0];
    if (!passThrough) {
        const TRect c = NcClientRect(RectOfSize(pos->x, pos->y, pos->cx, pos->cy), Widths(),
                                     FMenuBarHeight, false);
        client = {c.Left, c.Top, c.Right, c.Bottom};
    }
    params->rgrc[0] = params->rgrc[1] = params->rgrc[2] = client;
    return kWvrValidRects;
}

POINT TWinSkinForm::ToWindow(POINT screen) const {
    POINT p = screen;
    ScreenToClient(FWindow, &p);
    const TPoint w = WindowPointOfClient({p.x, p.y}, Widths(), FMenuBarHeight, Minimized());
    return {w.X, w.Y};
}

int TWinSkinForm::CaptionButtonAt(POINT p) const {
    for (size_t i = 0; i < FCaptionButtons.size(); ++i) {
        const TWinSysButton& button = *FCaptionButtons[i];
        if (button.Visible && button.Part().Action >= 0 && PtInRect(&button.Bounds, p))
            return static_cast<int>(i);
    }
    return -1;
}

void TWinSkinForm::CaptionLookChanged(bool changed) {
    if (!changed || (FFrameState != kFrameActive && FFrameState != kFrameRefreshing)) return;
    if (!IsWindowVisible(FWindow)) return;
    HDC dc = GetWindowDC(FWindow);
    if (!dc) return;
    RECT window{};
    GetWindowRect(FWindow, &window);
    const int w = window.right - window.left;
    PaintCaption(dc, w);
    // The maximised MDI child's buttons live in the menu bar.
    if (FMenuBar && std::any_of(FCaptionButtons.begin(), FCaptionButtons.end(), [](const auto& b) {
            return b->Visible && b->Part().Visibility == 100;
        }))
        FMenuBar->Paint(dc, {FFrameLeft, FFrameTop, w - FFrameRight, FFrameTop + FMenuBarHeight},
                        FActive);
    ReleaseDC(FWindow, dc);
}

void TWinSkinForm::FollowPointer() {
    if (FMenuMode || !IsWindowVisible(FWindow)) return;
    POINT cursor{};
    GetCursorPos(&cursor);
    const int index = FActive && WindowFromPoint(cursor) == FWindow
                          ? CaptionButtonAt(ToWindow(cursor))
                          : -1;
    if (GetKeyState(VK_LBUTTON) >= 0) CaptionLookChanged(FButtonStates.CancelPress());
    CaptionLookChanged(FButtonStates.PointerOver(index));
}

void TWinSkinForm::ResetCaptionButtons() {
    CaptionLookChanged(FButtonStates.Reset());
}

LRESULT TWinSkinForm::NcHitTest(WPARAM wParam, LPARAM lParam) {
    LRESULT result = CallOld(WM_NCHITTEST, wParam, lParam);
    const POINT p =
        ToWindow({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
    // A frame without the system's caption gives its border where the
    // skin's caption and menu bar are: they are nowhere to the system.
    if (result == HTBORDER && p.y < FFrameTop + FMenuBarHeight) result = HTNOWHERE;
    return AdjustNcHitTest(static_cast<int>(result), p.y, FFrameTop, FMenuBarHeight);
}

void TWinSkinForm::ButtonAction(TWinSysButton& button, POINT screen) {
    switch (button.Part().Action) {
    case 0:
        FHoverTimer->SetEnabled(false);
        PostMessageW(FWindow, WM_CLOSE, 0, 0);
        break;
    case 1:
    case 22:
        if (FShowState == TShowState::Maximized)
            Restore();
        else
            Maximize();
        break;
    case 2:
    case 23:
        if (FShowState == TShowState::Minimized)
            Restore();
        else
            Minimize();
        break;
    case 3:
    case 11:
    case 12:
        ShowSystemMenu({screen.x + 1, screen.y + 1});
        break;
    case 7:
    case 60:
        MdiChildCommand(SC_MINIMIZE);
        break;
    case 8:
    case 61:
        MdiChildCommand(SC_RESTORE);
        break;
    case 9:
    case 62:
        MdiChildCommand(SC_CLOSE);
        break;
    default:
        PostMessageW(FWindow, WM_SKINBUTTONACTION, static_cast<WPARAM>(button.Part().Action), 0);
        break;
    }
}

namespace {

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

void TWinSkinForm::Maximize() {
    if (FShowState == TShowState::Maximized) {
        Restore();
        return;
    }
    FShowState = TShowState::Maximized;
    ResetCaptionButtons();
    WithoutAnimation(FWindow, SC_MAXIMIZE);
}

void TWinSkinForm::Minimize() {
    FShowState = TShowState::Minimized;
    ResetCaptionButtons();
    WithoutAnimation(FWindow, SC_MINIMIZE);
}

void TWinSkinForm::Restore() {
    FShowState = TShowState::Normal;
    PostMessageW(FWindow, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TWinSkinForm::BuildSystemMenu() {
    FSkinSystemMenu = std::make_unique<TPopupMenu>(nullptr);
    FSkinSystemMenu->SetTag(33333);
    FSkinSystemMenu->SetOwnerDraw(true);
    struct TEntry {
        const char* Caption;
        int Tag;
    };
    for (const TEntry& entry : {TEntry{" Restore ", 0}, TEntry{" Maximize ", 1},
                                TEntry{" Minimize ", 2}, TEntry{"-", 100}, TEntry{" Close ", 3}}) {
        auto* item = new TMenuItem(FSkinSystemMenu.get());
        item->SetCaption(entry.Caption);
        item->SetTag(entry.Tag);
        if (entry.Tag == 3) item->SetShortCut(static_cast<int>(ShortCut(VK_F4, scShift)));
        if (entry.Tag == 1) item->SetVisible((FBoxFlags & kBoxMaximize) != 0);
        if (entry.Tag == 2) item->SetVisible((FBoxFlags & kBoxMinimize) != 0);
        item->OnClick = [this, tag = entry.Tag](TObject*) {
            switch (tag) {
            case 0:
                Restore();
                break;
            case 1:
                Maximize();
                break;
            case 2:
                Minimize();
                break;
            case 3:
                PostMessageW(FWindow, WM_CLOSE, 0, 0);
                break;
            default:
                break;
            }
        };
        FSkinSystemMenu->Items()->Add(item);
    }
}

void TWinSkinForm::ShowSystemMenu(POINT screen) {
    const DWORD now = GetTickCount();
    if (FButtonStates.AnyEngaged() && now - FLastClickTime < GetDoubleClickTime()) {
        FHoverTimer->SetEnabled(false);
        PostMessageW(FWindow, WM_CLOSE, 0, 0);
        return;
    }
    FLastClickTime = now;
    if (FSkinData->HasSkinControl(xcSystemMenu) && FMdiKind != TMdiKind::Child && FSkinSystemMenu) {
        // Each state's item is offered unless the window is in it already.
        TMenuItem* items = FSkinSystemMenu->Items();
        for (int i = 0; i < items->Count(); ++i) {
            TMenuItem* item = items->Items(i);
            if (item->Tag() <= 2) item->SetEnabled(item->Tag() != static_cast<int>(FShowState));
        }
        FSkinSystemMenu->SetWindow(FWindow);
        FSkinSystemMenu->Popup(screen.x, screen.y);
        return;
    }
    HMENU menu = GetSystemMenu(FWindow, FALSE);
    if (!menu) return;
    const UINT command = TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD, screen.x, screen.y,
                                        0, FWindow, nullptr);
    if (command) PostMessageW(FWindow, WM_SYSCOMMAND, command, 0);
}

void TWinSkinForm::HoverTick() {
    POINT p{};
    GetCursorPos(&p);
    // The buttons of a window without a form hear of no mouse leaving
    // from the class library: the timer tells them.
    if (!FForm) FSkinnedControls.LeaveHoveredButton(p);
    if (FMenuMode) return;
    FollowPointer();
    if (FHotObject && !PtInRect(&FHotObject->Bounds, ToWindow(p))) FHotObject->MouseLeave();
}

} // namespace qh
