// Controls and forms shown at the DPI of the monitor their window is on;
// every figure they hold is described at 96 DPI.
#include "toolkit/dpi.h"
#include "toolkit/forms.h"
#include "toolkit/glyph_buttons.h"
#include "toolkit/tool_bar.h"
#include "toolkit/layout/dpi_scale.h"

namespace qh {

int TControl::CurrentDpi() const {
    return FParent ? FParent->CurrentDpi() : kDesignDpi;
}

int TControl::ScaleFigure(int value) const {
    return qh::ScaleForDpi(value, CurrentDpi());
}

void TControl::ChangeScale(int fromDpi, int toDpi) {
    FFiguresDpi = toDpi;
    const TRect r = RescaleForDpi(TRect{FLeft, FTop, FLeft + FWidth, FTop + FHeight}, fromDpi, toDpi);
    if (FAlign == alNone)
        SetBounds(r.Left, r.Top, r.Width(), r.Height());
    else // laid out by its size: a bar is as high wherever it sits
        SetBounds(r.Left, r.Top, RescaleForDpi(FWidth, fromDpi, toDpi),
                  RescaleForDpi(FHeight, fromDpi, toDpi));
    // A font taken from the parent is scaled there.
    if (!FParentFont) FFont->SetHeight(RescaleForDpi(FFont->Height(), fromDpi, toDpi));
}

void TWinControl::ChangeScale(int fromDpi, int toDpi) {
    TControl::ChangeScale(fromDpi, toDpi);
    ScaleChildren(fromDpi, toDpi);
}

void TWinControl::ScaleChildren(int fromDpi, int toDpi) {
    for (TControl* child : std::vector<TControl*>(FControls))
        child->ChangeScale(fromDpi, toDpi);
    Realign();
}

void TButtonGlyph::ScaleGlyphFigures(int fromDpi, int toDpi) {
    // -1: centred, whatever the DPI.
    if (FMargin >= 0) FMargin = RescaleForDpi(FMargin, fromDpi, toDpi);
    if (FSpacing >= 0) FSpacing = RescaleForDpi(FSpacing, fromDpi, toDpi);
}

void TSpeedButton::ChangeScale(int fromDpi, int toDpi) {
    TGraphicControl::ChangeScale(fromDpi, toDpi);
    ScaleGlyphFigures(fromDpi, toDpi);
}

void TBitBtn::ChangeScale(int fromDpi, int toDpi) {
    TButton::ChangeScale(fromDpi, toDpi);
    ScaleGlyphFigures(fromDpi, toDpi);
}

void TToolBar::ChangeScale(int fromDpi, int toDpi) {
    FButtonWidth = RescaleForDpi(FButtonWidth, fromDpi, toDpi);
    FButtonHeight = RescaleForDpi(FButtonHeight, fromDpi, toDpi);
    TWinControl::ChangeScale(fromDpi, toDpi);
}

void TCustomForm::ScaleForDpi(int dpi, const RECT* windowRect) {
    if (dpi != FCurrentDpi) ScaleFigures(FCurrentDpi, dpi);
    if (!windowRect) return;
    const bool clientSized = FClientWidth >= 0;
    const int clientWidth = FClientWidth, clientHeight = FClientHeight;
    TWinControl::SetBounds(windowRect->left, windowRect->top, windowRect->right - windowRect->left,
                           windowRect->bottom - windowRect->top);
    // The suggested rectangle is the old frame scaled; a described client
    // size stays exact.
    if (clientSized) SetClientSize(clientWidth, clientHeight);
}

void TCustomForm::ScaleFigures(int fromDpi, int toDpi) {
    FCurrentDpi = toDpi;
    // Controls that take the form's font follow it.
    Font()->SetHeight(RescaleForDpi(Font()->Height(), fromDpi, toDpi));
    if (FClientWidth >= 0)
        SetClientSize(RescaleForDpi(FClientWidth, fromDpi, toDpi),
                      RescaleForDpi(FClientHeight, fromDpi, toDpi));
    else
        SetBounds(Left(), Top(), RescaleForDpi(Width(), fromDpi, toDpi),
                  RescaleForDpi(Height(), fromDpi, toDpi));
    ScaleChildren(fromDpi, toDpi);
    if (OnDpiChanged) OnDpiChanged(this);
}

} // namespace qh
