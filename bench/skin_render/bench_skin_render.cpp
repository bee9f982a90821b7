// Prints the time of the nine-cell composition of a 1920 x 1080 target from
// a 100 x 52 image, of the region scan of a 1920 x 1080 frame whose 8-pixel
// border is half magenta, and of memcpy of the same 8 MB; each the best of
// several runs into buffers that exist already (as a paint reuses its
// bitmap), each result read afterwards so that no work can be dropped.
// Then the scaling of every picture of the default skin for 144 and 192
// DPI, done once per skin and DPI, beside memcpy of the bytes it makes.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/mul_div.h"
#include "skin/data/skin_data.h"
#include "skin/render/compose.h"
#include "skin/render/part_compose.h"
#include "skin/render/picture_scaling.h"
#include "skin/render/region_scan.h"

namespace {

using TClock = std::chrono::steady_clock;

constexpr int kWidth = 1920, kHeight = 1080;

template <typename F> double BestMs(int runs, F&& work) {
    double best = 1e30;
    for (int r = 0; r < runs; ++r) {
        const auto start = TClock::now();
        work();
        best = std::min(best,
                        std::chrono::duration<double, std::milli>(TClock::now() - start).count());
    }
    return best;
}

// A few bytes from all over the buffer, so its writing counts.
uint32_t Check(const uint8_t* p, size_t size) {
    uint32_t sum = 0;
    for (size_t i = 0; i < size; i += 4093)
        sum = sum * 31 + p[i];
    return sum;
}

qh::TBitmap SkinImage() {
    qh::TBitmap image(100, 52, qh::TPixelFormat::pf32bit);
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            image.SetPixel(x, y, qh::MakeColour(x * 2, y * 4, (x + y) & 255));
    return image;
}

// The border in 4 x 4 blocks, every other one magenta.
qh::TBitmap Frame() {
    qh::TBitmap frame(kWidth, kHeight, qh::TPixelFormat::pf32bit);
    frame.Fill(qh::MakeColour(200, 180, 160));
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const bool border = x < 8 || y < 8 || x >= kWidth - 8 || y >= kHeight - 8;
            if (border && (x / 4 + y / 4) % 2 == 0) frame.SetPixel(x, y, qh::kColourKey);
        }
    return frame;
}

// Every part's picture with its frames and margins, as the engine keeps
// them; the top and bottom borders' state images are stacked.
struct TSkinPicture {
    const qh::TBitmap* Image;
    bool Vertical;
    int Frames;
    qh::TMargins Margins;
};

std::vector<TSkinPicture> PicturesOf(const qh::TSkinParts& skin) {
    std::vector<TSkinPicture> list;
    for (const auto& ref : skin.PartList())
        if (ref.Part && !ref.Part->Image.Empty()) {
            const std::string field = ref.FieldName;
            list.push_back({&ref.Part->Image, field == "BorderTop" || field == "BorderBottom",
                            ref.Part->Frame, qh::MarginsOf(*ref.Part)});
        }
    for (const auto& button : skin.SysButtons)
        list.push_back({&button->Image, false, button->Frame, {}});
    return list;
}

// Scales the skin's pictures for dpi (best of several runs) and copies as
// many bytes as that made; prints both.
uint32_t ScaleSkin(const std::vector<TSkinPicture>& pictures, int dpi) {
    uint32_t check = 0;
    size_t bytes = 0;
    const double scale = BestMs(20, [&] {
        bytes = 0;
        for (const TSkinPicture& p : pictures) {
            const qh::TScaledPicture scaled =
                qh::ScaleSkinPicture(*p.Image, p.Vertical, p.Frames, p.Margins, dpi);
            const size_t size = static_cast<size_t>(scaled.Picture.Stride()) * scaled.Picture.Height();
            bytes += size;
            if (size) check += Check(scaled.Picture.ScanLine(0), size);
        }
    });
    std::vector<uint8_t> from(bytes, 1), to(bytes, 2);
    const double copy = BestMs(20, [&] {
        std::memcpy(to.data(), from.data(), bytes);
        check += Check(to.data(), bytes);
        from[check % bytes] ^= 1;
    });
    const bool nearest = qh::FilterForDpi(dpi) == qh::TPictureFilter::Nearest;
    std::printf("scale skin %d dpi %.3f ms (%zu pictures, %zu KB made, %s)\n", dpi, scale,
                pictures.size(), bytes / 1024, nearest ? "nearest" : "area average");
    std::printf("memcpy %zu KB %.3f ms (the same bytes)\n", bytes / 1024, copy);
    return check;
}

} // namespace

