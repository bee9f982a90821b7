#include "skin/engine/frame/caption_buttons.h"

#include "skin/data/skin_data.h"
#include "skin/engine/frame/win_skin_form.h"
#include "skin/engine/menus/win_skin_menu.h"
#include "skin/engine/skin_manage.h"
#include "skin/render/pixel_copy.h"
#include "skin/render/state_image.h"

#include <algorithm>

namespace qh {

const TBitmap& TWinSysButton::Image() const {
    return CaptionButtonImage(FPart, FOwner.IconBitmap());
}

int TWinSysButton::Frames() const {
    return CaptionButtonFrames(FPart);
}

TCaptionButtons::TCaptionButtons(TWinSkinForm& form)
    : FForm(form), FHoverTimer(std::make_unique<TTimer>(nullptr)) {
    FHoverTimer->SetEnabled(false);
    FHoverTimer->SetInterval(250);
    FHoverTimer->OnTimer = [this](TObject*) { HoverTick(); };
}

void TCaptionButtons::Build(const TSkinParts& skin) {
    Free();
    for (const auto& part : skin.SysButtons)
        FButtons.push_back(std::make_unique<TWinSysButton>(FForm, *part));
}

void TCaptionButtons::Free() {
    FStates.Reset();
    FButtons.clear();
    FPlaced.clear();
}

void TCaptionButtons::Layout(int width, const RECT& textRect) {
    std::vector<const TDataSkinSysButton*> parts;
    for (const auto& button : FButtons)
        parts.push_back(&button->Part());
    const TSkinParts& data = FForm.Skin();
    TCaptionState state;
    state.Maximized = FForm.ShowState() == TShowState::Maximized;
    state.Active = FForm.Active();
    state.BoxFlags = FForm.BoxFlags();
    state.MdiFrameChildMaximized =
        FForm.MdiKind() == TMdiKind::Frame && FForm.Manager() && FForm.Manager()->MdiMaximized();
    state.MenuBarHeight = FForm.MenuBarHeight();
    TCaptionGeometry geometry;
    geometry.WindowWidth = width;
    geometry.TextRect = {textRect.left, textRect.top, textRect.right, textRect.bottom};
    geometry.Frame = FForm.Widths();
    geometry.MenuBarHeight = FForm.MenuBarHeight();
    geometry.MenuBarLeftMargin = data.MenuBar ? data.MenuBar->LeftWidth : 0;
    geometry.RightToLeft = FForm.RightToLeft();
    const TCaptionButtonLayout layout =
        LayoutCaptionButtons(parts, FForm.IconBitmap(), state, geometry);
    FRightButtonLeft = layout.RightButtonLeft;
    FPlaced = layout.Buttons;
    for (size_t i = 0; i < FButtons.size() && i < FPlaced.size(); ++i) {
        const TPlacedButton& placed = FPlaced[i];
        FButtons[i]->Visible = placed.Visible;
        FButtons[i]->Bounds = {placed.Bounds.Left, placed.Bounds.Top, placed.Bounds.Right,
                               placed.Bounds.Bottom};
    }
}

int TCaptionButtons::At(POINT p) const {
    return CaptionButtonAt(FPlaced, {p.x, p.y});
}

void TCaptionButtons::PaintButton(TBitmap& target, POINT origin, size_t index) const {
    const TWinSysButton& button = *FButtons[index];
    const int frames = button.Frames();
    const int state = FStates.StateOf(static_cast<int>(index));
    const int frame = CaptionButtonCell(state, FForm.Active(), button.Part().Visibility, frames);
    const TBitmap& image = button.Image();
    const TRect cell = StateImageRect(image, false, frames, frame);
    if (cell.Empty()) return;
    TBitmap piece(cell.Width(), cell.Height(), TPixelFormat::pf32bit);
    piece.CopyRect(0, 0, image, cell.Left, cell.Top, cell.Width(), cell.Height());
    CopyKeyed(target, button.Bounds.left - origin.x, button.Bounds.top - origin.y, piece,
              kColourKey);
}

void TCaptionButtons::PaintOnCaption(TBitmap& strip) const {
    for (size_t i = 0; i < FButtons.size(); ++i)
        if (FButtons[i]->Visible && FButtons[i]->Part().Visibility != 100)
            PaintButton(strip, {0, 0}, i);
}

void TCaptionButtons::PaintOnMenuBar(TBitmap& bar, POINT barOrigin) const {
    for (size_t i = 0; i < FButtons.size(); ++i)
        if (FButtons[i]->Visible && FButtons[i]->Part().Visibility == 100)
            PaintButton(bar, barOrigin, i);
}

bool TCaptionButtons::MouseMove(POINT p) {
    const int index = At(p);
    // A press whose release went to another window is over.
    if (GetKeyState(VK_LBUTTON) >= 0) LookChanged(FStates.CancelPress());
    LookChanged(FStates.PointerOver(index));
    return index >= 0;
}

void TCaptionButtons::Press(int index) {
    LookChanged(FStates.Press(index));
}

void TCaptionButtons::PointerGone() {
    LookChanged(FStates.PointerOver(-1));
}

bool TCaptionButtons::MouseUp(POINT screen) {
    const int index = At(FForm.ToWindow(screen));
    bool changed = false;
    const bool acts = FStates.Release(index, &changed);
    LookChanged(changed);
    if (acts) Act(*FButtons[static_cast<size_t>(index)], screen);
    return index >= 0;
}

void TCaptionButtons::SetActive(bool active) {
    FStates.SetActive(active);
    FHoverTimer->SetEnabled(active);
}

void TCaptionButtons::Reset() {
    LookChanged(FStates.Reset());
}

void TCaptionButtons::LookChanged(bool changed) {
    const TFrameState state = FForm.FrameState();
    if (!changed || (state != TFrameState::Active && state != TFrameState::Refreshing)) return;
    HWND window = FForm.Window();
    if (!IsWindowVisible(window)) return;
    TWindowDC dc(window, TWindowDC::WholeWindow);
    if (!dc) return;
    RECT bounds{};
    GetWindowRect(window, &bounds);
    FForm.Painter().PaintCaption(dc.Get(), bounds.right - bounds.left);
    // The maximised MDI child's buttons live in the menu bar.
    if (FForm.MenuBar() && std::any_of(FButtons.begin(), FButtons.end(), [](const auto& b) {
            return b->Visible && b->Part().Visibility == 100;
        }))
        FForm.Painter().PaintMenuBar(dc.Get(), bounds.right - bounds.left);
}

void TCaptionButtons::FollowPointer() {
    HWND window = FForm.Window();
    if (FForm.MenuMode() || !IsWindowVisible(window)) return;
    POINT cursor{};
    GetCursorPos(&cursor);
    const int index =
        FForm.Active() && WindowFromPoint(cursor) == window ? At(FForm.ToWindow(cursor)) : -1;
    if (GetKeyState(VK_LBUTTON) >= 0) LookChanged(FStates.CancelPress());
    LookChanged(FStates.PointerOver(index));
}

void TCaptionButtons::HoverTick() {
    POINT p{};
    GetCursorPos(&p);
    // The buttons of a window without a form hear of no mouse leaving
    // from the class library: the timer tells them.
    if (!FForm.Form()) FForm.SkinnedControls().LeaveHoveredButton(p);
    if (FForm.MenuMode()) return;
    FollowPointer();
    TNCObject* hot = FForm.HotObject();
    const POINT at = FForm.ToWindow(p);
    if (hot && !PtInRect(&hot->Bounds, at)) hot->MouseLeave();
}

void TCaptionButtons::Act(const TWinSysButton& button, POINT screen) {
    switch (button.Part().Action) {
    case 0:
        FForm.CloseWindow();
        break;
    case 1:
    case 22:
        if (FForm.ShowState() == TShowState::Maximized)
            FForm.Restore();
        else
            FForm.Maximize();
        break;
    case 2:
    case 23:
        if (FForm.ShowState() == TShowState::Minimized)
            FForm.Restore();
        else
            FForm.Minimize();
        break;
    case 3:
    case 11:
    case 12:
        FForm.SystemMenu().Show({screen.x + 1, screen.y + 1});
        break;
    case 7:
    case 60:
        FForm.Mdi().ChildCommand(SC_MINIMIZE);
        break;
    case 8:
    case 61:
        FForm.Mdi().ChildCommand(SC_RESTORE);
        break;
    case 9:
    case 62:
        FForm.Mdi().ChildCommand(SC_CLOSE);
        break;
    default:
        PostMessageW(FForm.Window(), WM_SKINBUTTONACTION, static_cast<WPARAM>(button.Part().Action),
                     0);
        break;
    }
}

} // namespace qh
