// The pictures of one skinned frame: borders, the caption strip composed
// off-screen with its text and buttons, the painted menu bar's place, and
// the window region cut where the border images are magenta. Holds the
// caption font, the caption strip and what it knows of the region.
// Owned by the frame (TWinSkinForm).
#pragma once

#include "skin/engine/dib_section.h"
#include "toolkit/graphics.h"

#include <windows.h>

#include <memory>
#include <string>

namespace qh {

class TWinSkinForm;

class TFramePainter {
public:
    explicit TFramePainter(TWinSkinForm& form) : FForm(form) {}

    // The system's caption font, and the width of a space in it.
    void ReadCaptionFont();
    int SpaceWidth() const { return FSpaceWidth; }

    // Paints the frame on dc, or on the window's own context.
    void PaintFrame(HDC dc = nullptr);
    void PaintCaption(HDC dc, int width);
    void PaintMenuBar(HDC dc, int width);

    // Cuts the region again when the window's size changed since the last cut.
    void BuildRegion();
    // The next BuildRegion cuts whatever the size.
    void ForgetRegionSize() { FRegionSize = {0, 0}; }
    bool HasRegion() const { return FHasRegion; }
    // The window goes back to having no region.
    void DropRegion(bool windowAlive = true);
    // The caption strip goes; the next paint makes another.
    void FreeStrip() { FCaptionBitmap.reset(); }

private:
    void PaintBorders(HDC dc, int width, int height);
    void PaintCaptionText(TDibSection& strip, const RECT& r);

    TWinSkinForm& FForm;
    TFont FCaptionFont;
    std::wstring FCaptionPrefix = L"  ";
    int FSpaceWidth = 4;
    // Where the caption text went at the last paint.
    RECT FTextRect{0, 0, 0, 0};
    std::unique_ptr<TDibSection> FCaptionBitmap;
    // The region is the system's once set; only whether there is one is kept.
    bool FHasRegion = false;
    SIZE FRegionSize{0, 0};
};

} // namespace qh
