#include "skin/engine/frame/win_skin_form.h"

#include "core/gbk.h"
#include "skin/engine/skin_manage.h"
#include "skin/engine/menus/win_skin_menu.h"
#include "skin/render/frame_metrics.h"
#include "skin/render/frame_styles.h"
#include "toolkit/dpi.h"
#include "toolkit/exception_report.h"
#include "toolkit/forms.h"

namespace qh {

QH_DEFINE_CLASS(TWinSkinForm, TComponent)

void TNCObject::MouseDown() {
    TNCObject* hot = FOwner.HotObject();
    if (hot && hot != this) hot->MouseLeave();
    if (!Visible) return;
    FOwner.SetHotObject(this);
    State = TNCState::Pressed;
    Paint();
}

void TNCObject::MouseUp() {
    if (!Visible) return;
    State = TNCState::Hot;
    Paint();
}

void TNCObject::MouseEnter() {
    TNCObject* hot = FOwner.HotObject();
    if (hot == this) return;
    if (hot) hot->MouseLeave();
    if (!Visible) return;
    FOwner.SetHotObject(this);
    State = TNCState::Hot;
    Paint();
}

void TNCObject::MouseLeave() {
    if (!Visible) return;
    FOwner.SetHotObject(nullptr);
    State = TNCState::Normal;
    Paint();
}

TWinSkinForm::TWinSkinForm(TComponent* owner, HWND window, TSkinManage* manager)
    : TComponent(owner), FWindow(window), FManager(manager) {}

const TSkinParts& TWinSkinForm::Skin() const {
    return FManager ? FManager->SkinForDpi(FSkinData, FDpi) : *FSkinData;
}

TWinSkinForm::~TWinSkinForm() {
    Destroying();
    if (FAttached) Detach();
    if (FManager) FManager->FormGone(this);
}

bool TWinSkinForm::AttachForm(TSkinData* skinData, TCustomForm* form) {
    FForm = form;
    if (!Attach(skinData)) {
        FForm = nullptr;
        return false;
    }
    FSavedColor = form->Color();
    FColorSaved = true;
    form->SetColor(static_cast<TColor>(skinData->Colours.ButtonFace));
    return true;
}

bool TWinSkinForm::Attach(TSkinData* skinData) {
    if (FAttached) return true;
    // Nothing of the window changes unless the frame can stand in front.
    if (!IsWindow(FWindow) || TWindowSubclass::Present(FWindow, TSubclassRole::Frame))
        return false;
    FSkinData = skinData;
    FDpi = WindowDpi(FWindow);
    FFrameSkinned = skinData->HasSkinControl(xcMainMenu);
    if (FForm && FFrameSkinned)
        FFormFront = FForm->FrontWindowProc(
            [this](TMessage& m, const TWndMethod& next) { FormMessage(m, next); });
    ReadWindow();
    FSystemMenu.Build();
    FPainter.ReadCaptionFont();
    if (FFrameSkinned) DressFrame();
    FControlFactory.SkinControls();
    if (FForm) FSkinnedMenus.Dress(*FForm, *skinData);
    // The painted bar's drop-downs are drawn by the skin too.
    if (FMenuBar && FForm && FForm->Menu())
        FSkinnedMenus.DressMenu(*FForm->Menu(), *skinData, false, true);
    if (TPopupMenu* menu = FSystemMenu.Menu()) FSkinnedMenus.DressMenu(*menu, *skinData, true);
    FAttached = true;
    if (!FSubclass.Install(FWindow, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
            return Handle(msg, wParam, lParam);
        })) {
        // The window went while it was being dressed.
        Detach();
        return false;
    }
    FMdi.AttachClient();
    InvalidateRect(FWindow, nullptr, TRUE);
    return true;
}

