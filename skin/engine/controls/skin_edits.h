// The skinned edits, combo boxes and up-down buttons. An edit keeps its
// own text area and gets a border in the skin's shadow colour; a combo box
// keeps its text and gets the skin's sunken frame and drop-down button; an
// up-down is painted whole from the skin's up-down parts.
#pragma once

#include "skin/engine/dib_section.h"
#include "skin/engine/controls/skin_control.h"

#include <memory>

namespace qh {

class TSkinEdit : public TSkinControl {
    QH_CLASS(TSkinEdit, TSkinControl)
    explicit TSkinEdit(TComponent* owner);

    // Also dresses the edit's own up-down child, as a spin edit has.
    void AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* form,
                      TCanvas* canvas) override;
    // The edit draws its own border again at once.
    void Detach() override;
    void AfterMessage(TMessage& message) override;
    // The border only; the text area stays the edit's.
    void PaintTo(HDC dc, const RECT& rect) override;
};

class TSkinComBox : public TSkinControl {
    QH_CLASS(TSkinComBox, TSkinControl)
    explicit TSkinComBox(TComponent* owner);
    ~TSkinComBox() override;

    void AfterMessage(TMessage& message) override;
    // Frame and button; the text area stays the combo box's.
    void PaintTo(HDC dc, const RECT& rect) override;

private:
    std::unique_ptr<TDibSection> FPicture;
};

class TSkinUpDown : public TSkinControl {
    QH_CLASS(TSkinUpDown, TSkinControl)
    explicit TSkinUpDown(TComponent* owner);
    ~TSkinUpDown() override;

    bool FilterMessage(TMessage& message) override;
    void PaintTo(HDC dc, const RECT& rect) override;

    // The button under the mouse or held: 0 none, 1 the first (left or
    // up), 2 the second.
    int HotButton() const { return FHotButton; }
    int PressedButton() const { return FPressedButton; }

private:
    const TDataSkinBorder* Part() const;
    bool Horizontal() const;
    int ButtonAt(LPARAM point) const;
    void SetButtons(int hot, int pressed);

    int FHotButton = 0;
    int FPressedButton = 0;
    std::unique_ptr<TDibSection> FPicture;
};

// Attaches a TSkinUpDown, owned by the frame's list, to every up-down
// child of parent that has no skin control yet.
void SkinUpDownChildren(HWND parent, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas);

} // namespace qh
