// The sizes of a skinned frame: border widths from the skin, the window
// size that keeps the client area, the client rectangle the system is told,
// and where a point of the window lies in the frame.
#pragma once

#include <string>

#include "skin/data/skin_objects.h"
#include "core/geometry.h"

namespace qh {

struct TFrameWidths {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool operator==(const TFrameWidths&) const = default;
};

// One state cell of each border: the side borders' width and the top and
// bottom borders' height, over the part's frame count (below 1 counts as
// 1). A missing part gives 0; a borderless window has no frame at all.
TFrameWidths FrameWidthsOf(const TDataSkinObject* left, const TDataSkinObject* top,
                           const TDataSkinObject* right, const TDataSkinObject* bottom,
                           bool borderless);

// What the title part says about the caption text, from its inherited
// fields (a missing part gives zeros).
struct TTitleMetrics {
    int Shift = 0;     // TextShift
    int ShiftVert = 0; // TextShiftVert
    int RightClip = 0; // TextRightClip
    int BackLeft = 0;  // left and right margins of the text-back picture
    int BackRight = 0;
    int Alignment = 0;
};
TTitleMetrics TitleMetricsOf(const TDataSkinTitle* title);

// The system's message box classes; they are matched without regard to case.
bool IsMessageBoxClass(const std::string& className);

struct TKeepClientSizeInput {
    TSize Client; // the client area to keep
    TFrameWidths Frame;
    int MenuBarHeight = 0;
    bool Maximized = false;
    // The first attach of a window with a form: the client area is the
    // form's own. (Working the height out of the window height less the
    // system's frame, caption and menu metrics is a pixel or more off
    // wherever the real frame differs from those metrics.)
    bool FormFirstAttach = false;
    int FormClientWidth = 0;
    int FormClientHeight = 0;
    // The first attach of a message box: the caption must fit.
    bool MessageBoxFirstAttach = false;
    int CaptionChars = 0; // of the caption as wide text
    int SpaceWidth = 0;   // of one space in the caption font
    TTitleMetrics Title;
};

struct TKeepClientSizeResult {
    // False when maximised: only the frame is recomputed.
    bool Resize = false;
    TSize Window;
    // How far every child window moves right (a widened message box).
    int ChildShift = 0;
};

// The window size around the kept client area, frame and menu bar; a
// client height worked out below 0 counts as 0.
TKeepClientSizeResult KeepClientSize(const TKeepClientSizeInput& input);

// The client rectangle for WM_NCCALCSIZE from the proposed window
// rectangle: inside the frame and below the menu bar; a frame larger than
// the window leaves an empty client area inside the window, never an
// inverted one. Borderless windows and minimised or maximised MDI children
// keep the proposed rectangle.
TRect NcClientRect(const TRect& proposedWindow, const TFrameWidths& frame, int menuBarHeight,
                   bool passThrough);
// The result of the message whenever the rectangles were given.
inline constexpr int kWvrValidRects = 0x400; // WVR_VALIDRECTS

// Hit-test codes.
inline constexpr int kHtNowhere = 0; // HTNOWHERE
inline constexpr int kHtCaption = 2; // HTCAPTION
inline constexpr int kHtMenu = 5;    // HTMENU

// A client point in window coordinates; a minimised window has no frame
// around its client point.
TPoint WindowPointOfClient(const TPoint& client, const TFrameWidths& frame, int menuBarHeight,
                           bool minimized);

// The hit-test result after the system's: where the system found nothing
// or the caption, the menu bar band (window rows FrameTop up to the menu
// bar's height) is the menu and the caption strip below its top 4 rows
// (those stay the system's) is the caption. Any other result stands.
int AdjustNcHitTest(int previous, int windowY, int frameTop, int menuBarHeight);

} // namespace qh
