// dpi_sheet IN.skn OUT.png [ZOOM]: a packed skin's frame, caption and
// button pictures scaled as a window at 100, 125, 150, 175 and 200 % would
// show them, one row a filter, so that people can choose the filter by
// eye. ZOOM (1 to 4) enlarges the whole sheet, pixel for pixel.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/mul_div.h"
#include "skin/data/skin_data.h"
#include "skin/render/part_compose.h"
#include "skin/render/picture_scaling.h"
#include "tools/contact_sheet/png_writer.h"
#include "tools/contact_sheet/sheet_drawing.h"

namespace {

using qh::MakeColour;
using qh::TBitmap;
using qh::TPictureFilter;

const int kDpis[] = {96, 120, 144, 168, 192};
struct TFilterRow {
    TPictureFilter Filter;
    const char* Name;
};
const TFilterRow kFilters[] = {{TPictureFilter::Nearest, "nearest"},
                               {TPictureFilter::AreaAverage, "area average"},
                               {TPictureFilter::Bilinear, "bilinear"}};

struct TPicture {
    std::string Label;
    const TBitmap* Image;
    bool Vertical;
    int Frames;
    qh::TMargins Margins;
};

std::vector<TPicture> PicturesOf(const qh::TSkinParts& skin) {
    std::vector<TPicture> list;
    auto add = [&](const char* label, const qh::TDataSkinObject* part, bool vertical) {
        if (part && !part->Image.Empty())
            list.push_back({label, &part->Image, vertical, part->Frame, qh::MarginsOf(*part)});
    };
    add("top", skin.BorderTop.get(), true);
    add("left", skin.BorderLeft.get(), false);
    add("right", skin.BorderRight.get(), false);
    add("bottom", skin.BorderBottom.get(), true);
    if (skin.Title && !skin.Title->Image.Empty())
        list.push_back({"caption text back", &skin.Title->Image, false, 1,
                        {skin.Title->TXTBackleft, 0, skin.Title->TXTBackRight, 0}});
    add("menu bar", skin.MenuBar.get(), false);
    for (const auto& button : skin.SysButtons)
        add(("caption button " + button->Name).c_str(), button.get(), false);
    add("button", skin.Button.get(), false);
    return list;
}

} // namespace

int main(int argc, char** argv) {
    const int zoom = argc == 4 ? std::atoi(argv[3]) : 1;
    if ((argc != 3 && argc != 4) || zoom < 1 || zoom > 4) {
        std::fprintf(stderr, "usage: dpi_sheet IN.skn OUT.png [ZOOM]\n");
        return 1;
    }
    try {
        qh::TSkinData skin(nullptr);
        skin.SkinStream().LoadFromFile(argv[1]);
        if (!skin.LoadSkin()) {
            std::fprintf(stderr, "dpi_sheet: %s is not a skin this program can read\n", argv[1]);
            return 1;
        }
        const std::vector<TPicture> pictures = PicturesOf(skin);
        // A column a scale, as wide as that scale's widest picture; a block
        // a picture, a row in it a filter.
        const int pad = 10, labelRow = sheet::kLabelHeight + 6, nameColumn = 90;
        std::vector<int> columnX;
        int x = pad + nameColumn;
        for (int dpi : kDpis) {
            columnX.push_back(x);
            int widest = 40;
            for (const TPicture& p : pictures)
                widest = std::max(widest, qh::ScaleForDpi(p.Image->Width(), dpi));
            x += widest + pad;
        }
        int height = pad + labelRow;
        for (const TPicture& p : pictures)
            height += labelRow + 3 * (qh::ScaleForDpi(p.Image->Height(), 192) + pad);
        TBitmap page(x, height, qh::TPixelFormat::pf32bit);
        page.Fill(MakeColour(250, 250, 250));
        const qh::TColor ink = MakeColour(60, 60, 60);
        for (size_t c = 0; c < columnX.size(); ++c)
            sheet::Label(page, columnX[c], pad, std::to_string(kDpis[c] * 100 / 96) + "%", ink);
        int y = pad + labelRow;
        for (const TPicture& p : pictures) {
            sheet::Label(page, pad, y, p.Label, ink);
            y += labelRow;
            for (const TFilterRow& row : kFilters) {
                sheet::Label(page, pad, y, row.Name, MakeColour(120, 120, 120));
                for (size_t c = 0; c < columnX.size(); ++c) {
                    const qh::TScaledPicture scaled = qh::ScaleSkinPicture(
                        *p.Image, p.Vertical, p.Frames, p.Margins, kDpis[c], row.Filter);
                    sheet::PutPicture(page, columnX[c], y, scaled.Picture, 1);
                }
                y += qh::ScaleForDpi(p.Image->Height(), 192) + pad;
            }
        }
        TBitmap out(page.Width() * zoom, page.Height() * zoom, qh::TPixelFormat::pf32bit);
        for (int py = 0; py < out.Height(); ++py)
            for (int px = 0; px < out.Width(); ++px)
                out.SetPixel(px, py, page.GetPixel(px / zoom, py / zoom));
        sheet::SavePng(out, argv[2]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "dpi_sheet: %s\n", e.what());
        return 1;
    }
    return 0;
}
