// The geometry of skinned menus: where the bar's buttons go, which caption
// an access key opens, how wide a skinned item is measured, and where an
// item's glyph, caption and shortcut are drawn.
#pragma once

#include "core/geometry.h"

#include <string>
#include <vector>

namespace qh {

// The upper-case access key of a caption ("&File" gives 'F'; "&&" is a
// plain ampersand), or 0.
wchar_t AccessKeyOf(const std::wstring& caption);

// Where the bar's first button starts: after the MenuBar part's left
// margin (right margin for a right-to-left bar), or 12 in a bar too narrow
// for that; 6 without the part.
struct TMenuBarPart {
    bool Present = false;
    int LeftMargin = 0;
    int RightMargin = 0;
};
int FirstMenuButtonOffset(const TMenuBarPart& part, int barWidth, bool rightToLeft);

// One entry per bar button: its caption's text width, or a negative width
// for an invisible button. The rectangles are relative to the bar; an
// invisible button gets an empty one, a button with an empty caption a
// zero-wide one.
std::vector<TRect> LayoutMenuBar(const std::vector<int>& captionWidths, const TMenuBarPart& part,
                                 int barWidth, int barHeight, bool rightToLeft);

// The first visible button (index) whose caption has the access key and
// is enabled, or -1.
struct TMenuBarCaption {
    std::wstring Caption;
    bool Enabled = true;
};
int MenuButtonForKey(const std::vector<TMenuBarCaption>& buttons, wchar_t key);

// Widths after the item's own measuring: for the items of menus the form
// shows from its bar or tool bar, and for its popup menus. Widths and
// margins are the menu's, at its DPI.
int MeasureMenuItemWidth(int ownWidth, bool hasMenuItemPart, int leftMargin, bool hasImages,
                         int dpi);
int MeasurePopupItemWidth(int ownWidth, int leftMargin, bool hasImages, int dpi);

// An item of a raw menu (no class-library menu behind it), from its text
// width and the height the system proposed.
struct TRawItemSize {
    int Width = 0;
    int Height = 0;
};
TRawItemSize MeasureRawMenuItem(int textWidth, bool hasText, bool separator, int proposedHeight,
                                int leftMargin, bool win9x, int dpi);

// Where an item's parts go at the menu's DPI. imageWidth is the item's
// image width there, or 0 without one.
struct TMenuItemPlaces {
    TRect GlyphBox;
    TRect Caption; // single line, vertically centred at CaptionTop
    int CaptionTop = 0;
    // The shortcut ends here, right-aligned; in a right-to-left item it
    // starts here, left-aligned.
    int ShortcutEdge = 0;
};
TMenuItemPlaces PlaceMenuItem(const TRect& item, int leftMargin, int imageWidth, bool checked,
                              int textHeight, bool rightToLeft, int dpi);

// The rows of the MenuItem image a separator is drawn from: the bottom
// rows of the second state image, as many as the item is high (all of
// them in a lower item).
struct TSeparatorRows {
    int Top = 0;
    int Height = 0;
};
TSeparatorRows SeparatorRows(int imageHeight, int itemHeight);

} // namespace qh
