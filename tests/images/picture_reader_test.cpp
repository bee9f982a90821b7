#include <gtest/gtest.h>

#include <string>

#include "images/gif_image.h"
#include "images/picture_reader.h"

namespace qh {
namespace {

TBitmap Sample() {
    TBitmap b(3, 2);
    b.SetPixel(0, 0, MakeColour(230, 230, 250));
    b.SetPixel(1, 0, MakeColour(64, 64, 64));
    b.SetPixel(2, 1, MakeColour(255, 255, 255));
    return b;
}

std::string AsGif(const TBitmap& b) {
    TGIFImage gif;
    gif.Assign(b);
    TMemoryStream out;
    gif.SaveToStream(out);
    return out.ToString();
}

std::string AsBmp(const TBitmap& b) {
    TMemoryStream out;
    b.SaveToStream(out);
    return out.ToString();
}

TEST(PictureReader, ToldApartByTheFirstBytesFromTheStreamPosition) {
    const TBitmap sample = Sample();
    std::string older = AsGif(sample);
    older[4] = '7';
    for (const std::string& file : {AsGif(sample), older, AsBmp(sample)}) {
        SCOPED_TRACE(file.substr(0, 6));
        // Bytes before the picture, as in a stream holding several things.
        TMemoryStream stream("prefix" + file);
        stream.SetPosition(6);
        TBitmap loaded;
        LoadPictureFromStream(stream, loaded);
        EXPECT_EQ(loaded, sample);
    }
}

TEST(PictureReader, UnknownOrDamagedFilesLeaveTheBitmapAlone) {
    const TBitmap before = Sample();
    std::string cutGif = AsGif(before);
    cutGif.resize(cutGif.size() - 3);
    std::string cutBmp = AsBmp(before);
    cutBmp.resize(30);
    for (const std::string& file :
         {std::string(), std::string("B"), std::string("GIF89"), std::string("GIF90a......"),
          std::string("\x89PNG\r\n\x1a\n....", 12), cutGif, cutBmp}) {
        SCOPED_TRACE(file.size());
        TMemoryStream stream(file);
        TBitmap bitmap = before;
        EXPECT_THROW(LoadPictureFromStream(stream, bitmap), EInvalidGraphic);
        EXPECT_EQ(bitmap, before);
    }
}

} // namespace
} // namespace qh
