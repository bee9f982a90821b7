// Building skins in memory for the suites.
#pragma once

#include <string>
#include <vector>

#include "core/stream.h"
#include "images/bitmap.h"
#include "tools/qhskin/skin_package.h"

namespace qh::test {

inline std::string BitmapFile(int width, int height, TColor colour = MakeColour(10, 20, 30)) {
    TBitmap b(width, height);
    b.Fill(colour);
    TMemoryStream stream;
    b.SaveToStream(stream);
    return stream.ToString();
}

// A packed skin of one INI text and the given bitmaps.
inline std::string PackedSkin(const std::string& ini, std::vector<TSkinMember> bitmaps = {}) {
    bitmaps.insert(bitmaps.begin(), TSkinMember{"skin.ini", ini});
    const std::vector<uint8_t> packed = PackSkin(bitmaps);
    return std::string(packed.begin(), packed.end());
}

} // namespace qh::test
