// Draws the pieces of the notification popup's frame as GIF pictures: the
// title bar with its corners and close picture, the side and bottom edges,
// in a few flat greys. The four corners carry the window's key colour
// RGB(230, 230, 250) exactly, so they are see-through.
// Run by hand when a picture changes; the output in resources/popup/ is
// committed.
//
//   gen_popup_frame OUTDIR

#include <cstdio>
#include <string>
#include <utility>

#include "core/exception.h"
#include "images/gif_image.h"

namespace {

using qh::MakeColour;
using qh::TColor;

constexpr TColor kKey = MakeColour(230, 230, 250);
constexpr TColor kEdge = MakeColour(64, 64, 64);      // outer edge line
constexpr TColor kBorder = MakeColour(88, 88, 88);    // frame face
constexpr TColor kTitleTop = MakeColour(96, 96, 96);  // upper half of the title bar
constexpr TColor kTitleLow = MakeColour(72, 72, 72);  // lower half of the title bar
constexpr TColor kTitleLine = MakeColour(48, 48, 48); // line under the title bar
constexpr TColor kWhite = MakeColour(255, 255, 255);
constexpr TColor kLightGrey = MakeColour(192, 192, 192);
constexpr TColor kMidGrey = MakeColour(128, 128, 128);

// A bitmap filled with one colour; Set ignores points outside it.
class TPicture {
public:
    TPicture(int width, int height, TColor fill) : FBitmap(width, height) { FBitmap.Fill(fill); }
    void Set(int x, int y, TColor c) { FBitmap.SetPixel(x, y, c); }
    const qh::TBitmap& Bitmap() const { return FBitmap; }

private:
    qh::TBitmap FBitmap;
};

// One column of the title bar: edge line at the top, two bands, a dark line
// at the bottom.
TColor TitleColour(int y, int height) {
    if (y == 0) return kEdge;
    if (y == height - 1) return kTitleLine;
    return y < height / 2 ? kTitleTop : kTitleLow;
}

TPicture TitleBackground() {
    TPicture p(8, 22, kTitleTop);
    for (int y = 0; y < 22; ++y)
        for (int x = 0; x < 8; ++x)
            p.Set(x, y, TitleColour(y, 22));
    return p;
}

// The title bar's left corner; the right one is its mirror.
TPicture TitleCorner(bool right) {
    TPicture p(3, 22, kTitleTop);
    for (int y = 0; y < 22; ++y)
        for (int x = 0; x < 3; ++x)
            p.Set(x, y, TitleColour(y, 22));
    for (int y = 1; y < 22; ++y)
        p.Set(right ? 2 : 0, y, kEdge);
    // Rounded outer corner: the key colour outside the curve.
    auto mirror = [right](int x) { return right ? 2 - x : x; };
    p.Set(mirror(0), 0, kKey);
    p.Set(mirror(1), 0, kKey);
    p.Set(mirror(2), 0, kEdge);
    p.Set(mirror(0), 1, kKey);
    p.Set(mirror(1), 1, kEdge);
    p.Set(mirror(0), 2, kEdge);
    return p;
}

TPicture ClosePicture() {
    TPicture p(35, 22, kTitleTop);
    for (int y = 0; y < 22; ++y)
        for (int x = 0; x < 35; ++x)
            p.Set(x, y, TitleColour(y, 22));
    // A light box with a white cross, centred on the bar.
    const int x0 = 11, y0 = 4, size = 13;
    for (int i = 0; i < size; ++i) {
        p.Set(x0 + i, y0, kLightGrey);
        p.Set(x0 + i, y0 + size - 1, kMidGrey);
        p.Set(x0, y0 + i, kLightGrey);
        p.Set(x0 + size - 1, y0 + i, kMidGrey);
    }
    for (int i = 3; i < size - 3; ++i) {
        p.Set(x0 + i, y0 + i, kWhite);
        p.Set(x0 + i + 1, y0 + i, kWhite);
        p.Set(x0 + size - 1 - i, y0 + i, kWhite);
        p.Set(x0 + size - 2 - i, y0 + i, kWhite);
    }
    return p;
}

// Side edges: the outer line and the frame face; inner column darker so the
// page stands out.
TPicture SideEdge(bool right) {
    TPicture p(3, 8, kBorder);
    for (int y = 0; y < 8; ++y) {
        p.Set(right ? 2 : 0, y, kEdge);
        p.Set(right ? 0 : 2, y, kTitleLine);
    }
    return p;
}

TPicture BottomEdge() {
    TPicture p(8, 3, kBorder);
    for (int x = 0; x < 8; ++x) {
        p.Set(x, 0, kTitleLine);
        p.Set(x, 2, kEdge);
    }
    return p;
}

TPicture BottomCorner(bool right) {
    TPicture p(3, 3, kBorder);
    auto mirror = [right](int x) { return right ? 2 - x : x; };
    for (int i = 0; i < 3; ++i) {
        p.Set(mirror(0), i, kEdge);
        p.Set(i, 2, kEdge);
    }
    p.Set(mirror(2), 0, kTitleLine);
    p.Set(mirror(0), 2, kKey);
    p.Set(mirror(1), 2, kEdge);
    p.Set(mirror(0), 1, kEdge);
    return p;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen_popup_frame OUTDIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    const std::pair<const char*, TPicture> pictures[] = {
        {"title_left.gif", TitleCorner(false)},   {"title_right.gif", TitleCorner(true)},
        {"title_close.gif", ClosePicture()},      {"title_back.gif", TitleBackground()},
        {"bottom_left.gif", BottomCorner(false)}, {"bottom_right.gif", BottomCorner(true)},
        {"bottom_edge.gif", BottomEdge()},        {"left_edge.gif", SideEdge(false)},
        {"right_edge.gif", SideEdge(true)},
    };
    for (const auto& [name, picture] : pictures) {
        try {
            qh::TGIFImage gif;
            gif.Assign(picture.Bitmap());
            gif.SaveToFile(dir + "/" + name);
        } catch (const qh::Exception& e) {
            std::fprintf(stderr, "gen_popup_frame: cannot write %s/%s: %s\n", dir.c_str(), name,
                         e.Message.c_str());
            return 1;
        }
    }
    return 0;
}
