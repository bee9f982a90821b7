#include "skin/engine/frame/frame_hit_tester.h"

#include "skin/engine/frame/win_skin_form.h"
#include "skin/render/frame_metrics.h"

namespace qh {

LRESULT TFrameHitTester::NcCalcSize(WPARAM wParam, LPARAM lParam) const {
    const bool passThrough = FForm.Borderless() || FForm.MdiChildNotNormal();
    const TFrameWidths widths = FForm.Widths();
    const int bar = FForm.MenuBarHeight();
    if (!wParam) {
        // The rectangle is the window's; the client is it less the frame.
        auto* r = reinterpret_cast<RECT*>(lParam);
        const TRect c =
            NcClientRect({r->left, r->top, r->right, r->bottom}, widths, bar, passThrough);
        *r = {c.Left, c.Top, c.Right, c.Bottom};
        return 0;
    }
    auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
    const WINDOWPOS* pos = params->lppos;
    RECT client = params->rgrc[0];
    if (!passThrough) {
        const TRect c =
            NcClientRect(RectOfSize(pos->x, pos->y, pos->cx, pos->cy), widths, bar, false);
        client = {c.Left, c.Top, c.Right, c.Bottom};
    }
    params->rgrc[0] = params->rgrc[1] = params->rgrc[2] = client;
    return kWvrValidRects;
}

LRESULT TFrameHitTester::NcHitTest(LRESULT result, POINT screen) const {
    const POINT p = ToWindow(screen);
    const int top = FForm.Widths().Top, bar = FForm.MenuBarHeight();
    // A frame without the system's caption gives its border where the
    // skin's caption and menu bar are: they are nowhere to the system.
    if (result == HTBORDER && p.y < top + bar) result = HTNOWHERE;
    return AdjustNcHitTest(static_cast<int>(result), p.y, top, bar);
}

POINT TFrameHitTester::ToWindow(POINT screen) const {
    POINT p = screen;
    ScreenToClient(FForm.Window(), &p);
    const TPoint w =
        WindowPointOfClient({p.x, p.y}, FForm.Widths(), FForm.MenuBarHeight(), FForm.Minimized());
    return {w.X, w.Y};
}

} // namespace qh
