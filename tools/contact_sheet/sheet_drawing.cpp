#include "tools/contact_sheet/sheet_drawing.h"

#include <cstdint>

#include "core/text.h"

namespace sheet {

namespace {

// A 5 x 7 font for the characters of member names.
struct TGlyph {
    char Ch;
    uint8_t Rows[7];
};
const TGlyph kFont[] = {
    {'A', {14, 17, 17, 31, 17, 17, 17}}, {'B', {30, 17, 17, 30, 17, 17, 30}},
    {'C', {14, 17, 16, 16, 16, 17, 14}}, {'D', {30, 17, 17, 17, 17, 17, 30}},
    {'E', {31, 16, 16, 30, 16, 16, 31}}, {'F', {31, 16, 16, 30, 16, 16, 16}},
    {'G', {14, 17, 16, 23, 17, 17, 15}}, {'H', {17, 17, 17, 31, 17, 17, 17}},
    {'I', {14, 4, 4, 4, 4, 4, 14}},      {'J', {7, 2, 2, 2, 2, 18, 12}},
    {'K', {17, 18, 20, 24, 20, 18, 17}}, {'L', {16, 16, 16, 16, 16, 16, 31}},
    {'M', {17, 27, 21, 21, 17, 17, 17}}, {'N', {17, 17, 25, 21, 19, 17, 17}},
    {'O', {14, 17, 17, 17, 17, 17, 14}}, {'P', {30, 17, 17, 30, 16, 16, 16}},
    {'Q', {14, 17, 17, 17, 21, 18, 13}}, {'R', {30, 17, 17, 30, 20, 18, 17}},
    {'S', {15, 16, 16, 14, 1, 1, 30}},   {'T', {31, 4, 4, 4, 4, 4, 4}},
    {'U', {17, 17, 17, 17, 17, 17, 14}}, {'V', {17, 17, 17, 17, 17, 10, 4}},
    {'W', {17, 17, 17, 21, 21, 21, 10}}, {'X', {17, 17, 10, 4, 10, 17, 17}},
    {'Y', {17, 17, 10, 4, 4, 4, 4}},     {'Z', {31, 1, 2, 4, 8, 16, 31}},
    {'0', {14, 17, 19, 21, 25, 17, 14}}, {'1', {4, 12, 4, 4, 4, 4, 14}},
    {'2', {14, 17, 1, 2, 4, 8, 31}},     {'3', {31, 2, 4, 2, 1, 17, 14}},
    {'4', {2, 6, 10, 18, 31, 2, 2}},     {'5', {31, 16, 30, 1, 1, 17, 14}},
    {'6', {6, 8, 16, 30, 17, 17, 14}},   {'7', {31, 1, 2, 4, 8, 8, 8}},
    {'8', {14, 17, 17, 14, 17, 17, 14}}, {'9', {14, 17, 17, 15, 1, 2, 12}},
    {'.', {0, 0, 0, 0, 0, 12, 12}},      {'_', {0, 0, 0, 0, 0, 0, 31}},
    {'-', {0, 0, 0, 31, 0, 0, 0}},       {'%', {24, 25, 2, 4, 8, 19, 3}},
};

} // namespace

void Label(qh::TBitmap& sheet, int x, int y, const std::string& text, qh::TColor colour) {
    for (char c : qh::UpperCase(text)) {
        for (const TGlyph& g : kFont) {
            if (g.Ch != c) continue;
            for (int row = 0; row < 7; ++row)
                for (int col = 0; col < 5; ++col)
                    if (g.Rows[row] & (16 >> col)) sheet.SetPixel(x + col, y + row, colour);
            break;
        }
        x += kLabelAdvance;
    }
}

void PutPicture(qh::TBitmap& sheet, int x, int y, const qh::TBitmap& picture, int zoom) {
    for (int py = 0; py < picture.Height() * zoom; ++py)
        for (int px = 0; px < picture.Width() * zoom; ++px) {
            qh::TColor c = picture.GetPixel(px / zoom, py / zoom);
            if (c == qh::kColourKey)
                c = ((px / 4 + py / 4) % 2) ? qh::MakeColour(255, 255, 255)
                                            : qh::MakeColour(214, 214, 214);
            sheet.SetPixel(x + px, y + py, c);
        }
}

} // namespace sheet
