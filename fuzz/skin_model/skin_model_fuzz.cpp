// Skin INI texts and bitmap files from anywhere: parsing must end with a
// skin or a clean error, in bounded time and memory. The input is an INI
// text, then two zero bytes, then the bytes of a member that every image
// key of the INI may name ("x.bmp").
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/exception.h"
#include "images/bitmap.h"
#include "images/bitmap_convert.h"
#include "skin/data/quick_ini.h"
#include "skin/data/skin_parts.h"
#include "skin/data/skin_reader.h"
#include "tools/qhskin/skin_package.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find(std::string("\0\0", 2));
    const std::string ini = input.substr(0, split);
    const std::string member = split == std::string::npos ? std::string() : input.substr(split + 2);

    // The bitmap reader alone, and the conversions on what it gives.
    try {
        qh::TMemoryStream stream(member);
        qh::TBitmap bitmap;
        bitmap.LoadFromStream(stream);
        if (bitmap.Width() * static_cast<int64_t>(bitmap.Height()) < 65536) {
            qh::RotateBitmapLeft(bitmap);
            qh::MirrorBitmap(bitmap);
            qh::GreyBitmap(bitmap);
        }
    } catch (const qh::Exception&) {
    }

    // The whole parse through a real package.
    try {
        const std::vector<uint8_t> packed =
            qh::PackSkin({{"skin.ini", ini}, {"x.bmp", member}, {"y.bmp", member}});
        qh::TMemoryStream packedStream(std::string(packed.begin(), packed.end()));
        qh::TSkinReader reader;
        if (!reader.Open(packedStream)) return 0;
        qh::TQuickIni quickIni;
        qh::TMemoryStream iniStream(ini);
        quickIni.LoadFromStream(iniStream);
        qh::TSkinParts parts;
        parts.ParseSkin(quickIni, reader);
    } catch (const qh::Exception&) {
    }
    return 0;
}
