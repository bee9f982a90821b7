// The caption buttons of one skinned frame: what each shows, where it is,
// how it looks (normal, hot, pressed), what a click on it does, and the
// timer that follows the pointer while the window is active. Each button
// keeps its own copy of the skin's description: a skin read under a
// dressed window (even one that fails half way) takes nothing from it.
// Owned by the frame (TWinSkinForm).
#pragma once

#include "skin/data/skin_objects.h"
#include "skin/render/caption_button_states.h"
#include "skin/render/caption_layout.h"
#include "toolkit/timer.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace qh {

class TSkinParts;
class TWinSkinForm;

class TWinSysButton {
public:
    TWinSysButton(const TWinSkinForm& owner, const TDataSkinSysButton& part)
        : FOwner(owner), FPart(part) {}
    const TDataSkinSysButton& Part() const { return FPart; }
    // The image: the part's own, or the window icon for icon buttons.
    const TBitmap& Image() const;
    int Frames() const;

    RECT Bounds{0, 0, 0, 0}; // window coordinates
    bool Visible = false;

private:
    const TWinSkinForm& FOwner;
    const TDataSkinSysButton FPart;
};

class TCaptionButtons {
public:
    using TList = std::vector<std::unique_ptr<TWinSysButton>>;

    explicit TCaptionButtons(TWinSkinForm& form);

    void Build(const TSkinParts& skin);
    void Free();
    const TList& Buttons() const { return FButtons; }
    const TCaptionButtonStates& States() const { return FStates; }

    // Places the buttons for a window `width` wide around the caption text.
    void Layout(int width, const RECT& textRect);
    // The largest left edge of the right-aligned buttons, 0 when none.
    int RightButtonLeft() const { return FRightButtonLeft; }
    // The button under a point (window coordinates), or -1.
    int At(POINT windowPoint) const;

    // The caption strip's buttons, the maximised MDI child's ones left out.
    void PaintOnCaption(TBitmap& strip) const;
    // The maximised MDI child's buttons, drawn into the menu bar's picture
    // whose top-left corner is at barOrigin in the window.
    void PaintOnMenuBar(TBitmap& bar, POINT barOrigin) const;

    // The pointer moved to a point of the window; answers whether it is
    // over a button.
    bool MouseMove(POINT windowPoint);
    void Press(int index);
    // The pointer is over something else of the frame.
    void PointerGone();
    // The left button came up at a point of the screen: a press that ends
    // over its own button acts. Answers whether it is over a button.
    bool MouseUp(POINT screen);

    // Activation, with the hover timer running only while active.
    void SetActive(bool active);
    // Activation told before the frame is: the look follows, the timer not.
    void NoteActivation(bool active) { FStates.SetActive(active); }
    // Hidden, shown, sized, re-skinned: back to normal, and painted so.
    void Reset();
    // A whole repaint shows every button normal.
    void ForgetHover() { FStates.ForgetHover(); }
    void StopHovering() { FHoverTimer->SetEnabled(false); }

private:
    void PaintButton(TBitmap& target, POINT origin, size_t index) const;
    // The buttons' look changed: the caption strip shows it.
    void LookChanged(bool changed);
    // The pointer, wherever it is now, decides the hover.
    void FollowPointer();
    void HoverTick();
    void Act(const TWinSysButton& button, POINT screen);

    TWinSkinForm& FForm;
    TList FButtons;
    std::vector<TPlacedButton> FPlaced;
    TCaptionButtonStates FStates;
    std::unique_ptr<TTimer> FHoverTimer;
    int FRightButtonLeft = 0;
};

} // namespace qh
