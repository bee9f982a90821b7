// Draws the pieces of the notification popup's frame as 24-bit bitmaps: the
// title bar with its corners and close picture, the side and bottom edges.
// Few flat colours, as indexed pictures have. The four corners carry the
// window's key colour RGB(230, 230, 250) exactly, so they are see-through.
// Run by hand when a picture changes; the output in resources/popup/ is
// committed.
//
//   gen_popup_frame OUTDIR

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Rgb {
    uint8_t r, g, b;
};

constexpr Rgb kKey{230, 230, 250};
constexpr Rgb kEdge{64, 64, 64};      // outer edge line
constexpr Rgb kBorder{88, 88, 88};    // frame face
constexpr Rgb kTitleTop{96, 96, 96};  // upper half of the title bar
constexpr Rgb kTitleLow{72, 72, 72};  // lower half of the title bar
constexpr Rgb kTitleLine{48, 48, 48}; // line under the title bar
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kLightGrey{192, 192, 192};
constexpr Rgb kMidGrey{128, 128, 128};

class Picture {
public:
    Picture(int width, int height, Rgb fill)
        : width_(width), height_(height), pixels_(static_cast<size_t>(width * height), fill) {}
    int Width() const { return width_; }
    int Height() const { return height_; }
    void Set(int x, int y, Rgb c) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_)
            pixels_[static_cast<size_t>(y * width_ + x)] = c;
    }
    Rgb At(int x, int y) const { return pixels_[static_cast<size_t>(y * width_ + x)]; }

    // Bottom-up rows, BGR, each padded to 4 bytes.
    bool WriteBmp(const std::string& fileName) const {
        const uint32_t rowBytes = static_cast<uint32_t>((width_ * 3 + 3) & ~3);
        const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(height_);
        std::vector<uint8_t> out;
        auto put16 = [&](uint32_t v) {
            out.push_back(static_cast<uint8_t>(v));
            out.push_back(static_cast<uint8_t>(v >> 8));
        };
        auto put32 = [&](uint32_t v) {
            put16(v & 0xFFFF);
            put16(v >> 16);
        };
        put16(0x4D42);
        put32(54 + imageBytes);
        put32(0);
        put32(54);
        put32(40);
        put32(static_cast<uint32_t>(width_));
        put32(static_cast<uint32_t>(height_));
        put16(1);
        put16(24);
        put32(0);
        put32(imageBytes);
        put32(2835);
        put32(2835);
        put32(0);
        put32(0);
        for (int y = height_ - 1; y >= 0; --y) {
            size_t start = out.size();
            for (int x = 0; x < width_; ++x) {
                Rgb c = At(x, y);
                out.push_back(c.b);
                out.push_back(c.g);
                out.push_back(c.r);
            }
            while (out.size() - start < rowBytes)
                out.push_back(0);
        }
        std::ofstream file(fileName, std::ios::binary);
        file.write(reinterpret_cast<const char*>(out.data()),
                   static_cast<std::streamsize>(out.size()));
        return static_cast<bool>(file);
    }

private:
    int width_, height_;
    std::vector<Rgb> pixels_;
};

// One column of the title bar: edge line at the top, two bands, a dark line
// at the bottom.
Rgb TitleColour(int y, int height) {
    if (y == 0) return kEdge;
    if (y == height - 1) return kTitleLine;
    return y < height / 2 ? kTitleTop : kTitleLow;
}

Picture TitleBackground() {
    Picture p(8, 22, kTitleTop);
    for (int y = 0; y < 22; ++y)
        for (int x = 0; x < 8; ++x)
            p.Set(x, y, TitleColour(y, 22));
    return p;
}

// The title bar's left corner; the right one is its mirror.
Picture TitleCorner(bool right) {
    Picture p(3, 22, kTitleTop);
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

Picture ClosePicture() {
    Picture p(35, 22, kTitleTop);
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
Picture SideEdge(bool right) {
    Picture p(3, 8, kBorder);
    for (int y = 0; y < 8; ++y) {
        p.Set(right ? 2 : 0, y, kEdge);
        p.Set(right ? 0 : 2, y, kTitleLine);
    }
    return p;
}

Picture BottomEdge() {
    Picture p(8, 3, kBorder);
    for (int x = 0; x < 8; ++x) {
        p.Set(x, 0, kTitleLine);
        p.Set(x, 2, kEdge);
    }
    return p;
}

Picture BottomCorner(bool right) {
    Picture p(3, 3, kBorder);
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
    const std::pair<const char*, Picture> pictures[] = {
        {"title_left.bmp", TitleCorner(false)},   {"title_right.bmp", TitleCorner(true)},
        {"title_close.bmp", ClosePicture()},      {"title_back.bmp", TitleBackground()},
        {"bottom_left.bmp", BottomCorner(false)}, {"bottom_right.bmp", BottomCorner(true)},
        {"bottom_edge.bmp", BottomEdge()},        {"left_edge.bmp", SideEdge(false)},
        {"right_edge.bmp", SideEdge(true)},
    };
    for (const auto& [name, picture] : pictures) {
        if (!picture.WriteBmp(dir + "/" + name)) {
            std::fprintf(stderr, "gen_popup_frame: cannot write %s/%s\n", dir.c_str(), name);
            return 1;
        }
    }
    return 0;
}