int main() {
    const double mpixels = kWidth * static_cast<double>(kHeight) / 1e6;
    uint32_t check = 0;

    const qh::TBitmap image = SkinImage();
    qh::TBitmap target(kWidth, kHeight, qh::TPixelFormat::pf32bit);
    const qh::TRect whole{0, 0, kWidth, kHeight};
    const qh::TMargins margins{20, 16, 20, 16};
    const double stretched = BestMs(20, [&] {
        qh::ComposeInto(target, whole, image, margins, false, false, 1, 1);
        check += Check(target.ScanLine(0), static_cast<size_t>(target.Stride()) * kHeight);
    });
    const double tiled = BestMs(20, [&] {
        qh::ComposeInto(target, whole, image, margins, false, true, 1, 1);
        check += Check(target.ScanLine(0), static_cast<size_t>(target.Stride()) * kHeight);
    });

    // As the routine that hands out a new bitmap does it: the allocation
    // and the first touch of every page count too.
    const double fresh = BestMs(10, [&] {
        const qh::TBitmap made = qh::ComposeImage(whole, image, margins, false, false, 1, 1);
        check += Check(made.ScanLine(0), static_cast<size_t>(made.Stride()) * kHeight);
    });

    const qh::TBitmap frame = Frame();
    size_t rects = 0;
    const double region = BestMs(20, [&] {
        const auto runs = qh::ScanRegion(frame, 0, 0, 1, 1, 1, qh::kColourKey);
        rects = runs.size();
        check += static_cast<uint32_t>(runs.back().Right);
    });

    const size_t bytes = static_cast<size_t>(kWidth) * kHeight * 4;
    std::vector<uint8_t> from(bytes, 1), to(bytes, 2);
    const double copy = BestMs(20, [&] {
        std::memcpy(to.data(), from.data(), bytes);
        check += Check(to.data(), bytes);
        from[check % bytes] ^= 1; // a different copy each run
    });

    std::printf("compose 1920x1080 %.3f ms %.0f Mpixel/s (100x52 image, stretched middle)\n",
                stretched, mpixels / stretched * 1e3);
    std::printf("compose 1920x1080 %.3f ms %.0f Mpixel/s (100x52 image, tiled middle)\n", tiled,
                mpixels / tiled * 1e3);
    std::printf("compose 1920x1080 %.3f ms %.0f Mpixel/s (the same into a new bitmap each time)\n",
                fresh, mpixels / fresh * 1e3);
    std::printf("region 1920x1080 %.3f ms %zu rects\n", region, rects);
    std::printf("memcpy 1920x1080 %.3f ms %.0f Mpixel/s\n", copy, mpixels / copy * 1e3);

    qh::TSkinData skin(nullptr);
    skin.SkinStream().LoadFromFile(QH_PACKED_SKIN_DIR "/default.skn");
    if (!skin.LoadSkin()) {
        std::fprintf(stderr, "bench_skin_render: the default skin did not load\n");
        return 1;
    }
    const std::vector<TSkinPicture> pictures = PicturesOf(skin);
    for (int dpi : {144, 192})
        check += ScaleSkin(pictures, dpi);
    std::printf("(check %08x)\n", check);
    return 0;
}
