// The composed scroll bar strip: arrows at both ends in their pressed or
// plain state, the track between them, the thumb where the metrics put it
// and never past the track's end.
#include "skin/render/scroll_picture.h"

#include <gtest/gtest.h>

using namespace qh;

namespace {

enum : int { kArrowSeed = 1, kTrackSeed = 2, kThumbSeed = 3 };

TColor FrameColour(int seed, int frame) {
    return MakeColour(seed * 60, 10 * frame, 7);
}

// A strip of `frames` 16 x 16 images, each one colour; the arrows' left
// halves are the key colour.
TDataSkinObject Strip(int seed, int frames, bool keyedHalf = false) {
    TDataSkinObject part("part");
    part.Image = TBitmap(16 * frames, 16, TPixelFormat::pf32bit);
    for (int f = 0; f < frames; ++f)
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                part.Image.SetPixel(16 * f + x, y,
                                    keyedHalf && x < 8 ? kColourKey : FrameColour(seed, f + 1));
    part.Frame = frames;
    return part;
}

const TColor kFill = MakeColour(1, 2, 3);

} // namespace

TEST(ScrollPicture, ArrowsTrackAndThumbAlongAVerticalBar) {
    const TDataSkinObject arrows = Strip(kArrowSeed, kScrollArrowFrames);
    TDataSkinObject track = Strip(kTrackSeed, kScrollTrackFrames);
    const TDataSkinObject thumb = Strip(kThumbSeed, 3);
    const TScrollBarParts parts{&arrows, &track, &thumb, kFill, false, false};
    const TThumbMetrics m{16, 68, 20, 30};

    TBitmap bar = ComposeScrollBar(parts, true, 100, m, TScrollPress::None);
    ASSERT_EQ(bar.Width(), 16);
    ASSERT_EQ(bar.Height(), 100);
    EXPECT_EQ(bar.GetPixel(8, 0), FrameColour(kArrowSeed, kArrowUp));
    EXPECT_EQ(bar.GetPixel(8, 99), FrameColour(kArrowSeed, kArrowDown));
    EXPECT_EQ(bar.GetPixel(8, 16 + 29), FrameColour(kTrackSeed, 1)); // the track, image 1
    EXPECT_EQ(bar.GetPixel(8, 16 + 30), FrameColour(kThumbSeed, 1));
    EXPECT_EQ(bar.GetPixel(8, 16 + 49), FrameColour(kThumbSeed, 1));
    EXPECT_EQ(bar.GetPixel(8, 16 + 50), FrameColour(kTrackSeed, 1));

    // Pressed pieces take the next image; the pressed thumb its second.
    bar = ComposeScrollBar(parts, true, 100, m, TScrollPress::UpArrow);
    EXPECT_EQ(bar.GetPixel(8, 0), FrameColour(kArrowSeed, kArrowUp + 1));
    EXPECT_EQ(bar.GetPixel(8, 99), FrameColour(kArrowSeed, kArrowDown));
    // A press on the other bar of the window leaves this one unpressed.
    bar = ComposeScrollBar(parts, true, 100, m, TScrollPress::RightArrow);
    EXPECT_EQ(bar.GetPixel(8, 99), FrameColour(kArrowSeed, kArrowDown));
    bar = ComposeScrollBar(parts, false, 100, m, TScrollPress::HorzThumb);
    EXPECT_EQ(bar.GetPixel(0, 8), FrameColour(kArrowSeed, kArrowLeft));
    EXPECT_EQ(bar.GetPixel(99, 8), FrameColour(kArrowSeed, kArrowRight));
    EXPECT_EQ(bar.GetPixel(16 + 35, 8), FrameColour(kThumbSeed, 2));

    // A drag with a page may carry the offset to the track's end: the
    // thumb stays clear of the arrow.
    bar = ComposeScrollBar(parts, true, 100, {16, 68, 20, 68}, TScrollPress::None);
    EXPECT_EQ(bar.GetPixel(8, 16 + 47), FrameColour(kTrackSeed, 1));
    EXPECT_EQ(bar.GetPixel(8, 16 + 48), FrameColour(kThumbSeed, 1));
    EXPECT_EQ(bar.GetPixel(8, 83), FrameColour(kThumbSeed, 1));
    EXPECT_EQ(bar.GetPixel(8, 84), FrameColour(kArrowSeed, kArrowDown));
    // An empty range: no thumb at all, the track shows whole.
    bar = ComposeScrollBar(parts, true, 100, {16, 68, 0, 0}, TScrollPress::None);
    for (int y = 16; y < 84; ++y) ASSERT_EQ(bar.GetPixel(8, y), FrameColour(kTrackSeed, 1)) << y;
}

TEST(ScrollPicture, KeyedArrowsShowTheFillAndMissingPartsDrawNothing) {
    const TDataSkinObject arrows = Strip(kArrowSeed, kScrollArrowFrames, true);
    const TScrollBarParts parts{&arrows, nullptr, nullptr, kFill, false, false};
    // A bar shorter than two arrows: each arrow is half of it.
    TBitmap bar = ComposeScrollBar(parts, false, 20, {10, 0, 0, 0}, TScrollPress::None);
    ASSERT_EQ(bar.Width(), 20);
    EXPECT_EQ(bar.GetPixel(1, 8), kFill);             // key half of the left arrow
    EXPECT_EQ(bar.GetPixel(7, 8), FrameColour(kArrowSeed, kArrowLeft));
    EXPECT_EQ(bar.GetPixel(10, 8), kFill);
    EXPECT_EQ(bar.GetPixel(19, 8), FrameColour(kArrowSeed, kArrowRight));

    TScrollBarParts none = parts;
    TDataSkinObject empty("empty");
    none.Arrows = &empty;
    EXPECT_TRUE(ComposeScrollBar(none, false, 20, {10, 0, 0, 0}, TScrollPress::None).Empty());
}