void TWinSkinForm::ReadWindow() {
    FWindowStyle = GetWindowLongW(FWindow, GWL_STYLE);
    const LONG exStyle = GetWindowLongW(FWindow, GWL_EXSTYLE);
    FRightToLeft = (exStyle & WS_EX_LEFTSCROLLBAR) != 0;
    const bool hasSystemMenu = GetSystemMenu(FWindow, FALSE) != nullptr;
    ReadIcon();
    FWindowClass = WideToGbk(WindowClassName(FWindow));
    RECT window{}, client{};
    GetWindowRect(FWindow, &window);
    GetClientRect(FWindow, &client);
    FClientSize = {client.right, client.bottom};
    FAttachFrameSize = {(window.right - window.left) - client.right,
                        (window.bottom - window.top) - client.bottom};
    const auto style = static_cast<uint32_t>(FWindowStyle);
    FBoxFlags = BoxFlagsOf(style, hasSystemMenu);
    RefreshShowState();
    FMdiKind = MdiKindOf(static_cast<uint32_t>(exStyle),
                         FindWindowExW(FWindow, nullptr, L"MDIClient", nullptr) != nullptr);
    FBorderKind = BorderKindOf(style);
}

// The frame's own parts of a skin that paints frames: borders, menu bar,
// caption buttons.
void TWinSkinForm::DressFrame() {
    ReadFrameWidths();
    // A form's main menu counts even before the form has put it on its
    // window (a window can be activated while it is being made).
    TMainMenu* formMenu = FForm ? FForm->Menu() : nullptr;
    HMENU menu = GetMenu(FWindow);
    if ((formMenu || menu) && FMdiKind != TMdiKind::Child) {
        FMenuBar = std::make_unique<TWinSkinMenu>(*this, FSkinData, FWindow);
        if (formMenu)
            FMenuBar->Build(formMenu);
        else
            FMenuBar->BuildFromHandle(menu);
        FMenuBarHeight = MenuBarHeightFor(FDpi);
    }
    if (!(FMdiKind == TMdiKind::Child && FManager && FManager->MdiMaximized()) && !Minimized())
        ApplyFrameStyles(false);
    BuildCaptionButtons();
}

void TWinSkinForm::ReadFrameWidths() {
    FFrame = {};
    if (!FSkinData) return;
    const TSkinParts& skin = Skin();
    FFrame = FrameWidthsOf(skin.BorderLeft.get(), skin.BorderTop.get(), skin.BorderRight.get(),
                           skin.BorderBottom.get(), Borderless());
}

void TWinSkinForm::ReadIcon() {
    HICON icon = reinterpret_cast<HICON>(SendMessageW(FWindow, WM_GETICON, ICON_SMALL, 0));
    if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(FWindow, WM_GETICON, ICON_BIG, 0));
    // The skins carry no icon of their own: a window without one shows its
    // class's, else the system's application icon, as the system frame would.
    if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(FWindow, GCLP_HICONSM));
    if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(FWindow, GCLP_HICON));
    if (!icon) icon = LoadIconW(nullptr, IDI_APPLICATION);
    const int size = SystemMetricForDpi(SM_CXSMICON, FDpi);
    FIconBitmap = TBitmap();
    if (!icon) return;
    TDibSection dib(size, size);
    dib.Bitmap().Fill(kColourKey);
    DrawIconEx(dib.Dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    GdiFlush();
    FIconBitmap = dib.Bitmap();
}

void TWinSkinForm::ApplyFrameStyles(bool show) {
    const TFrameStyles now{static_cast<uint32_t>(GetWindowLongW(FWindow, GWL_STYLE)), FBoxFlags};
    const TFrameStyles next =
        qh::ApplyFrameStyles(now, show, GetWindow(FWindow, GW_OWNER) != nullptr || FMdiKind == TMdiKind::Child,
                             FMdiKind == TMdiKind::Child && FManager && FManager->MdiMaximized());
    FBoxFlags = next.BoxFlags;
    if (next.Style == now.Style) return;
    SetWindowLongW(FWindow, GWL_STYLE, static_cast<LONG>(next.Style));
    FWindowStyle = static_cast<LONG>(next.Style);
}

