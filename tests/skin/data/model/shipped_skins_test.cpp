#include <gtest/gtest.h>

#include <string>

#include "skin/data/skin_data.h"
#include "skin/data/skin_manager_link.h"
#include "skin/data/skin_platform.h"
#include "core/gbk.h"
#include "tools/qhskin/skin_report.h"

namespace qh {
namespace {

struct Shipped {
    const char* File;
    const char* Name; // code page 936
};
const Shipped kShipped[] = {
    {"default.skn", "默认皮肤"}, {"crystal.skn", "蓝色水晶"}, {"mac.skn", "苹果MAC"}};

// Every part the drawing code uses.
const char* const kRequiredParts[] = {
    "Title",           "Button",       "BorderLeft",  "BorderRight",  "BorderTop",
    "BorderBottom",    "Progress",     "Tab",         "ComboButton",  "UpDownHorz",
    "UpDownVert",      "GroupBox",     "MenuBar",     "GroupBoxEdge", "Toolbar",
    "StatusBar",       "SunkEdge",     "ExtraImages", "Header",       "MenuItem",
    "MenuBackground",  "ScrollArrows", "HorzScroll",  "VertScroll",   "HorzScrollThumb",
    "VertScrollThumb", "ThumbHorz",    "ThumbVert",   "ThumbLeft",    "ThumbRight",
    "ThumbUp",         "ThumbDown"};

class ShippedSkins : public ::testing::TestWithParam<Shipped> {
protected:
    void TearDown() override { DestroySkinManager(); }
};

TEST_P(ShippedSkins, EveryPartPresentWithImages) {
    TSkinData data(nullptr);
    data.SkinStream().LoadFromFile(std::string(QH_PACKED_SKIN_DIR) + "/" + GetParam().File);
    ASSERT_TRUE(data.LoadSkin());
    EXPECT_FALSE(data.SkinEmpty);
    EXPECT_EQ(data.SkinName, GetParam().Name);

    for (const auto& ref : data.PartList()) {
        SCOPED_TRACE(ref.FieldName);
        ASSERT_NE(ref.Part, nullptr);
        EXPECT_FALSE(ref.Part->Image.Empty());
        EXPECT_GT(ref.Part->Frame, 0);
        // Every state cell is a whole number of pixels wide.
        if (ref.Part != data.BorderTop.get() && ref.Part != data.BorderBottom.get() &&
            ref.Part != data.Title.get() && ref.Part != data.MenuBar.get()) {
            EXPECT_EQ(ref.Part->Image.Width() % ref.Part->Frame, 0);
        }
    }
    EXPECT_EQ(data.PartList().size(), std::size(kRequiredParts));
    // Borders: active and inactive frames.
    EXPECT_EQ(data.BorderLeft->Frame, 2);
    EXPECT_EQ(data.BorderTop->Frame, 2);
    EXPECT_EQ(data.BorderTop->Image.Height() % 2, 0);
    EXPECT_EQ(data.ScrollArrows->Image.Width(), 23 * 16);
    EXPECT_FALSE(data.Button->CheckImage.Empty());
    EXPECT_FALSE(data.Button->RadioImage.Empty());
    EXPECT_FALSE(data.ComboButton->Image2.Empty());
    EXPECT_FALSE(data.Tab->Image2.Empty());
    EXPECT_FALSE(data.Progress->Image2.Empty());
    EXPECT_FALSE(data.UpDownHorz->Image2.Empty());

    // Caption buttons: close, maximise, restore, minimise and the icon
    // button, then the three child-window controls with their images.
    int close = 0, maximise = 0, minimise = 0, icon = 0;
    for (const auto& b : data.SysButtons) {
        SCOPED_TRACE(b->Name);
        EXPECT_FALSE(b->Image.Empty());
        close += b->Action == 0;
        maximise += b->Action == 1;
        minimise += b->Action == 2;
        icon += b->Action == 3;
    }
    EXPECT_EQ(close, 1);
    EXPECT_EQ(maximise, 2); // maximise and restore
    EXPECT_EQ(minimise, 1);
    EXPECT_EQ(icon, 1);
    EXPECT_EQ(data.SysButtons.size(), 8u);
    EXPECT_NE(data.Colours.ButtonFace, SystemColour(15)); // the skin gives its colours
}

TEST_P(ShippedSkins, InspectNamesEveryPart) {
    TSkinData data(nullptr);
    data.SkinStream().LoadFromFile(std::string(QH_PACKED_SKIN_DIR) + "/" + GetParam().File);
    ASSERT_TRUE(data.LoadSkin());
    const std::string json = SkinPartsToJson(data);
    for (const char* part : kRequiredParts)
        EXPECT_NE(json.find(std::string("\"") + part + "\": {"), std::string::npos) << part;
    EXPECT_EQ(json.find("\"Image\": \"\""), std::string::npos); // no empty image anywhere
    EXPECT_NE(json.find("\"SysButtons\": [{"), std::string::npos);
    EXPECT_NE(json.find("\"SkinName\": \"" + GbkToUtf8(GetParam().Name) + "\""), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(All, ShippedSkins, ::testing::ValuesIn(kShipped));

TEST(MenuGlyphs, FourGlyphsWithWhiteSeeThrough) {
    // On Windows the strip comes from the program's resources when linked
    // in; the suite hands the committed file to the portable lookup.
    TMemoryStream file;
    file.LoadFromFile(QH_MENU_GLYPHS);
    RegisterBitmapResource("LACQUERMENU", file.ToString());
    TSkinData data(nullptr);
    ASSERT_EQ(data.MenuImages.Count(), 4);
    EXPECT_EQ(data.MenuImages.Width(), 16);
    EXPECT_EQ(data.MenuImages.MaskColour(), MakeColour(255, 255, 255));
    // Each glyph has some black and is mostly see-through.
    for (int i = 0; i < 4; ++i) {
        int black = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                black += data.MenuImages.Images(i).GetPixel(x, y) == 0;
        EXPECT_GT(black, 4) << i;
        EXPECT_LT(black, 128) << i;
    }
    // Registered bytes only count where the program carries none.
    if (platform::FindProgramBitmap("LACQUERMENU").empty()) {
        RegisterBitmapResource("LACQUERMENU", "BM damaged");
        TSkinData damaged(nullptr);
        EXPECT_EQ(damaged.MenuImages.Count(), 0);
    }
    RegisterBitmapResource("LACQUERMENU", std::string());
}

} // namespace
} // namespace qh
