#include <gtest/gtest.h>

#include "core/string_list.h"
#include "skin/data/quick_ini.h"
#include "skin/data/skin_parts.h"

namespace qh {
namespace {

TQuickIni Ini(std::string_view text) {
    TQuickIni ini;
    TMemoryStream stream{std::string(text)};
    ini.LoadFromStream(stream);
    return ini;
}

TEST(QuickIni, SectionsAreFoundByWholeTrimmedHeader) {
    const TQuickIni ini = Ini("  [buttons]  \r\nA=1\n[ Spaced ]\nB=2\r[Last]\nC=3");
    EXPECT_EQ(ini.FindSection("Buttons"), 0);
    EXPECT_EQ(ini.ReadInteger("BUTTONS", "a", 0), 1);
    EXPECT_EQ(ini.FindSection("Spaced"), -1); // the spaces are inside the brackets
    EXPECT_EQ(ini.FindSection(" Spaced "), 2);
    EXPECT_EQ(ini.ReadString("Last", "C", "x"), "3");
    TStringList sections;
    ini.ReadSections(sections);
    ASSERT_EQ(sections.Count(), 3);
    EXPECT_EQ(sections.Strings(1), "Spaced"); // names are trimmed again
}

TEST(QuickIni, FirstKeyWinsAndEmptyValuesGiveTheDefault) {
    const TQuickIni ini = Ini("[Buttons]\n"
                              "; NormalColour=7 is a comment\n"
                              "\n"
                              "Rightwidth = 9 \n"
                              "NormalColour=\n"
                              "NormalColour=5\n"
                              "[Buttons]\n"
                              "LeftWidth=3\n"
                              "[Other]\n"
                              "LeftWidth=4\n");
    EXPECT_EQ(ini.ReadInteger("Buttons", "RightWidth", 0), 9);
    EXPECT_EQ(ini.ReadInteger("Buttons", "NormalColour", -1), -1);
    // A later section of the same name is never read.
    EXPECT_EQ(ini.ReadInteger("Buttons", "LeftWidth", 0), 0);
    EXPECT_EQ(ini.ReadString("Missing", "LeftWidth", "d"), "d");
    EXPECT_EQ(ini.Lines().size(), 8u); // comment and blank lines dropped
}

TEST(QuickIni, IntegerForms) {
    const TQuickIni ini =
        Ini("[S]\nHex=0x10\nDollar=$10\nUnit=12px\nNeg=-7\nShort=0x\nBig=99999999999\n");
    EXPECT_EQ(ini.ReadInteger("S", "Hex", 0), 16);
    EXPECT_EQ(ini.ReadInteger("S", "Dollar", 0), 16);
    EXPECT_EQ(ini.ReadInteger("S", "Unit", 42), 42);
    EXPECT_EQ(ini.ReadInteger("S", "Neg", 0), -7);
    EXPECT_EQ(ini.ReadInteger("S", "Short", 3), 3);
    EXPECT_EQ(ini.ReadInteger("S", "Big", 5), 5);
}

TEST(QuickIni, ZeroByteEndsTheTextAndReloadingReplaces) {
    TQuickIni ini = Ini(std::string("[S]\nA=1\0\nB=2\n", 14));
    EXPECT_EQ(ini.ReadInteger("S", "A", 0), 1);
    EXPECT_EQ(ini.ReadInteger("S", "B", 0), 0);
    TMemoryStream other{std::string("[T]\nA=5\n")};
    other.SetPosition(4); // from the stream's position on
    ini.LoadFromStream(other);
    EXPECT_EQ(ini.FindSection("S"), -1);
    EXPECT_EQ(ini.FindSection("T"), -1);
    EXPECT_EQ(ini.Lines().size(), 1u);
}

TEST(SkinColour, RgbTexts) {
    EXPECT_EQ(TSkinParts::ReadColour("255 255 255", 1), 0xFFFFFF);
    EXPECT_EQ(TSkinParts::ReadColour(" 255,255,255 ", 1), 0xFFFFFF);
    EXPECT_EQ(TSkinParts::ReadColour("10 20", 1), 10); // red only
    EXPECT_EQ(TSkinParts::ReadColour("1-2-3", 1), 1 + 2 * 256 + 3 * 65536);
    EXPECT_EQ(TSkinParts::ReadColour("256 257 258", 1), 0 + 1 * 256 + 2 * 65536);
    EXPECT_EQ(TSkinParts::ReadColour("1 2 3 4", 1), 1 + 2 * 256 + 3 * 65536);
    EXPECT_EQ(TSkinParts::ReadColour("", 77), 77);
    EXPECT_EQ(TSkinParts::ReadColour("abc", 77), 0);
}

} // namespace
} // namespace qh
