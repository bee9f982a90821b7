#include "skin/render/caption_layout.h"

#include "skin/render/frame_styles.h"

#include <algorithm>

namespace qh {

TCaptionTextPlace PlaceCaptionText(const TCaptionTextInput& in) {
    const TTitleMetrics& t = in.Title;
    const int width = in.Measured.Width + t.BackLeft + t.BackRight;
    const int height = in.Measured.Height;
    const int room = in.Caption.Width();
    int dx = 0;
    switch (in.RightToLeft ? 2 : t.Alignment) {
    case 0:
        dx = t.Shift;
        break;
    case 1:
        dx = (room - width) / 2;
        break;
    case 2:
        dx = room - t.RightClip - width;
        break;
    default:
        break;
    }
    const int dy = (in.Caption.Height() - height) / 2 + t.ShiftVert / 2;
    TCaptionTextPlace place;
    TRect& text = place.TextRect;
    text = RectOfSize(in.Caption.Left + dx, in.Caption.Top + dy, width, height);
    if (in.Popup) {
        if (text.Right < in.RightButtonLeft - 5) text.Right = in.RightButtonLeft - 5;
    } else if (text.Right > in.Caption.Right - t.RightClip) {
        text.Right = in.Caption.Right - t.RightClip;
    }
    place.BackRect = {text.Left, in.Caption.Top, text.Right, in.Caption.Bottom};
    place.DrawRect = {text.Left + t.BackLeft, text.Top, text.Right - t.BackRight, text.Bottom};
    return place;
}

bool VisibilityHolds(int code, bool first, int action, const TCaptionState& s) {
    const bool maxBox = (s.BoxFlags & kBoxMaximize) != 0;
    const bool minBox = (s.BoxFlags & kBoxMinimize) != 0;
    const bool sysMenu = (s.BoxFlags & kBoxSystemMenu) != 0;
    switch (code) {
    case 0:
        return !first || action != 0 || sysMenu;
    case 1:
        return s.Maximized;
    case 2:
        return !s.Maximized;
    case 3:
        return s.Active;
    case 4:
        return !s.Active;
    case 6:
        return maxBox && (!first || sysMenu);
    case 7:
        return !maxBox;
    case 8:
        return minBox && (!first || sysMenu);
    case 9:
        return !minBox;
    case 100:
        return s.MdiFrameChildMaximized && s.MenuBarHeight > 0;
    default:
        return code >= 200 && code <= 2000;
    }
}

bool CaptionButtonVisible(const TDataSkinSysButton& part, const TCaptionState& state) {
    if (!VisibilityHolds(part.Visibility, true, part.Action, state)) return false;
    if (!VisibilityHolds(part.Visibility1, false, part.Action, state)) return false;
    if (part.Action == 1 && (state.BoxFlags & kBoxMaximize) == 0) return false;
    if (part.Action == 2 && (state.BoxFlags & kBoxMinimize) == 0) return false;
    return true;
}

bool IsIconButton(int action) {
    return action == 3 || action == 11;
}

namespace {

bool ShowsIcon(const TDataSkinSysButton& part) {
    return IsIconButton(part.Action) && part.Image.Empty();
}

bool Holds(const TRect& r, const TPoint& p) {
    return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

} // namespace

const TBitmap& CaptionButtonImage(const TDataSkinSysButton& part, const TBitmap& iconBitmap) {
    return ShowsIcon(part) ? iconBitmap : part.Image;
}

int CaptionButtonFrames(const TDataSkinSysButton& part) {
    if (ShowsIcon(part)) return 1;
    return part.Frame < 1 ? 1 : part.Frame;
}

TCaptionButtonLayout LayoutCaptionButtons(const std::vector<const TDataSkinSysButton*>& parts,
                                          const TBitmap& iconBitmap, const TCaptionState& state,
                                          const TCaptionGeometry& g) {
    TCaptionButtonLayout layout;
    layout.Buttons.reserve(parts.size());
    for (const TDataSkinSysButton* part : parts) {
        TPlacedButton placed;
        if (!part) {
            layout.Buttons.push_back(placed);
            continue;
        }
        placed.Action = part->Action;
        const TBitmap& image = CaptionButtonImage(*part, iconBitmap);
        placed.Visible = !image.Empty() && CaptionButtonVisible(*part, state);
        if (placed.Visible) {
            const int w = image.Width() / CaptionButtonFrames(*part);
            const int h = image.Height();
            TPoint at;
            switch (part->Align) {
            case 0:
                at = {part->XCoord, part->YCoord};
                break;
            case 1:
                at = {g.WindowWidth - part->XCoord, part->YCoord};
                if (at.X > layout.RightButtonLeft) layout.RightButtonLeft = at.X;
                break;
            case 2:
            case 8:
                at = {g.TextRect.Left - w - part->XCoord, part->YCoord};
                break;
            case 3:
            case 9:
                at = {g.TextRect.Right + part->XCoord, part->YCoord};
                break;
            case 100: {
                const int fromEdge = part->XCoord + g.MenuBarLeftMargin;
                at.X = g.RightToLeft ? g.Frame.Left + fromEdge - w
                                     : g.WindowWidth - g.Frame.Right - fromEdge;
                at.Y = g.Frame.Top + (g.MenuBarHeight - h) / 2;
                break;
            }
            default:
                break;
            }
            placed.Bounds = RectOfSize(at.X, at.Y, w, h);
        }
        layout.Buttons.push_back(placed);
    }
    return layout;
}

int CaptionPaintFrame(bool active, int frames) {
    return active || frames < 4 ? 1 : 4;
}

int ButtonPaintFrame(int state, int visibility) {
    if (state == 3 && visibility == 100) return 4;
    return state;
}

int CaptionButtonCell(int state, bool active, int visibility, int frames) {
    if (state == 1 && visibility != 100) return CaptionPaintFrame(active, frames);
    return std::min(ButtonPaintFrame(state, visibility), frames);
}

int CaptionButtonAt(const std::vector<TPlacedButton>& buttons, const TPoint& point) {
    for (size_t i = 0; i < buttons.size(); ++i) {
        const TPlacedButton& b = buttons[i];
        if (b.Visible && b.Action >= 0 && Holds(b.Bounds, point)) return static_cast<int>(i);
    }
    return -1;
}

} // namespace qh
