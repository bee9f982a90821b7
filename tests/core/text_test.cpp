#include "core/exception.h"
#include "core/string_list.h"
#include "core/text.h"

#include <gtest/gtest.h>

using namespace qh;

TEST(StrToInt, AcceptsTheRuntimeForms) {
    EXPECT_EQ(StrToInt("300"), 300);
    EXPECT_EQ(StrToInt("-12"), -12);
    EXPECT_EQ(StrToInt("+7"), 7);
    EXPECT_EQ(StrToInt("$10"), 16);
    EXPECT_EQ(StrToInt("$fF"), 255);
    EXPECT_EQ(StrToInt("-$10"), -16);
    EXPECT_EQ(StrToInt("  42"), 42);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
    EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
}

TEST(StrToInt, RejectsWithTheRuntimeMessage) {
    for (const char* bad : {"", " ", "-", "$", "12px", "300 ", "1.5", "0x10", "2147483648",
                            "-2147483649", "$100000000", "1\r\nB"}) {
        try {
            StrToInt(bad);
            ADD_FAILURE() << "accepted: " << bad;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message, std::string("'") + bad + "' 不是一个有效的整形值");
            EXPECT_STREQ(e.ClassName(), "EConvertError");
        }
    }
    EXPECT_EQ(StrToIntDef("12px", -5), -5);
}

TEST(Trim, RemovesControlCharactersAndSpacesOnly) {
    EXPECT_EQ(Trim(std::string("\0\t\r\n a b \x1f\x20", 10)), "a b");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(Trim(""), "");
    // 0x80 and up are text (GBK lead bytes), never trimmed.
    EXPECT_EQ(Trim("\x81\x40 "), "\x81\x40");
    EXPECT_EQ(TrimLeft("  x  "), "x  ");
    EXPECT_EQ(TrimRight("  x  "), "  x");
}

TEST(SplitLines, BreaksAtCrLfAndCrLf) {
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (V{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n"), (V{"a"}));
    EXPECT_EQ(SplitLines("a\r\n\r\nb"), (V{"a", "", "b"}));
    EXPECT_EQ(SplitLines("\n\r"), (V{"", ""}));
    EXPECT_EQ(SplitLines(""), V{});
}

TEST(CaseFolding, LeavesDoubleByteCharactersWhole) {
    // "娱" is 0xD3 0xE9 and "A" 0x41 can be a trail byte: 0x81 0x41 must survive.
    EXPECT_EQ(LowerCase("ABC\x81\x41Z"), "abc\x81\x41z");
    EXPECT_TRUE(SameText("Skin.INI", "skin.ini"));
    EXPECT_FALSE(SameText("\x81\x41", "\x81\x61"));
}

TEST(StringList, IndexErrorsUseTheRuntimeMessage) {
    TStringList list;
    list.SetText("one\r\ntwo\nthree");
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Strings(2), "three");
    EXPECT_EQ(list.Text(), "one\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(list.IndexOf("TWO"), 1);
    try {
        list.Strings(3);
        ADD_FAILURE();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message, "列表索引越界 (3)");
    }
    EXPECT_THROW(list.Strings(-1), EListError);
}
