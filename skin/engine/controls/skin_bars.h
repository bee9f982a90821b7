// The skinned bars: the status bar with its panels, the progress bar and
// the track bar's thumb. Each paints off-screen and copies once; a skin
// without the part leaves the control its own look.
#pragma once

#include "skin/engine/dib_section.h"
#include "skin/engine/controls/skin_control.h"
#include "toolkit/win_handle.h"

#include <memory>

namespace qh {

// A skin control with its own off-screen picture, repainted on WM_PAINT.
class TSkinPaintedControl : public TSkinControl {
    QH_CLASS(TSkinPaintedControl, TSkinControl)
    explicit TSkinPaintedControl(TComponent* owner);
    ~TSkinPaintedControl() override;

    bool FilterMessage(TMessage& message) override;

protected:
    // Whether the skin has what this control paints with.
    virtual bool HasPart() const = 0;
    TDibSection& Picture(int width, int height);

private:
    std::unique_ptr<TDibSection> FPicture;
};

class TSkinStatusBar : public TSkinPaintedControl {
    QH_CLASS(TSkinStatusBar, TSkinPaintedControl)
    explicit TSkinStatusBar(TComponent* owner);

    bool FilterMessage(TMessage& message) override;
    void PaintTo(HDC dc, const RECT& rect) override;

protected:
    bool HasPart() const override;
};

class TSkinProgress : public TSkinPaintedControl {
    QH_CLASS(TSkinProgress, TSkinPaintedControl)
    explicit TSkinProgress(TComponent* owner);

    bool FilterMessage(TMessage& message) override;
    void PaintTo(HDC dc, const RECT& rect) override;

protected:
    bool HasPart() const override;
};

// The track bar paints its channel and ticks itself, into our picture; the
// skin's thumb goes on top at the place the control reports.
class TSkinTrackBar : public TSkinPaintedControl {
    QH_CLASS(TSkinTrackBar, TSkinPaintedControl)
    explicit TSkinTrackBar(TComponent* owner);

    bool FilterMessage(TMessage& message) override;
    void PaintTo(HDC dc, const RECT& rect) override;

protected:
    bool HasPart() const override;

private:
    const TDataSkinObject* Thumb() const;
    TBrushHandle FBackBrush;
    COLORREF FBackColour = 0;
};

} // namespace qh
