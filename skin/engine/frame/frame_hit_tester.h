// Where things are on one skinned frame for the system: the client area
// inside the skin's borders, caption and menu bar (WM_NCCALCSIZE), the
// hit-test answer for a point (WM_NCHITTEST), and screen points turned
// into points of the window. Holds nothing of its own; owned by the frame
// (TWinSkinForm).
#pragma once

#include <windows.h>

namespace qh {

class TWinSkinForm;

class TFrameHitTester {
public:
    explicit TFrameHitTester(const TWinSkinForm& form) : FForm(form) {}

    // The system's procedure has answered already; the client rectangle
    // becomes the one inside the skin's frame.
    LRESULT NcCalcSize(WPARAM wParam, LPARAM lParam) const;
    // The system's answer for a screen point, as the skinned frame has it.
    LRESULT NcHitTest(LRESULT systemAnswer, POINT screen) const;
    POINT ToWindow(POINT screen) const;

private:
    const TWinSkinForm& FForm;
};

} // namespace qh
