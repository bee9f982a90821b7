// Draws the application icon at each size Windows asks for (16, 20, 24, 32,
// 48 and 256 pixels: the small and large icons at 100 to 200 % and the
// shell's largest view) and writes it as a .ico file, the 256-pixel image
// as PNG as Windows expects it. Run by hand when the picture changes; its
// output is committed in resources/icons/.
//
//   gen_icons OUT.ico

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/contact_sheet/png_writer.h"

namespace {

struct TRgba {
    double r, g, b, a;
};

TRgba Over(TRgba top, TRgba under) {
    double a = top.a + under.a * (1 - top.a);
    if (a <= 0) return {0, 0, 0, 0};
    auto mix = [&](double t, double u) { return (t * top.a + u * under.a * (1 - top.a)) / a; };
    return {mix(top.r, under.r), mix(top.g, under.g), mix(top.b, under.b), a};
}

TRgba Hex(uint32_t rgb, double alpha = 1) {
    return {((rgb >> 16) & 255) / 255.0, ((rgb >> 8) & 255) / 255.0, (rgb & 255) / 255.0, alpha};
}

// Inside test of a rounded rectangle in unit coordinates.
bool InRoundRect(double x, double y, double x0, double y0, double x1, double y1, double r) {
    if (x < x0 || x > x1 || y < y0 || y > y1) return false;
    double cx = std::clamp(x, x0 + r, x1 - r);
    double cy = std::clamp(y, y0 + r, y1 - r);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
}

// A leaf: an ellipse around (cx, cy) with half axes a, b, turned by angle.
bool InLeaf(double x, double y, double cx, double cy, double a, double b, double angle) {
    double dx = x - cx, dy = y - cy;
    double u = dx * std::cos(angle) + dy * std::sin(angle);
    double v = -dx * std::sin(angle) + dy * std::cos(angle);
    return (u * u) / (a * a) + (v * v) / (b * b) <= 1;
}

// The picture: a television set with a green sprout on its screen.
TRgba Sample(double x, double y) {
    TRgba c{0, 0, 0, 0};
    // Stand and foot.
    if (x > 0.40 && x < 0.60 && y > 0.78 && y < 0.88) c = Over(Hex(0x3A4650), c);
    if (InRoundRect(x, y, 0.24, 0.85, 0.76, 0.94, 0.04)) c = Over(Hex(0x3A4650), c);
    // Cabinet.
    if (InRoundRect(x, y, 0.04, 0.10, 0.96, 0.82, 0.13)) c = Over(Hex(0x2C3640), c);
    // Screen with a vertical teal gradient.
    if (InRoundRect(x, y, 0.11, 0.17, 0.89, 0.75, 0.08)) {
        double t = (y - 0.17) / 0.58;
        TRgba top = Hex(0x3CC8B4), bottom = Hex(0x12708A);
        c = Over({top.r + (bottom.r - top.r) * t, top.g + (bottom.g - top.g) * t,
                  top.b + (bottom.b - top.b) * t, 1},
                 c);
        // Gloss across the upper half.
        if (y < 0.40 && InRoundRect(x, y, 0.11, 0.17, 0.89, 0.75, 0.08)) c = Over(Hex(0xFFFFFF, 0.12), c);
    }
    // Sprout: stem and two leaves.
    TRgba leaf = Hex(0xE4FFB0);
    if (std::fabs(x - 0.50) < 0.035 && y > 0.40 && y < 0.70) c = Over(leaf, c);
    if (InLeaf(x, y, 0.37, 0.40, 0.15, 0.07, 0.55)) c = Over(leaf, c);
    if (InLeaf(x, y, 0.63, 0.33, 0.17, 0.075, -0.60)) c = Over(leaf, c);
    return c;
}

std::vector<uint8_t> RenderBgra(int size) {
    const int ss = 6;  // supersampling per axis
    std::vector<uint8_t> bgra(static_cast<size_t>(size) * size * 4);
    for (int py = 0; py < size; ++py)
        for (int px = 0; px < size; ++px) {
            double r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < ss; ++sy)
                for (int sx = 0; sx < ss; ++sx) {
                    TRgba s = Sample((px + (sx + 0.5) / ss) / size, (py + (sy + 0.5) / ss) / size);
                    r += s.r * s.a;
                    g += s.g * s.a;
                    b += s.b * s.a;
                    a += s.a;
                }
            size_t i = (static_cast<size_t>(py) * size + px) * 4;
            double n = ss * ss;
            auto byte = [](double v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
            // Premultiplied sums back to straight colour.
            bgra[i + 0] = a > 0 ? byte(b / a) : 0;
            bgra[i + 1] = a > 0 ? byte(g / a) : 0;
            bgra[i + 2] = a > 0 ? byte(r / a) : 0;
            bgra[i + 3] = byte(a / n);
        }
    return bgra;
}

void Put16(std::vector<uint8_t>& out, unsigned v) {
    out.push_back(v & 255);
    out.push_back((v >> 8) & 255);
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back((v >> (8 * i)) & 255);
}

// One icon image: BITMAPINFOHEADER, bottom-up BGRA rows, then the AND mask.
std::vector<uint8_t> IconImage(int size) {
    std::vector<uint8_t> bgra = RenderBgra(size);
    std::vector<uint8_t> out;
    Put32(out, 40);
    Put32(out, size);
    Put32(out, size * 2);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 0);
    int maskStride = ((size + 31) / 32) * 4;
    Put32(out, size * size * 4 + maskStride * size);
    for (int i = 0; i < 4; ++i) Put32(out, 0);
    for (int y = size - 1; y >= 0; --y)
        out.insert(out.end(), bgra.begin() + static_cast<long>(y) * size * 4,
                   bgra.begin() + static_cast<long>(y + 1) * size * 4);
    for (int y = size - 1; y >= 0; --y) {
        std::vector<uint8_t> row(maskStride, 0);
        for (int x = 0; x < size; ++x)
            if (bgra[(static_cast<size_t>(y) * size + x) * 4 + 3] < 128) row[x / 8] |= 0x80 >> (x % 8);
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

// The 256-pixel image: a PNG of straight (not premultiplied) RGBA.
std::vector<uint8_t> PngImage(int size) {
    std::vector<uint8_t> bgra = RenderBgra(size);
    for (size_t i = 0; i < bgra.size(); i += 4)
        std::swap(bgra[i], bgra[i + 2]);
    return sheet::EncodePng(size, size, bgra, true);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen_icons OUT.ico\n");
        return 1;
    }
    const int sizes[] = {16, 20, 24, 32, 48, 256};
    const uint16_t count = static_cast<uint16_t>(std::size(sizes));
    std::vector<std::vector<uint8_t>> images;
    for (int s : sizes)
        images.push_back(s >= 256 ? PngImage(s) : IconImage(s));
    std::vector<uint8_t> out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, count);
    uint32_t offset = 6 + 16 * count;
    for (size_t i = 0; i < count; ++i) {
        // A side of 256 is written as 0.
        out.push_back(static_cast<uint8_t>(sizes[i] & 255));
        out.push_back(static_cast<uint8_t>(sizes[i] & 255));
        out.push_back(0);
        out.push_back(0);
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, static_cast<uint32_t>(images[i].size()));
        Put32(out, offset);
        offset += static_cast<uint32_t>(images[i].size());
    }
    for (auto& img : images) out.insert(out.end(), img.begin(), img.end());
    std::ofstream file(argv[1], std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    if (!file) {
        std::fprintf(stderr, "gen_icons: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
