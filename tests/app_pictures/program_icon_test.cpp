// The committed program icon holds an image drawn for each size Windows
// asks for, the 256-pixel one as PNG.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <vector>

namespace {

uint32_t Le(const std::vector<uint8_t>& d, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | d.at(at + i);
    return v;
}
uint32_t Be32(const std::vector<uint8_t>& d, size_t at) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v = v << 8 | d.at(at + i);
    return v;
}

TEST(ProgramIcon, HoldsEverySizeWindowsAsksFor) {
    std::ifstream file(QH_PROGRAM_ICON, std::ios::binary);
    const std::vector<uint8_t> ico{std::istreambuf_iterator<char>(file), {}};
    ASSERT_GE(ico.size(), 6u);
    ASSERT_EQ(Le(ico, 2, 2), 1u); // an icon, not a cursor
    std::set<int> sizes;
    for (uint32_t i = 0; i < Le(ico, 4, 2); ++i) {
        const size_t entry = 6 + 16 * i;
        const int side = ico.at(entry) == 0 ? 256 : ico.at(entry);
        const uint32_t length = Le(ico, entry + 8, 4), at = Le(ico, entry + 12, 4);
        ASSERT_LE(static_cast<uint64_t>(at) + length, ico.size()) << side;
        EXPECT_EQ(Le(ico, entry + 6, 2), 32u) << side;
        if (side == 256) {
            EXPECT_EQ(Be32(ico, at), 0x89504E47u) << "the 256-pixel image is PNG";
            EXPECT_EQ(Be32(ico, at + 16), 256u);
            EXPECT_EQ(Be32(ico, at + 20), 256u);
        } else {
            // A device-independent bitmap of the entry's size, colour and
            // mask rows stacked.
            EXPECT_EQ(Le(ico, at + 4, 4), static_cast<uint32_t>(side));
            EXPECT_EQ(Le(ico, at + 8, 4), static_cast<uint32_t>(2 * side));
        }
        sizes.insert(side);
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 20, 24, 32, 48, 256}));
}

} // namespace
