#include "core/gbk.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace qh;

namespace {
std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }
} // namespace

TEST(Gbk, NarrowLiteralsAreCodePage936) {
    // The build compiles narrow literals to GBK: "青" is 0xC7E0.
    EXPECT_STREQ("青", "\xC7\xE0");
    EXPECT_EQ(std::strlen("青禾网络电视"), 12u);
}

TEST(Gbk, RoundTripsThroughUtf16AndUtf8) {
    std::string gbk = "青禾网络电视 V2.0 ·提示";
    std::u16string wide = GbkToUtf16(gbk);
    EXPECT_EQ(wide, u"青禾网络电视 V2.0 ·提示");
    EXPECT_EQ(Utf16ToGbk(wide), gbk);
    EXPECT_EQ(GbkToUtf8(gbk), U8(u8"青禾网络电视 V2.0 ·提示"));
    EXPECT_EQ(Utf8ToGbk(U8(u8"宋体")), "宋体");
    EXPECT_EQ(GbkToWide("宋体"), L"宋体");
    EXPECT_EQ(WideToGbk(L"宋体"), "宋体");
}

TEST(Gbk, BadBytesBecomeReplacementCharacters) {
    // A lone lead byte at the end, and a character GBK cannot hold.
    EXPECT_EQ(GbkToUtf16("a\x81"), u"a\uFFFD");
    EXPECT_EQ(Utf16ToGbk(u"a\U0001F600b"), "a?b");
    EXPECT_EQ(Utf8ToUtf16("\xE9\x9D"), u"\uFFFD");
    EXPECT_EQ(Utf16ToUtf8(u"\U0001F600"), U8(u8"\U0001F600"));
}

TEST(Gbk, TruncateNeverSplitsADoubleByteCharacter) {
    std::string text = "ab青禾c";  // a b C7 E0 BA CC c
    EXPECT_EQ(GbkTruncate(text, 7), text);
    EXPECT_EQ(GbkTruncate(text, 6), "ab青禾");
    EXPECT_EQ(GbkTruncate(text, 5), "ab青");
    EXPECT_EQ(GbkTruncate(text, 3), "ab");
    EXPECT_EQ(GbkTruncate(text, 0), "");
    // A trail byte in the ASCII range (0x81 0x40) is still half of one unit.
    EXPECT_EQ(GbkTruncate("x\x81\x40", 2), "x");
    std::string many(200, '\0');
    for (size_t i = 0; i < many.size(); i += 2) many.replace(i, 2, "禾");
    std::string cut = GbkTruncate("a" + many, 127);
    EXPECT_EQ(cut.size(), 127u);
    EXPECT_EQ(GbkTruncate(many, 127).size(), 126u);
}
