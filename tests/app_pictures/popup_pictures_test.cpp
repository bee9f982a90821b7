#include "images/picture_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The popup's key colour, red 230, green 230, blue 250 = 16443110.
constexpr qh::TColor kKey = 16443110;

std::string PathOf(const char* name) {
    return std::string(QH_POPUP_PICTURES) + "/" + name;
}

qh::TBitmap Load(const char* name) {
    qh::TFileStream file(PathOf(name), qh::TFileMode::fmOpenRead);
    qh::TBitmap bitmap;
    qh::LoadPictureFromStream(file, bitmap);
    return bitmap;
}

int KeyPixels(const qh::TBitmap& b) {
    int count = 0;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            count += b.GetPixel(x, y) == kKey;
    return count;
}

bool IsGrey(qh::TColor c) {
    return qh::ColourR(c) == qh::ColourG(c) && qh::ColourG(c) == qh::ColourB(c);
}

} // namespace

TEST(PopupPictures, EveryPieceIsAGifPicture) {
    for (const char* name : {"title_left.gif", "title_right.gif", "title_close.gif",
                             "title_back.gif", "bottom_left.gif", "bottom_right.gif",
                             "bottom_edge.gif", "left_edge.gif", "right_edge.gif"}) {
        SCOPED_TRACE(name);
        qh::TFileStream file(PathOf(name), qh::TFileMode::fmOpenRead);
        char signature[6] = {};
        file.ReadBuffer(signature, 6);
        EXPECT_EQ(std::string(signature, 6), "GIF89a");
    }
}

TEST(PopupPictures, SizesOfTheFramePieces) {
    struct Piece {
        const char* name;
        int width, height;
    };
    for (const Piece& p : {Piece{"title_left.gif", 3, 22}, Piece{"title_right.gif", 3, 22},
                           Piece{"title_close.gif", 35, 22}, Piece{"bottom_left.gif", 3, 3},
                           Piece{"bottom_right.gif", 3, 3}}) {
        SCOPED_TRACE(p.name);
        qh::TBitmap b = Load(p.name);
        EXPECT_EQ(b.Width(), p.width);
        EXPECT_EQ(b.Height(), p.height);
    }
    // The stretched pieces keep the frame's thickness.
    EXPECT_EQ(Load("title_back.gif").Height(), 22);
    EXPECT_EQ(Load("bottom_edge.gif").Height(), 3);
    EXPECT_EQ(Load("left_edge.gif").Width(), 3);
    EXPECT_EQ(Load("right_edge.gif").Width(), 3);
}

TEST(PopupPictures, CornersCarryTheKeyColourAtTheirOuterPixel) {
    qh::TBitmap topLeft = Load("title_left.gif");
    qh::TBitmap topRight = Load("title_right.gif");
    qh::TBitmap bottomLeft = Load("bottom_left.gif");
    qh::TBitmap bottomRight = Load("bottom_right.gif");
    EXPECT_EQ(topLeft.GetPixel(0, 0), kKey);
    EXPECT_EQ(topRight.GetPixel(2, 0), kKey);
    EXPECT_EQ(bottomLeft.GetPixel(0, 2), kKey);
    EXPECT_EQ(bottomRight.GetPixel(2, 2), kKey);
    // Only the very corner: the rest of the frame is solid.
    EXPECT_LE(KeyPixels(topLeft), 3);
    EXPECT_EQ(KeyPixels(topLeft), KeyPixels(topRight));
    EXPECT_EQ(KeyPixels(bottomLeft), KeyPixels(bottomRight));
}

TEST(PopupPictures, EdgesAreDarkGreyAndTheCloseCrossWhite) {
    for (const char* name :
         {"title_back.gif", "bottom_edge.gif", "left_edge.gif", "right_edge.gif"}) {
        SCOPED_TRACE(name);
        qh::TBitmap b = Load(name);
        EXPECT_EQ(KeyPixels(b), 0);
        for (int y = 0; y < b.Height(); ++y) {
            for (int x = 0; x < b.Width(); ++x) {
                qh::TColor c = b.GetPixel(x, y);
                ASSERT_TRUE(IsGrey(c));
                ASSERT_LT(qh::ColourR(c), 128);
            }
        }
    }
    qh::TBitmap close = Load("title_close.gif");
    EXPECT_EQ(KeyPixels(close), 0);
    int white = 0;
    for (int y = 0; y < close.Height(); ++y)
        for (int x = 0; x < close.Width(); ++x) {
            EXPECT_TRUE(IsGrey(close.GetPixel(x, y)));
            white += close.GetPixel(x, y) == qh::MakeColour(255, 255, 255);
        }
    EXPECT_GT(white, 10);
}
