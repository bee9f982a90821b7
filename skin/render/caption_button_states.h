// The look of a window's caption buttons, kept in one place and derived
// from three facts only: which button the pointer is over, which button
// took the left-button press, and whether the window is active. Nothing
// else is remembered, so hiding, showing, sizing or repainting a window can
// never leave a button stuck hot or pressed.
#pragma once

namespace qh {

class TCaptionButtonStates {
public:
    enum : int { Normal = 1, Pressed = 2, Hot = 3 };

    // The pointer is over button `index` now; -1 when over none. While the
    // left button is held after a press, only the pressed button reacts:
    // pressed when the pointer is back over it, normal when it is away.
    // Each call answers whether any button's look changed.
    bool PointerOver(int index);
    // The left button went down over `index`; the press belongs to it.
    bool Press(int index);
    // The left button came up over `index` (-1: over none). Answers
    // whether this ends a press on that same button: then its action runs.
    // The press is over either way.
    bool Release(int index, bool* looksChanged = nullptr);
    // A press whose release went elsewhere (the button is up and nobody
    // told us) ends without an action.
    bool CancelPress();
    // Activation: an inactive window has no hot button; deactivation ends a
    // press, activation does not (the press that activates a window acts).
    bool SetActive(bool active);
    // Hidden, shown, minimised, restored, maximised, re-skinned: nothing
    // under the pointer, no press.
    bool Reset();
    // A whole repaint draws every button normal: the hover is forgotten
    // (the next pointer move brings it back); a press in progress still
    // acts when released over its button.
    bool ForgetHover();

    int StateOf(int index) const;
    bool Active() const { return FActive; }
    int PressedButton() const { return FPressed; }
    // Some button looks hot or pressed.
    bool AnyEngaged() const { return Look().Index >= 0; }

private:
    struct TLook {
        int Index = -1;
        int State = Normal;
        bool operator==(const TLook&) const = default;
    };
    // At most one button looks other than normal.
    TLook Look() const;
    template <typename F> bool Changing(F change);

    int FPointer = -1;
    int FPressed = -1;
    bool FActive = false;
};

} // namespace qh
