// GIF pictures: the first image of a GIF87a or GIF89a file read into a
// 24-bit bitmap of the file's screen size, and a bitmap of at most 256
// colours written as a GIF89a file.
#pragma once

#include <string>

#include "core/stream.h"
#include "images/bitmap.h"

namespace qh {

class TGIFImage {
public:
    // From the stream's position to the end of the first image's data; later
    // images are not read. Raises EInvalidGraphic for a damaged file; the
    // picture is then left as it was.
    void LoadFromStream(TStream& stream);
    void LoadFromFile(const std::string& fileName);
    // One image over the whole screen, its colours in a global table in the
    // order they first occur (top row first). Raises EInvalidGraphic for an
    // empty bitmap or one of more than 256 colours.
    void SaveToStream(TStream& stream) const;
    void SaveToFile(const std::string& fileName) const;

    // Takes a copy of the bitmap as the picture to save.
    void Assign(const TBitmap& bitmap);

    const TBitmap& Bitmap() const { return FBitmap; }
    int Width() const { return FBitmap.Width(); }
    int Height() const { return FBitmap.Height(); }

    // A read file's graphic control block may name one table index as
    // see-through (saving writes none). Its pixels keep that table entry's colour in the bitmap,
    // so whoever draws the picture keys out TransparentColor().
    bool Transparent() const { return FTransparentIndex >= 0; }
    int TransparentIndex() const { return FTransparentIndex; }
    TColor TransparentColor() const { return FTransparentColor; }

private:
    TBitmap FBitmap;
    int FTransparentIndex = -1;
    TColor FTransparentColor = 0;
};

} // namespace qh
