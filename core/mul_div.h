// Scaling by a ratio as the system's own MulDiv rounds it, and the DPI
// scale built on it: every size the program describes is a figure at 96
// DPI, shown scaled for the DPI of the monitor a window is on.
#pragma once

#include <cstdint>
#include <limits>

namespace qh {

// value * numerator / denominator through a 64-bit product, rounded half
// away from zero (2.5 to 3, -2.5 to -3). Where the system's call answers -1
// (a zero denominator, a result beyond int) this one answers 0 for the
// former and the nearest int for the latter, so that no size turns into -1.
constexpr int MulDivRounded(int value, int numerator, int denominator) {
    if (denominator == 0) return 0;
    int64_t product = static_cast<int64_t>(value) * numerator;
    int64_t divisor = denominator;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    const int64_t half = divisor / 2;
    const int64_t result = product >= 0 ? (product + half) / divisor : (product - half) / divisor;
    if (result > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (result < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(result);
}

inline constexpr int kDefaultDpi = 96;

// A DPI the system could not tell (0 or less) counts as 96.
constexpr int ScaleForDpi(int value, int dpi) {
    return dpi > 0 ? MulDivRounded(value, dpi, kDefaultDpi) : value;
}
// Back from the DPI to 96: for DPIs of 96 and above, a scaled figure comes
// back as the figure it was made from.
constexpr int UnscaleForDpi(int value, int dpi) {
    return dpi > 0 ? MulDivRounded(value, kDefaultDpi, dpi) : value;
}

} // namespace qh
