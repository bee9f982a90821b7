#include "images/picture_reader.h"

#include <cstring>

#include "images/gif_image.h"

namespace qh {

void LoadPictureFromStream(TStream& stream, TBitmap& bitmap) {
    const int64_t start = stream.Position();
    char signature[6] = {};
    const int64_t got = stream.Read(signature, sizeof signature);
    stream.SetPosition(start);
    if (got == 6 &&
        (std::memcmp(signature, "GIF87a", 6) == 0 || std::memcmp(signature, "GIF89a", 6) == 0)) {
        TGIFImage gif;
        gif.LoadFromStream(stream);
        bitmap = gif.Bitmap();
        return;
    }
    if (got >= 2 && signature[0] == 'B' && signature[1] == 'M') {
        bitmap.LoadFromStream(stream);
        return;
    }
    throw EInvalidGraphic("Unknown picture file format");
}

} // namespace qh
