// Scaling by a ratio as the system's MulDiv rounds it, and the DPI scale
// built on it: every size the program describes is a figure at 96 DPI,
// shown scaled for the DPI of the monitor a window is on.
#pragma once

#include <cstdint>
#include <limits>

namespace qh {

// product / divisor rounded half away from zero (2.5 to 3, -2.5 to -3);
// divisor not 0.
constexpr int64_t RoundedQuotient(int64_t product, int64_t divisor) {
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    const int64_t half = divisor / 2;
    return product >= 0 ? (product + half) / divisor : (product - half) / divisor;
}

// a * b / c rounded half away from zero over a 64-bit product, as the
// system's MulDiv: -1 for a zero divisor or a result outside 32 bits.
constexpr int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const int64_t q = RoundedQuotient(static_cast<int64_t>(a) * b, c);
    if (q > std::numeric_limits<int>::max() || q < std::numeric_limits<int>::min()) return -1;
    return static_cast<int>(q);
}

inline constexpr int kDefaultDpi = 96;

// The nearest int.
constexpr int SaturatedInt(int64_t value) {
    if (value > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

// MulDiv(value, dpi, 96), except that a figure beyond int becomes the
// nearest int rather than -1, and a DPI the system could not tell (0 or
// less) counts as 96.
constexpr int ScaleForDpi(int value, int dpi) {
    if (dpi <= 0) return value;
    return SaturatedInt(RoundedQuotient(static_cast<int64_t>(value) * dpi, kDefaultDpi));
}
// Back from the DPI to 96 in the same way: for DPIs of 96 and above, a
// scaled figure comes back as the figure it was made from.
constexpr int UnscaleForDpi(int value, int dpi) {
    if (dpi <= 0) return value;
    return SaturatedInt(RoundedQuotient(static_cast<int64_t>(value) * kDefaultDpi, dpi));
}

} // namespace qh
