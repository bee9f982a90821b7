// contact_sheet IN.skn OUT.png: every bitmap member of a packed skin on one
// sheet, enlarged, see-through pixels shown as a checkerboard, each under
// its member name.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "core/text.h"
#include "images/bitmap.h"
#include "skin/data/skin_reader.h"
#include "tools/contact_sheet/png_writer.h"

namespace {

using qh::MakeColour;
using qh::TBitmap;
using qh::TColor;

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
    {'-', {0, 0, 0, 31, 0, 0, 0}},       {'X', {17, 17, 10, 4, 10, 17, 17}},
};

void Text(TBitmap& b, int x, int y, const std::string& text, TColor colour) {
    for (char c : qh::UpperCase(text)) {
        for (const TGlyph& g : kFont) {
            if (g.Ch != c) continue;
            for (int row = 0; row < 7; ++row)
                for (int col = 0; col < 5; ++col)
                    if (g.Rows[row] & (16 >> col)) b.SetPixel(x + col, y + row, colour);
            break;
        }
        x += 6;
    }
}

struct TItem {
    std::string Label;
    TBitmap Picture;
    int Scale;
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: contact_sheet IN.skn OUT.png\n");
        return 1;
    }
    try {
        qh::TSkinReader reader;
        if (!reader.OpenFile(argv[1])) {
            std::fprintf(stderr, "contact_sheet: %s\n", reader.ErrorMessage().c_str());
            return 1;
        }
        std::vector<TItem> items;
        for (int i = 0; i < reader.MemberCount(); ++i) {
            const std::string& name = reader.Names().Strings(i);
            if (name.size() < 4 || name.substr(name.size() - 4) != ".bmp") continue;
            qh::TMemoryStream member;
            reader.ExtractMember(name, member);
            TItem item{name + " " + std::to_string(0), {}, 1};
            item.Picture.LoadFromStream(member);
            item.Label = name + " " + std::to_string(item.Picture.Width()) + "X" +
                         std::to_string(item.Picture.Height());
            item.Scale = item.Picture.Width() * 3 <= 420   ? 3
                         : item.Picture.Width() * 2 <= 480 ? 2
                                                           : 1;
            items.push_back(std::move(item));
        }
        // Flow layout, rows as high as their tallest entry.
        const int sheetWidth = 1000, pad = 12, labelHeight = 12;
        struct TPlaced {
            int X, Y;
        };
        std::vector<TPlaced> placed;
        int x = pad, y = pad, rowHeight = 0;
        for (const TItem& item : items) {
            const int w = std::max<int>(item.Picture.Width() * item.Scale,
                                        static_cast<int>(item.Label.size()) * 6);
            const int h = item.Picture.Height() * item.Scale + labelHeight;
            if (x + w > sheetWidth - pad && x > pad) {
                x = pad;
                y += rowHeight + pad;
                rowHeight = 0;
            }
            placed.push_back({x, y});
            x += w + 2 * pad;
            rowHeight = std::max(rowHeight, h);
        }
        TBitmap sheet(sheetWidth, y + rowHeight + pad);
        sheet.Fill(MakeColour(250, 250, 250));
        for (size_t i = 0; i < items.size(); ++i) {
            const TItem& item = items[i];
            Text(sheet, placed[i].X, placed[i].Y, item.Label, MakeColour(60, 60, 60));
            const int top = placed[i].Y + labelHeight;
            for (int py = 0; py < item.Picture.Height() * item.Scale; ++py)
                for (int px = 0; px < item.Picture.Width() * item.Scale; ++px) {
                    TColor c = item.Picture.GetPixel(px / item.Scale, py / item.Scale);
                    if (c == qh::kColourKey)
                        c = ((px / 4 + py / 4) % 2) ? MakeColour(255, 255, 255)
                                                    : MakeColour(214, 214, 214);
                    sheet.SetPixel(placed[i].X + px, top + py, c);
                }
        }
        sheet::SavePng(sheet, argv[2]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "contact_sheet: %s\n", e.what());
        return 1;
    }
    return 0;
}
