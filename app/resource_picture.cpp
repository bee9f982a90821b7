#include "app/resource_picture.h"

#include "core/stream.h"
#include "images/picture_reader.h"
#include "skin/data/skin_platform.h"

namespace qh {

TBitmap ResourcePicture(const std::string& name) {
    TBitmap bitmap;
    std::string bytes = LoadDataResource(name);
    if (bytes.empty()) return bitmap;
    TMemoryStream stream(bytes);
    LoadPictureFromStream(stream, bitmap);
    return bitmap;
}

} // namespace qh
