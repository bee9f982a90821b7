// Small hand-made pictures written as letter grids: each letter one colour.
#pragma once

#include <string>
#include <vector>

#include "images/bitmap.h"

namespace qh::test {

using TGrid = std::vector<std::string>;

inline TColor Colour(char c) {
    if (c == 'M') return kColourKey;
    // Any other letter: a colour of its own, never magenta.
    const int v = static_cast<unsigned char>(c);
    return MakeColour(v, 255 - v, (v * 7) & 255);
}

inline TBitmap FromGrid(const TGrid& grid, TPixelFormat format = TPixelFormat::pf32bit) {
    TBitmap b(grid.empty() ? 0 : static_cast<int>(grid[0].size()), static_cast<int>(grid.size()),
              format);
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            b.SetPixel(x, y, Colour(grid[y][x]));
    return b;
}

inline TGrid ToGrid(const TBitmap& b) {
    TGrid grid(b.Height(), std::string(b.Width(), '?'));
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            for (int c = 32; c < 127; ++c)
                if (Colour(static_cast<char>(c)) == b.GetPixel(x, y)) {
                    grid[y][x] = static_cast<char>(c);
                    break;
                }
    return grid;
}

} // namespace qh::test
