#include "app/resource_picture.h"

#include "core/stream.h"
#include "images/picture_reader.h"
#include "skin/data/skin_platform.h"
#include "skin/render/picture_scaling.h"
#include "core/mul_div.h"

namespace qh {

TBitmap ResourcePicture(const std::string& name) {
    TBitmap bitmap;
    std::string bytes = LoadDataResource(name);
    if (bytes.empty()) return bitmap;
    TMemoryStream stream(bytes);
    LoadPictureFromStream(stream, bitmap);
    return bitmap;
}

TBitmap PictureForDpi(const TBitmap& picture, int dpi, TColor key) {
    if (dpi == kDefaultDpi || dpi <= 0 || picture.Width() == 0 || picture.Height() == 0)
        return picture;
    return ScalePicture(picture, ScaleForDpi(picture.Width(), dpi),
                        ScaleForDpi(picture.Height(), dpi), FilterForDpi(dpi), key);
}

} // namespace qh
