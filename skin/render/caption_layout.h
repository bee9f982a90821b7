// The caption strip's layout: where the caption text and its text-back
// picture go, which caption buttons show, where they sit, which state cell
// they paint, and which one lies under a point. Coordinates are the
// window's, whose top-left is the caption strip's too.
#pragma once

#include <vector>

#include "images/bitmap.h"
#include "skin/data/skin_objects.h"
#include "skin/render/frame_metrics.h"
#include "core/geometry.h"

namespace qh {

struct TCaptionTextInput {
    TRect Caption;      // the caption rectangle between the side borders
    TSize Measured;     // of caption + " " + prefix, one line, unclipped
    TTitleMetrics Title;
    bool RightToLeft = false;
    bool Popup = false; // WS_POPUP
    int RightButtonLeft = 0; // from the last button layout, 0 before it
};

struct TCaptionTextPlace {
    // Where the text went (kept for the button layout); it may be empty or
    // inverted when the right clip leaves no room.
    TRect TextRect;
    // The text-back picture's rectangle: TextRect's width, the caption's height.
    TRect BackRect;
    // Where the text is drawn: TextRect without the text-back margins.
    TRect DrawRect;
};

// Alignment 0 at the text shift, 1 centred, 2 against the right clip,
// others at the left; right to left is always right. The text is centred
// vertically and moved down by half the vertical shift. A popup's text
// reaches at least to 5 pixels left of the right-aligned buttons; any other
// window's is cut at the right clip.
TCaptionTextPlace PlaceCaptionText(const TCaptionTextInput& input);

// What the visibility codes of a caption button look at.
struct TCaptionState {
    bool Maximized = false;
    bool Active = false;
    unsigned BoxFlags = 0;
    // An MDI frame whose active child is maximised.
    bool MdiFrameChildMaximized = false;
    int MenuBarHeight = 0;
};

// One code of a button: `first` for Visibility, else Visibility1.
bool VisibilityHolds(int code, bool first, int action, const TCaptionState& state);
// Both codes hold, and a maximise button (Action 1) needs the maximise box,
// a minimise button (Action 2) the minimise box.
bool CaptionButtonVisible(const TDataSkinSysButton& part, const TCaptionState& state);

// Icon buttons show the window's icon when they have no picture of their own.
bool IsIconButton(int action);
// The picture a button paints and its frame count: the window's icon as
// one frame for an icon button without a picture, else its own (a frame
// count below 1 counts as 1).
const TBitmap& CaptionButtonImage(const TDataSkinSysButton& part, const TBitmap& iconBitmap);
int CaptionButtonFrames(const TDataSkinSysButton& part);

struct TCaptionGeometry {
    int WindowWidth = 0;
    TRect TextRect; // from PlaceCaptionText
    TFrameWidths Frame;
    int MenuBarHeight = 0;
    int MenuBarLeftMargin = 0; // the menu bar part's left margin
    bool RightToLeft = false;
};

struct TPlacedButton {
    TRect Bounds;
    bool Visible = false;
    int Action = 0;
    bool operator==(const TPlacedButton&) const = default;
};

struct TCaptionButtonLayout {
    std::vector<TPlacedButton> Buttons; // one per part, in order
    // The largest left edge of the right-aligned buttons, 0 when none.
    int RightButtonLeft = 0;
};

// Each visible button with a picture gets the size of one state cell and a
// place by its Align: 0 at (XCoord, YCoord); 1 XCoord left of the window's
// right edge; 2 and 8 left of the text, 3 and 9 right of it, XCoord away;
// 100 (MDI child buttons) centred in the menu bar, XCoord from its right end
// (or, mirrored, from its left end right to left); any other at (0, 0).
// Buttons that do not show get no place.
TCaptionButtonLayout LayoutCaptionButtons(const std::vector<const TDataSkinSysButton*>& parts,
                                          const TBitmap& iconBitmap,
                                          const TCaptionState& state,
                                          const TCaptionGeometry& geometry);

// The state cell a button paints with in the caption strip.
int CaptionPaintFrame(bool active, int frames);
// The cell a button paints when it repaints itself: its state (1 normal,
// 2 pressed, 3 hot), and cell 4 for a hot MDI child button.
int ButtonPaintFrame(int state, int visibility);
// The cell a caption button paints in its state: at rest the cell of the
// window's activation, except the MDI child's buttons in the menu bar,
// which have none; never past the last of its `frames` cells.
int CaptionButtonCell(int state, bool active, int visibility, int frames);

// The first visible button with an action of 0 or more holding the point,
// or -1.
int CaptionButtonAt(const std::vector<TPlacedButton>& buttons, const TPoint& point);

} // namespace qh
