// The skinned scroll bars: those a window draws in its own non-client area
// (memos, list boxes, tree views, any window with WS_VSCROLL or WS_HSCROLL),
// with a thumb drag of our own so that the thumb stays skinned while it
// moves; a stand-alone scroll bar control; and the size grip. A skin
// without the ScrollArrows image leaves them their own look.
#pragma once

#include "skin/engine/controls/skin_control.h"
#include "skin/render/scroll_metrics.h"
#include "skin/render/scroll_picture.h"

namespace qh {

// The scroll bar parts of a skin, or none when it has no arrows image.
bool ScrollPartsOf(const TSkinParts& data, bool vertical, TScrollBarParts& parts);
// One bar painted at `bar` (window or client coordinates of dc): composed
// 16 pixels thick at 96 DPI (scaled at dpi), stretched onto the bar, put on
// dc in one copy.
void PaintScrollBarPicture(HDC dc, const RECT& bar, bool vertical, const TScrollBarParts& parts,
                           const TThumbMetrics& metrics, TScrollPress pressed, int dpi);

class TSkinScrollbar : public TSkinControl {
    QH_CLASS(TSkinScrollbar, TSkinControl)
    explicit TSkinScrollbar(TComponent* owner);

    void AttachControl(TWinSkinForm* form, TSkinData* skinData, bool background,
                       TCanvas* canvas) override;
    void AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* form,
                      TCanvas* canvas) override;
    // Puts the handler in front of the control's (the owner), with thumb
    // presses dragged by us when tracking is on.
    virtual void AttachScrollBars(TControl* control, TSkinData* skinData, bool tracking,
                                  TWinSkinForm* form, TCanvas* canvas);
    void Detach() override;
    bool FilterMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void PaintTo(HDC dc, const RECT& rect) override;
    void SkinChanged() override;

    // The tracking AttachControl uses (the mapping decides it per control).
    void SetCustomTracking(bool tracking) { FCustomTracking = tracking; }
    bool CustomTracking() const { return FCustomTracking; }
    bool Dragging() const { return FDragging; }

protected:
    struct TBar {
        TScrollInfo Info;
        RECT Rect{0, 0, 0, 0}; // window coordinates
        TThumbMetrics Metrics;
    };
    TBar FHorz, FVert;

private:
    // The frame recomputed, so that the window asks for its bars anew.
    void FrameChanged();
    void Layout(TScrollBarLayout& layout);
    void UpdateMetrics(TBar& bar, int nBar, int length);
    // A press on a bar (screen point); true when it started our drag.
    bool PressBar(int hit, POINT screen);
    void DragThumb(int nBar, POINT start);
    void OnScroll(TMessage& message, bool vertical);

    TScrollPress FPressed = TScrollPress::None;
    uint32_t FStyle = 0, FExStyle = 0;
    RECT FCorner{0, 0, 0, 0};
    bool FDragging = false;
    bool FCustomTracking = true;
    bool FSystemScrollsV = false, FSystemScrollsH = false;
    int FExtraTop = 0;
};

// A stand-alone scroll bar control ("SCROLLBAR" class, TScrollBar): the
// same parts over its client area; the system drags its thumb.
class TSkinScControl : public TSkinControl {
    QH_CLASS(TSkinScControl, TSkinControl)
    explicit TSkinScControl(TComponent* owner);

    bool FilterMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void PaintNow(HDC dc = nullptr) override;
    void PaintTo(HDC dc, const RECT& rect) override;

private:
    TScrollInfo FInfo;
    TThumbMetrics FMetrics;
    TScrollPress FPressed = TScrollPress::None;
};

// A size grip: ButtonFace with the grip's diagonal lines in ButtonShadow.
// A scroll bar window that is no size grip keeps its own look.
class TSkinSizer : public TSkinControl {
    QH_CLASS(TSkinSizer, TSkinControl)
    explicit TSkinSizer(TComponent* owner);

    bool FilterMessage(TMessage& message) override;
    void PaintNow(HDC dc = nullptr) override;
    void PaintTo(HDC dc, const RECT& rect) override;

private:
    bool IsGrip() const;
};

} // namespace qh
