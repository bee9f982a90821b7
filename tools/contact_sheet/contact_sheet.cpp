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
#include "tools/contact_sheet/sheet_drawing.h"

namespace {

using qh::MakeColour;
using qh::TBitmap;
using qh::TColor;

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
            sheet::Label(sheet, placed[i].X, placed[i].Y, item.Label, MakeColour(60, 60, 60));
            sheet::PutPicture(sheet, placed[i].X, placed[i].Y + labelHeight, item.Picture,
                              item.Scale);
        }
        sheet::SavePng(sheet, argv[2]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "contact_sheet: %s\n", e.what());
        return 1;
    }
    return 0;
}
