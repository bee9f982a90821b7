#include "core/component.h"

#include <gtest/gtest.h>

#include <memory>

using namespace qh;

namespace {

enum TLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
const TEnumInfo LayoutEnum{"TButtonLayout",
                           {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}};

class Font : public TPersistent {
    QH_CLASS(Font, TPersistent)
    int Height() const { return FHeight; }
    void SetHeight(int h) { FHeight = h; }

private:
    int FHeight = -11;
};
QH_DEFINE_CLASS(Font, TPersistent, IntProp("Height", &Font::Height, &Font::SetHeight))

class Button : public TComponent {
    QH_CLASS(Button, TComponent)
    using TComponent::TComponent;
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& c) { FCaption = c; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool f) { FFlat = f; }
    TLayout Layout() const { return FLayout; }
    void SetLayout(TLayout l) { FLayout = l; }
    int Margin() const { return FMargin; }
    void SetMargin(int m) { FMargin = m; }
    int Width() const { return 75; }
    Font* GetFont() const { return FFont.get(); }
    void SetFont(Font* f) { FReplaced = f; }
    Font* FReplaced = nullptr;

private:
    std::string FCaption;
    bool FFlat = false;
    TLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    std::unique_ptr<Font> FFont = std::make_unique<Font>();
};
QH_DEFINE_CLASS(Button, TComponent, StrProp("Caption", &Button::Caption, &Button::SetCaption),
                BoolProp("Flat", &Button::Flat, &Button::SetFlat),
                EnumProp("Layout", LayoutEnum, &Button::Layout, &Button::SetLayout),
                IntProp("Margin", &Button::Margin, &Button::SetMargin),
                IntProp("Width", &Button::Width),
                ObjProp("Font", &Button::GetFont, &Button::SetFont))

// Publishes "Margin" again as a string: the nearest class wins.
class OddButton : public Button {
    QH_CLASS(OddButton, Button)
    using Button::Button;
    std::string MarginText() const { return "wide"; }
};
QH_DEFINE_CLASS(OddButton, Button, StrProp("Margin", &OddButton::MarginText))

} // namespace

TEST(PublishedProperties, ReadByNameOfEveryKind) {
    Button b(nullptr);
    b.SetName("OKButton");
    b.SetTag(199);
    b.SetCaption("确定");
    b.SetLayout(blGlyphTop);
    EXPECT_EQ(GetStrProp(b, "Caption"), "确定");
    EXPECT_EQ(GetStrProp(b, "name"), "OKButton");
    EXPECT_EQ(GetIntProp(b, "Tag"), 199);
    EXPECT_EQ(GetIntProp(b, "MARGIN"), -1);
    EXPECT_EQ(GetEnumProp(b, "Flat"), "False");
    EXPECT_EQ(GetEnumProp(b, "Layout"), "blGlyphTop");
    TObject* font = GetObjectProp(b, "Font");
    ASSERT_NE(font, nullptr);
    EXPECT_STREQ(font->ClassName(), "Font");
    EXPECT_EQ(GetIntProp(*font, "Height"), -11);
}

TEST(PublishedProperties, MissingOrOtherKindReadsEmpty) {
    Button b(nullptr);
    b.SetCaption("x");
    EXPECT_EQ(GetIntProp(b, "Checked"), 0);
    EXPECT_EQ(GetIntProp(b, "Caption"), 0); // a string is no integer
    EXPECT_EQ(GetIntProp(b, "Flat"), 0);    // nor is an enumeration
    EXPECT_EQ(GetEnumProp(b, "Margin"), "");
    EXPECT_EQ(GetStrProp(b, "Tag"), "");
    EXPECT_EQ(GetObjectProp(b, "Caption"), nullptr);
    EXPECT_EQ(GetStrProp(b, ""), "");
    EXPECT_FALSE(IsPublishedProp(b, "Checked"));
    EXPECT_TRUE(IsPublishedProp(b, "tag"));
}

TEST(PublishedProperties, SetEnumerationByValueName) {
    Button b(nullptr);
    EXPECT_TRUE(SetEnumProp(b, "Flat", "True"));
    EXPECT_TRUE(b.Flat());
    EXPECT_TRUE(SetEnumProp(b, "flat", "false"));
    EXPECT_FALSE(b.Flat());
    EXPECT_TRUE(SetEnumProp(b, "Layout", "BLGLYPHBOTTOM"));
    EXPECT_EQ(b.Layout(), blGlyphBottom);
    // Skipped without a word: missing, not an enumeration, unknown value.
    EXPECT_FALSE(SetEnumProp(b, "Transparent", "True"));
    EXPECT_FALSE(SetEnumProp(b, "Margin", "True"));
    EXPECT_EQ(b.Margin(), -1);
    EXPECT_FALSE(SetEnumProp(b, "Caption", "True"));
    EXPECT_EQ(b.Caption(), "");
    EXPECT_FALSE(SetEnumProp(b, "Layout", "blGlyphCentre"));
    EXPECT_FALSE(SetEnumProp(b, "Flat", "1"));
    EXPECT_EQ(b.Layout(), blGlyphBottom);
}

TEST(PublishedProperties, OtherSettersHonourKindAndReadOnly) {
    Button b(nullptr);
    EXPECT_TRUE(SetIntProp(b, "Margin", 4));
    EXPECT_EQ(b.Margin(), 4);
    EXPECT_FALSE(SetIntProp(b, "Width", 10)); // read-only
    EXPECT_EQ(GetIntProp(b, "Width"), 75);
    EXPECT_FALSE(SetIntProp(b, "Caption", 3));
    EXPECT_TRUE(SetStrProp(b, "Caption", "取消"));
    EXPECT_EQ(b.Caption(), "取消");
    EXPECT_FALSE(SetStrProp(b, "Margin", "7"));
    EXPECT_EQ(b.Margin(), 4);
    // The name setter keeps its own checks behind the table.
    EXPECT_THROW(SetStrProp(b, "Name", "not a name"), EComponentError);

    Font other;
    EXPECT_TRUE(SetObjectProp(b, "Font", &other));
    EXPECT_EQ(b.FReplaced, &other);
    TComponent notAFont(nullptr);
    EXPECT_FALSE(SetObjectProp(b, "Font", &notAFont));
    EXPECT_EQ(b.FReplaced, &other);
}

TEST(PublishedProperties, DescendantsInheritAndMayRepublish) {
    OddButton b(nullptr);
    b.SetCaption("OK");
    EXPECT_EQ(GetStrProp(b, "Caption"), "OK");
    EXPECT_EQ(GetStrProp(b, "Margin"), "wide");
    EXPECT_EQ(GetIntProp(b, "Margin"), 0);
    EXPECT_TRUE(b.Is<Button>());
    EXPECT_TRUE(SetEnumProp(b, "Flat", "True"));
    EXPECT_TRUE(b.Flat());
}

TEST(EnumInfo, NamesAndOrdinals) {
    EXPECT_EQ(LayoutEnum.NameOf(1), "blGlyphRight");
    EXPECT_EQ(LayoutEnum.NameOf(4), "");
    EXPECT_EQ(LayoutEnum.NameOf(-1), "");
    EXPECT_EQ(LayoutEnum.ValueOf("blglyphleft"), 0);
    EXPECT_EQ(LayoutEnum.ValueOf(""), -1);
    EXPECT_EQ(BooleanEnum.ValueOf("TRUE"), 1);
}
