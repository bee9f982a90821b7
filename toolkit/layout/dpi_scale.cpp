#include "toolkit/layout/dpi_scale.h"

namespace qh {

TPoint ScaleForDpi(const TPoint& point, int dpi) {
    return {ScaleForDpi(point.X, dpi), ScaleForDpi(point.Y, dpi)};
}

TSize ScaleForDpi(const TSize& size, int dpi) {
    return {ScaleForDpi(size.Width, dpi), ScaleForDpi(size.Height, dpi)};
}

TRect ScaleForDpi(const TRect& rect, int dpi) {
    return {ScaleForDpi(rect.Left, dpi), ScaleForDpi(rect.Top, dpi), ScaleForDpi(rect.Right, dpi),
            ScaleForDpi(rect.Bottom, dpi)};
}

TMargins ScaleForDpi(const TMargins& margins, int dpi) {
    return {ScaleForDpi(margins.Left, dpi), ScaleForDpi(margins.Top, dpi),
            ScaleForDpi(margins.Right, dpi), ScaleForDpi(margins.Bottom, dpi)};
}

TPoint UnscaleForDpi(const TPoint& point, int dpi) {
    return {UnscaleForDpi(point.X, dpi), UnscaleForDpi(point.Y, dpi)};
}

TSize UnscaleForDpi(const TSize& size, int dpi) {
    return {UnscaleForDpi(size.Width, dpi), UnscaleForDpi(size.Height, dpi)};
}

TRect UnscaleForDpi(const TRect& rect, int dpi) {
    return {UnscaleForDpi(rect.Left, dpi), UnscaleForDpi(rect.Top, dpi),
            UnscaleForDpi(rect.Right, dpi), UnscaleForDpi(rect.Bottom, dpi)};
}

int RescaleForDpi(int value, int fromDpi, int toDpi) {
    if (fromDpi == toDpi) return value;
    return ScaleForDpi(UnscaleForDpi(value, fromDpi), toDpi);
}

TRect RescaleForDpi(const TRect& rect, int fromDpi, int toDpi) {
    if (fromDpi == toDpi) return rect;
    return ScaleForDpi(UnscaleForDpi(rect, fromDpi), toDpi);
}

} // namespace qh