void TWinSkinForm::KeepClientSize() {
    TKeepClientSizeInput in;
    in.Client = {FClientSize.cx, FClientSize.cy};
    in.Frame = Widths();
    in.MenuBarHeight = FMenuBarHeight;
    in.Maximized = FShowState == TShowState::Maximized;
    in.FormFirstAttach = FFirstAttach && FForm;
    // The form's client area as it was when the frame was put on.
    in.FormClientWidth = FClientSize.cx;
    in.FormClientHeight = FClientSize.cy;
    in.MessageBoxFirstAttach = FFirstAttach && IsMessageBoxClass(FWindowClass);
    in.CaptionChars = GetWindowTextLengthW(FWindow);
    in.SpaceWidth = FPainter.SpaceWidth();
    in.Title = TitleMetricsOf(Skin().Title.get());
    const TKeepClientSizeResult size = qh::KeepClientSize(in);
    FFirstAttach = false;
    if (!size.Resize) {
        SetWindowPos(FWindow, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        return;
    }
    if (size.ChildShift != 0)
        for (HWND child = GetWindow(FWindow, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT)) {
            RECT r{};
            GetWindowRect(child, &r);
            MapWindowPoints(nullptr, FWindow, reinterpret_cast<POINT*>(&r), 2);
            SetWindowPos(child, nullptr, r.left + size.ChildShift, r.top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    SetWindowPos(FWindow, nullptr, 0, 0, size.Window.Width, size.Window.Height,
                 SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

void TWinSkinForm::Attached() {
    // The painted bar takes the place of the window's own, which goes just
    // before the frame is sized so that the client area never jumps.
    if (FMenuBar && GetMenu(FWindow)) SetMenu(FWindow, nullptr);
    if (FFrameState == TFrameState::New) {
        if (FMdiKind == TMdiKind::Child && FManager && FManager->MdiMaximized()) {
            ApplyFrameStyles(true);
            SetWindowPos(FWindow, nullptr, 0, 0, 0, 0,
                         SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                             SWP_FRAMECHANGED);
        } else if (FFrameSkinned && !Minimized() && !Borderless()) {
            FFrameState = TFrameState::Resizing;
            KeepClientSize();
            FFrameState = TFrameState::Active;
            FPainter.BuildRegion();
        }
    }
    FFrameState = TFrameState::Active;
    // Dressed without being activated, it still paints and hovers as the
    // active window until told otherwise.
    FActive = true;
    FButtons.SetActive(true);
}

void TWinSkinForm::SetMdiMaximized(bool maximized) {
    if (maximized) {
        FPainter.DropRegion();
        ApplyFrameStyles(true);
        return;
    }
    ApplyFrameStyles(Minimized());
    if (Minimized()) return;
    FShowState = TShowState::Normal;
    FPainter.ForgetRegionSize();
    FPainter.BuildRegion();
    if (!FPainter.HasRegion())
        SetWindowPos(FWindow, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TWinSkinForm::ApplySkinChange() {
    if (!FSkinData) return;
    const TFrameState state = FFrameState;
    FFrameState = TFrameState::Refreshing;
    if (FForm) FForm->SetColor(static_cast<TColor>(FSkinData->Colours.ButtonFace));
    if (FFrameSkinned) {
        ReadFrameWidths();
        RECT client{};
        GetClientRect(FWindow, &client);
        FClientSize = {client.right, client.bottom};
        KeepClientSize();
        FPainter.ForgetRegionSize();
        FPainter.BuildRegion();
    }
    FSkinnedControls.SkinChanged();
    FButtons.Reset();
    FFrameState = state == TFrameState::New ? TFrameState::New : TFrameState::Active;
    RedrawWindow(FWindow, nullptr, nullptr,
                 RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TWinSkinForm::FreeCaptionButtons() {
    FButtons.Free();
}

void TWinSkinForm::BuildCaptionButtons() {
    FreeCaptionButtons();
    if (!FSkinData || FSkinData->SkinEmpty) return;
    ReadFrameWidths();
    FButtons.Build(Skin());
}

void TWinSkinForm::Detach() {
    if (!FAttached) return;
    FAttached = false;
    FSkinnedMenus.Release();
    FSystemMenu.Free();
    FButtons.StopHovering();
    const bool destroying = FFrameState == TFrameState::Destroying || FFrameState == TFrameState::Dead;
    RestoreFormFront();
    const bool alive = IsWindow(FWindow) != FALSE;
    // The client area stays: the window loses the skin's frame and gets the
    // system's back, as it was at the attach.
    RECT window{};
    if (alive) GetWindowRect(FWindow, &window);
    const SIZE unskinned{(window.right - window.left) - (FFrame.Left + FFrame.Right) +
                             FAttachFrameSize.cx,
                         (window.bottom - window.top) -
                             (FFrame.Top + FFrame.Bottom + FMenuBarHeight) + FAttachFrameSize.cy};
    if (alive) FSubclass.Remove();
    FControlFactory.ReleaseToolBars();
    FSkinnedControls.FreeAll();
    FMdi.RestoreClient();
    if (FForm && FColorSaved && !destroying && !FForm->HasState(csDestroying))
        FForm->SetColor(FSavedColor);
    FreeCaptionButtons();
    FPainter.FreeStrip();
    if (FMenuBar) {
        if (alive && !destroying) FMenuBar->Detach();
        FMenuBar.reset();
        FMenuBarHeight = 0;
    }
    if (alive && FFrameSkinned && !destroying) {
        ApplyFrameStyles(true);
        const LONG style = GetWindowLongW(FWindow, GWL_STYLE);
        if (FMdiKind == TMdiKind::Child || !(style & WS_CHILD))
            // A maximised or minimised window keeps its size; its frame is
            // the system's again all the same.
            SetWindowPos(FWindow, nullptr, 0, 0, unskinned.cx, unskinned.cy,
                         SWP_NOMOVE | SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER |
                             (FShowState == TShowState::Normal ? 0u : static_cast<UINT>(SWP_NOSIZE)));
    }
    FPainter.DropRegion(alive);
}

void TWinSkinForm::RestoreFormFront() {
    if (!FForm || !FFormFront) return;
    try {
        FForm->RestoreWindowProc(FFormFront);
    } catch (...) {
        ReportException(std::current_exception());
    }
    FFormFront = 0;
}

void TWinSkinForm::NcDestroy() {
    FFrameState = TFrameState::Destroying;
    FButtons.StopHovering();
    FSkinnedMenus.Release();
    RestoreFormFront();
    FSubclass.Remove();
    FMdi.RestoreClient();
    FreeCaptionButtons();
    FPainter.FreeStrip();
    FMenuBar.reset();
    FPainter.DropRegion(false);
    FAttached = false;
    FFrameState = TFrameState::Dead;
}

void TWinSkinForm::FormMessage(TMessage& m, const TWndMethod& next) {
    switch (m.Msg) {
    case WM_SETTEXT:
        next(m);
        SetWindowPos(FWindow, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        return;
    case WM_SKINCHANGED:
        ApplySkinChange();
        return;
    case CM_MENUCHANGED:
        FSkinData->FramePainting = false;
        next(m);
        FSkinData->FramePainting = true;
        MenuChanged();
        return;
    case CM_DIALOGCHAR:
        // Alt (the character's context bit) and a bar caption's access
        // key, and nothing else held.
        if (FMenuBar && (m.LParam & (1 << 29)) && GetKeyState(VK_CONTROL) >= 0 &&
            GetKeyState(VK_SHIFT) >= 0)
            if (TMenuBtn* button = FMenuBar->ButtonForKey(static_cast<wchar_t>(m.WParam))) {
                FMenuBar->PressButton(*button);
                m.Result = 1;
                return;
            }
        next(m);
        return;
    default:
        next(m);
    }
}

void TWinSkinForm::MenuChanged() {
    if (!FMenuBar || !FSkinData->MenuUpdate()) return;
    FMenuBar->Rebuild();
    SendMessageW(FWindow, WM_SKINREFRESHFRAME, 0, 0);
}

bool TWinSkinForm::MdiChildNotNormal() const {
    return FMdiKind == TMdiKind::Child && FShowState != TShowState::Normal;
}

void TWinSkinForm::RefreshShowState() {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    GetWindowPlacement(FWindow, &placement);
    FShowState = ShowStateOf(static_cast<int>(placement.showCmd));
}

void TWinSkinForm::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != opRemove) return;
    FSkinnedMenus.Forget(component);
    FControlFactory.Forget(component);
}

} // namespace qh
