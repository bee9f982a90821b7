#include "members_env.h"

#include "skin/render/compose.h"
#include "skin/render/pixel_copy.h"
#include "skin/render/state_image.h"

namespace qh::test {

TBitmap KeyedCell(const TBitmap& strip, int frames, int state, TColor back) {
    const TRect cell = StateImageRect(strip, false, frames, 1);
    TBitmap image(cell.Width(), cell.Height(), TPixelFormat::pf32bit);
    StretchStateImage(image, {0, 0, cell.Width(), cell.Height()}, strip, frames, state);
    TBitmap out(cell.Width(), cell.Height(), TPixelFormat::pf32bit);
    out.Fill(back);
    CopyKeyed(out, 0, 0, image, kColourKey);
    return out;
}

int CellShown(const TBitmap& shown, int x, int y, const TBitmap& strip, int frames, TColor back) {
    for (int state = 1; state <= frames; ++state) {
        const TBitmap want = KeyedCell(strip, frames, state, back);
        bool same = want.Width() > 0;
        for (int j = 0; j < want.Height() && same; ++j)
            for (int i = 0; i < want.Width() && same; ++i)
                same = x + i < shown.Width() && y + j < shown.Height() &&
                       (shown.GetPixel(x + i, y + j) & 0xFFFFFF) == (want.GetPixel(i, j) & 0xFFFFFF);
        if (same) return state;
    }
    return 0;
}

void SkinMembers::SetUp() {
    TSkinSuite::SetUp();
    ParkCursor();
}

} // namespace qh::test
