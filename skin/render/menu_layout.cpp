#include "skin/render/menu_layout.h"

#include "core/mul_div.h"

#include <algorithm>
#include <cwctype>

namespace qh {

wchar_t AccessKeyOf(const std::wstring& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i)
        if (caption[i] == L'&') {
            if (caption[i + 1] != L'&') return static_cast<wchar_t>(std::towupper(caption[i + 1]));
            ++i;
        }
    return 0;
}

int FirstMenuButtonOffset(const TMenuBarPart& part, int barWidth, bool rightToLeft) {
    if (!part.Present) return 6;
    const int x = rightToLeft ? part.RightMargin + 8 : part.LeftMargin + 4;
    return barWidth < x ? 12 : x;
}

std::vector<TRect> LayoutMenuBar(const std::vector<int>& captionWidths, const TMenuBarPart& part,
                                 int barWidth, int barHeight, bool rightToLeft) {
    std::vector<TRect> places;
    places.reserve(captionWidths.size());
    int x = FirstMenuButtonOffset(part, barWidth, rightToLeft);
    for (int textWidth : captionWidths) {
        if (textWidth < 0) {
            places.push_back({});
            continue;
        }
        const int width = textWidth == 0 ? 0 : textWidth + 10;
        if (rightToLeft)
            places.push_back({barWidth - x - width, 0, barWidth - x, barHeight - 1});
        else
            places.push_back({x, 0, x + width, barHeight - 1});
        x += width;
    }
    return places;
}

int MenuButtonForKey(const std::vector<TMenuBarCaption>& buttons, wchar_t key) {
    const wchar_t wanted = static_cast<wchar_t>(std::towupper(key));
    if (wanted == 0) return -1;
    for (size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i].Enabled && AccessKeyOf(buttons[i].Caption) == wanted)
            return static_cast<int>(i);
    return -1;
}

int MeasureMenuItemWidth(int ownWidth, bool hasMenuItemPart, int leftMargin, bool hasImages,
                         int dpi) {
    return ownWidth + (hasMenuItemPart ? leftMargin : 0) + ScaleForDpi(10, dpi) +
           (hasImages ? 0 : ScaleForDpi(25, dpi));
}

int MeasurePopupItemWidth(int ownWidth, int leftMargin, bool hasImages, int dpi) {
    return ownWidth + leftMargin + ScaleForDpi(12, dpi) + (hasImages ? 0 : ScaleForDpi(23, dpi));
}

TRawItemSize MeasureRawMenuItem(int textWidth, bool hasText, bool separator, int proposedHeight,
                                int leftMargin, bool win9x, int dpi) {
    TRawItemSize size;
    size.Width = textWidth + ScaleForDpi(26, dpi) + leftMargin;
    size.Height =
        separator ? ScaleForDpi(8, dpi) : proposedHeight + (hasText ? ScaleForDpi(4, dpi) : 0);
    if (win9x) size.Height += ScaleForDpi(4, dpi);
    return size;
}

TMenuItemPlaces PlaceMenuItem(const TRect& item, int leftMargin, int imageWidth, bool checked,
                              int textHeight, bool rightToLeft, int dpi) {
    const int glyphBox = ScaleForDpi(16, dpi), gap = ScaleForDpi(1, dpi);
    int box = imageWidth > 0 ? imageWidth : glyphBox;
    if (checked) box = std::max(box, glyphBox);
    TMenuItemPlaces places;
    places.GlyphBox = RectOfSize(item.Left + gap + leftMargin, item.Top + gap, box, box);
    places.Caption = {places.GlyphBox.Right + ScaleForDpi(3, dpi), item.Top, item.Right - gap,
                      item.Bottom};
    places.CaptionTop = item.Top + (item.Height() - textHeight) / 2;
    places.ShortcutEdge = item.Right - ScaleForDpi(10, dpi);
    if (rightToLeft) {
        // Mirrored about the item's middle.
        auto mirror = [&](const TRect& r) {
            return TRect{item.Left + item.Right - r.Right, r.Top, item.Left + item.Right - r.Left,
                         r.Bottom};
        };
        places.GlyphBox = mirror(places.GlyphBox);
        places.Caption = mirror(places.Caption);
        places.ShortcutEdge = item.Left + ScaleForDpi(10, dpi);
    }
    return places;
}

TSeparatorRows SeparatorRows(int imageHeight, int itemHeight) {
    const int rows = std::clamp(itemHeight, 0, std::max(imageHeight, 0));
    return {std::max(imageHeight, 0) - rows, rows};
}

} // namespace qh
