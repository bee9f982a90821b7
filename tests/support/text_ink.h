// Text in the test bed's font is smoothed: only the middle of a stroke has
// the text's own colour, its edges blend into the ground. A check for drawn
// text counts pixels near the colour, close enough that no ground of the
// skins or the system (button face, highlight, shadow) passes for ink.
#pragma once
#include <cstdint>
#include <cstdlib>

namespace qh::test {

inline bool NearColour(uint32_t a, uint32_t b, int tolerance = 24) {
    for (int shift = 0; shift <= 16; shift += 8) {
        const int ca = static_cast<int>((a >> shift) & 0xFF);
        const int cb = static_cast<int>((b >> shift) & 0xFF);
        if (std::abs(ca - cb) > tolerance) return false;
    }
    return true;
}

} // namespace qh::test
