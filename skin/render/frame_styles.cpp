#include "skin/render/frame_styles.h"

namespace qh {

TBorderKind BorderKindOf(uint32_t style) {
    if ((style & kWsPopup) != 0 && (style & kWsCaption) != kWsCaption) return TBorderKind::None;
    if ((style & kWsThickFrame) != 0) return TBorderKind::Sizeable;
    if ((style & kDsModalFrame) != 0) return TBorderKind::Dialog;
    return TBorderKind::Fixed;
}

unsigned BoxFlagsOf(uint32_t style, bool hasSystemMenu) {
    unsigned flags = 0;
    if ((style & kWsMaximizeBox) != 0) flags |= kBoxMaximize;
    if ((style & kWsMinimizeBox) != 0) flags |= kBoxMinimize;
    if ((style & kWsSysMenu) != 0 || hasSystemMenu) flags |= kBoxSystemMenu;
    return flags;
}

TMdiKind MdiKindOf(uint32_t exStyle, bool hasMdiClientChild) {
    if ((exStyle & kWsExMdiChild) != 0) return TMdiKind::Child;
    return hasMdiClientChild ? TMdiKind::Frame : TMdiKind::Ordinary;
}

TShowState ShowStateOf(int showCommand) {
    switch (showCommand) {
    case kSwShowMinimized:
    case kSwMinimize:
    case kSwShowMinNoActive:
        return TShowState::Minimized;
    case kSwShowMaximized:
        return TShowState::Maximized;
    default:
        return TShowState::Normal;
    }
}

TFrameStyles ApplyFrameStyles(const TFrameStyles& current, bool show, bool ownedOrMdiChild,
                              bool mdiChildInMaximizedMode) {
    TFrameStyles result = current;
    if (show) {
        if ((current.BoxFlags & kBoxSystemMenu) != 0) result.Style |= kWsSysMenu;
        if ((current.BoxFlags & kBoxMinimize) != 0) result.Style |= kWsMinimizeBox;
        if ((current.BoxFlags & kBoxMaximize) != 0) result.Style |= kWsMaximizeBox;
        if ((current.BoxFlags & kBoxCaptionRemoved) != 0) result.Style |= kWsCaption;
        return result;
    }
    if (mdiChildInMaximizedMode) return result;
    if (ownedOrMdiChild) {
        result.Style &= ~kWsCaptionBoxes;
    } else if ((current.Style & kWsCaption) == kWsCaption) {
        result.Style &= ~kWsCaption;
        result.BoxFlags |= kBoxCaptionRemoved;
    }
    return result;
}

} // namespace qh
