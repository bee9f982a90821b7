// The skinned check boxes, radio buttons and group boxes. The boxes show
// the state image of the Button part's check or radio strip beside their
// caption; the group box draws its frame line and caption in the skin's
// colours. A skin without the strip leaves the control its own look.
#pragma once

#include "skin/engine/controls/skin_buttons.h"

namespace qh {

class TSkinCheckBox : public TSkinButton {
    QH_CLASS(TSkinCheckBox, TSkinButton)
    explicit TSkinCheckBox(TComponent* owner);

    bool FilterMessage(TMessage& message) override;
    void PaintTo(HDC dc, const RECT& rect) override;

    // kUnchecked, kChecked or kGrayed: the control's "Checked" property
    // when it publishes one, else the system button's check state.
    int CheckState() const;

protected:
    bool Skinned() const override;
    // The strip of state images and its frame count; none without an image.
    virtual const TBitmap* Strip(int& frames) const;
    // What the system button does on a click: an automatic button changes
    // its own check state, then the parent hears BN_CLICKED. False when
    // this object was freed meanwhile.
    virtual bool ClickBox();
};

class TSkinRadioButton : public TSkinCheckBox {
    QH_CLASS(TSkinRadioButton, TSkinCheckBox)
    explicit TSkinRadioButton(TComponent* owner);

protected:
    const TBitmap* Strip(int& frames) const override;
    bool ClickBox() override;
};

class TSkinGroupBox : public TSkinControl {
    QH_CLASS(TSkinGroupBox, TSkinControl)
    explicit TSkinGroupBox(TComponent* owner);
    ~TSkinGroupBox() override;

    bool FilterMessage(TMessage& message) override;
    void PaintTo(HDC dc, const RECT& rect) override;

private:
    std::unique_ptr<TDibSection> FPicture;
};

// The background under a skinned control: its parent's colour for a control
// of the class library, else the skin's button face.
COLORREF SkinBackground(const TSkinControl& skin);
// The font a control or window draws its text in.
HFONT SkinControlFont(const TSkinControl& skin);

} // namespace qh
