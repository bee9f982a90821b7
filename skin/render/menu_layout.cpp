#include "skin/render/menu_layout.h"

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

int MeasureMenuItemWidth(int ownWidth, bool hasMenuItemPart, int leftMargin, bool hasImages) {
    return ownWidth + (hasMenuItemPart ? leftMargin : 0) + 10 + (hasImages ? 0 : 25);
}

int MeasurePopupItemWidth(int ownWidth, int leftMargin, bool hasImages) {
    return ownWidth + leftMargin + 12 + (hasImages ? 0 : 23);
}

TRawItemSize MeasureRawMenuItem(int textWidth, bool hasText, bool separator, int proposedHeight,
                                int leftMargin, bool win9x) {
    TRawItemSize size;
    size.Width = textWidth + 26 + leftMargin;
    size.Height = separator ? 8 : proposedHeight + (hasText ? 4 : 0);
    if (win9x) size.Height += 4;
    return size;
}

TMenuItemPlaces PlaceMenuItem(const TRect& item, int leftMargin, int imageWidth, bool checked,
                              int textHeight, bool rightToLeft) {
    int box = imageWidth > 0 ? imageWidth : 16;
    if (checked) box = std::max(box, 16);
    TMenuItemPlaces places;
    places.GlyphBox = RectOfSize(item.Left + 1 + leftMargin, item.Top + 1, box, box);
    places.Caption = {places.GlyphBox.Right + 3, item.Top, item.Right - 1, item.Bottom};
    places.CaptionTop = item.Top + (item.Height() - textHeight) / 2;
    places.ShortcutEdge = item.Right - 10;
    if (rightToLeft) {
        // Mirrored about the item's middle.
        auto mirror = [&](const TRect& r) {
            return TRect{item.Left + item.Right - r.Right, r.Top, item.Left + item.Right - r.Left,
                         r.Bottom};
        };
        places.GlyphBox = mirror(places.GlyphBox);
        places.Caption = mirror(places.Caption);
        places.ShortcutEdge = item.Left + 10;
    }
    return places;
}

TSeparatorRows SeparatorRows(int imageHeight, int itemHeight) {
    const int rows = std::clamp(itemHeight, 0, std::max(imageHeight, 0));
    return {std::max(imageHeight, 0) - rows, rows};
}

} // namespace qh
