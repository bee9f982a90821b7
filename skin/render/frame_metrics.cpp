#include "skin/render/frame_metrics.h"

#include "core/text.h"

namespace qh {

namespace {

int Cell(const TDataSkinObject* part, bool acrossWidth) {
    if (!part) return 0;
    const int frames = part->Frame < 1 ? 1 : part->Frame;
    return (acrossWidth ? part->Image.Width() : part->Image.Height()) / frames;
}

} // namespace

TFrameWidths FrameWidthsOf(const TDataSkinObject* left, const TDataSkinObject* top,
                           const TDataSkinObject* right, const TDataSkinObject* bottom,
                           bool borderless) {
    if (borderless) return {};
    return {Cell(left, true), Cell(top, false), Cell(right, true), Cell(bottom, false)};
}

TTitleMetrics TitleMetricsOf(const TDataSkinTitle* title) {
    if (!title) return {};
    return {title->LeftWidth,   title->TopHeight,    title->RightWidth,
            title->TXTBackleft, title->TXTBackRight, title->TextAlignment};
}

bool IsMessageBoxClass(const std::string& className) {
    const std::string lower = LowerCase(className);
    return lower == "tmessageform" || lower == "#32770";
}

TKeepClientSizeResult KeepClientSize(const TKeepClientSizeInput& in) {
    TKeepClientSizeResult result;
    if (in.Maximized) return result;
    TSize client = in.Client;
    if (in.FormFirstAttach) {
        client.Width = in.FormClientWidth > 0 ? in.FormClientWidth : 0;
        client.Height = in.FormClientHeight > 0 ? in.FormClientHeight : 0;
    }
    result.Resize = true;
    result.Window.Width = client.Width + in.Frame.Left + in.Frame.Right;
    result.Window.Height = client.Height + in.Frame.Top + in.Frame.Bottom + in.MenuBarHeight;
    if (in.MessageBoxFirstAttach) {
        const int needed = (in.CaptionChars + 7) * in.SpaceWidth + in.Frame.Left +
                           in.Frame.Right + in.Title.Shift + in.Title.RightClip +
                           in.Title.BackLeft + in.Title.BackRight;
        if (result.Window.Width < needed) {
            result.ChildShift = (needed - result.Window.Width) / 2;
            result.Window.Width = needed;
        }
    }
    return result;
}

TRect NcClientRect(const TRect& proposed, const TFrameWidths& frame, int menuBarHeight,
                   bool passThrough) {
    if (passThrough) return proposed;
    TRect client{proposed.Left + frame.Left, proposed.Top + frame.Top + menuBarHeight,
                 proposed.Right - frame.Right, proposed.Bottom - frame.Bottom};
    if (client.Left > proposed.Right) client.Left = proposed.Right;
    if (client.Top > proposed.Bottom) client.Top = proposed.Bottom;
    if (client.Right < client.Left) client.Right = client.Left;
    if (client.Bottom < client.Top) client.Bottom = client.Top;
    return client;
}

TPoint WindowPointOfClient(const TPoint& client, const TFrameWidths& frame, int menuBarHeight,
                           bool minimized) {
    if (minimized) return client;
    return {client.X + frame.Left, client.Y + frame.Top + menuBarHeight};
}

int AdjustNcHitTest(int previous, int windowY, int frameTop, int menuBarHeight) {
    if (previous != kHtNowhere && previous != kHtCaption) return previous;
    if (windowY >= frameTop && windowY < frameTop + menuBarHeight)
        return kHtMenu;
    if (windowY > 3 && windowY < frameTop) return kHtCaption;
    return previous;
}

} // namespace qh
