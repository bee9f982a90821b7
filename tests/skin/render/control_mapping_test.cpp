#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/render/control_mapping.h"

namespace qh {
namespace {

using enum TSkinControlClass;

constexpr TSkinControlTypes kAll = kAllSkinControls;
constexpr TSkinControlTypes Without(TSkinControlType type) {
    return kAll & ~SkinControlBit(type);
}

TComponentFacts Windowed(std::vector<std::string> chain) {
    TComponentFacts c;
    chain.insert(chain.end(), {"TWinControl", "TControl", "TComponent"});
    c.ClassChain = std::move(chain);
    c.Windowed = c.HasHandle = true;
    return c;
}

TSkinFacts Skin(TSkinControlTypes bits, std::span<const std::string> skin3rd = {}) {
    TSkinFacts s;
    s.SkinControls = bits;
    s.HasTabPart = true;
    s.Skin3rd = skin3rd;
    return s;
}

TEST(ControlMapping, SkipRules) {
    const TSkinFacts skin = Skin(kAll);
    TComponentFacts c = Windowed({"TButton"});
    for (int tag : {99, 199, 299}) {
        c.Tag = tag;
        EXPECT_EQ(SkipComponent(c, skin).Reason, TSkipReason::DisableTag) << tag;
    }
    c.Tag = 98;
    EXPECT_EQ(SkipComponent(c, skin).Reason, TSkipReason::None);
    // Only a control still without its window counts as skinned on a preview form.
    c.FormName = "frmPrintPreview";
    EXPECT_EQ(SkipComponent(c, skin).Reason, TSkipReason::None);
    c.HasHandle = false;
    EXPECT_EQ(SkipComponent(c, skin).Reason, TSkipReason::Preview);
    c.FormName = "Form1";
    c.FormClassName = "TppPrintPreview";
    EXPECT_EQ(SkipComponent(c, skin).Reason, TSkipReason::Preview);
    c.FormClassName = "TForm1";
    EXPECT_TRUE(SkipComponent(c, skin).NeedsHandle);
}

TEST(ControlMapping, TableMatchesDescendantsAndFallsThroughAbsentBits) {
    const TComponentFacts memo = Windowed({"TMemo", "TCustomMemo", "TCustomEdit"});
    TControlMapping m = MapSkinComponent(memo, Skin(kAll));
    EXPECT_EQ(m.Control, TSkinScrollbar);
    EXPECT_TRUE(m.Tracking);
    m = MapSkinComponent(memo, Skin(Without(xcScrollbar)));
    EXPECT_EQ(m.Control, TSkinEdit);
    EXPECT_TRUE(m.ByHandle);

    // A bit button without its bit is not dressed as the push button it is.
    const TComponentFacts bitBtn = Windowed({"TBitBtn", "TButton"});
    EXPECT_EQ(MapSkinComponent(bitBtn, Skin(kAll)).Control, TSkinBitButton);
    m = MapSkinComponent(bitBtn, Skin(Without(xcBitBtn)));
    EXPECT_TRUE(m.LeftUnskinned);
    EXPECT_EQ(m.Control, None);

    const TComponentFacts group = Windowed({"TRadioGroup", "TCustomRadioGroup", "TCustomGroupBox"});
    m = MapSkinComponent(group, Skin(kAll));
    EXPECT_EQ(m.Children, TSkinRadioButton);
    EXPECT_FALSE(m.WalkOwned);
    m = MapSkinComponent(group, Skin(Without(xcRadioButton)));
    EXPECT_EQ(m.Control, TSkinGroupBox);
    EXPECT_EQ(m.Children, None);
    EXPECT_TRUE(m.WalkOwned && m.Background);

    // Tag 55 asks for scroll bars, but only a window has any.
    TComponentFacts other = Windowed({"TSomething"});
    other.Tag = 55;
    EXPECT_EQ(MapSkinComponent(other, Skin(kAll)).Control, TSkinScrollbar);
    other.Windowed = false;
    EXPECT_EQ(MapSkinComponent(other, Skin(kAll)).Rule, TMappingRule::None);
}

TEST(ControlMapping, RowActions) {
    TComponentFacts bar = Windowed({"TToolBar"});
    bar.PublishesFlat = true;
    const TControlMapping m = MapSkinComponent(bar, Skin(kAll));
    EXPECT_EQ(m.Control, TSkinBox);
    EXPECT_TRUE(m.SetFlat && m.ToolBarPainter && m.OwnerDrawMenu && m.Background);
    EXPECT_FALSE(m.SetTransparent); // not published

    TComponentFacts picker = Windowed({"TDateTimePicker"});
    EXPECT_EQ(MapSkinComponent(picker, Skin(kAll)).Control, TSkinComBox);
    picker.DateTimeUpDown = true;
    EXPECT_EQ(MapSkinComponent(picker, Skin(kAll)).Control, TSkinEdit);
}

TEST(ControlMapping, ExcludedClassesAndTheTabControlComeBeforeSkin3rd) {
    const std::vector<std::string> lines = {"TDBComboBoxEh=combobox", "TTabControl=nil"};
    TSkinFacts skin = Skin(kAll, lines);
    EXPECT_EQ(MapSkinComponent(Windowed({"TDBComboBoxEh"}), skin).Rule, TMappingRule::Excluded);
    const TComponentFacts tabs = Windowed({"TTabControl", "TCustomTabControl"});
    EXPECT_EQ(MapSkinComponent(tabs, skin).Control, TSkinTab);
    skin.HasTabPart = false;
    EXPECT_EQ(MapSkinComponent(tabs, skin).Rule, TMappingRule::Skin3rd);
}

TEST(ControlMapping, SkinByMappingLookup) {
    const std::vector<std::string> lines = {"TRzButtonEdit=Edit", "TRZBUTTON=Button=x",
                                            "TRzButton=panel", "TLong=" + std::string(60, 'k')};
    EXPECT_EQ(SkinByMapping("TRzButton", lines), "button=x"); // first line, first "="
    EXPECT_EQ(SkinByMapping("TRz", lines), std::nullopt);
    EXPECT_EQ(SkinByMapping("TLong", lines), std::string(50, 'k'));

    // The lines a skin data starts with.
    TSkinData data(nullptr);
    const TControlMapping m = MapSkinComponent(Windowed({"TRzCheckGroup"}), SkinFactsOf(data));
    EXPECT_EQ(m.Children, TSkinCheckBox);
}

TEST(ControlMapping, Skin3rdKindsDecideEvenWithoutTheirBit) {
    struct TKind {
        const char* Name;
        TSkinControlType Bit;
        TSkinControlClass Control;
    };
    const TKind kinds[] = {
        {"combobox", xcCombo, TSkinComBox},
        {"edit", xcEdit, TSkinEdit},
        {"radiobutton", xcRadioButton, TSkinRadioButton},
        {"panel", xcPanel, TSkinBox},
        {"trackbar", xcButton, TSkinTrackBar},
        {"button", xcButton, TSkinButton},
        {"bitbtn", xcButton, TSkinBitButton},
        {"tab", xcTab, TSkinTab},
        {"progress", xcProgress, TSkinProgress},
        {"scrollbar", xcScrollbar, TSkinScrollbar},
        {"groupbox", xcGroupBox, TSkinGroupBox},
        {"radiogroup", xcPanel, TSkinGroupBox},
        {"checkgroup", xcPanel, TSkinGroupBox},
        {"checkbox", xcCheckBox, TSkinCheckBox},
    };
    // A class of the table, where falling through would show.
    const TComponentFacts button = Windowed({"TButton"});
    for (const TKind& kind : kinds) {
        const std::vector<std::string> lines = {std::string("TButton=") + kind.Name};
        EXPECT_EQ(MapSkinComponent(button, Skin(kAll, lines)).Control, kind.Control) << kind.Name;
        const TControlMapping m = MapSkinComponent(button, Skin(Without(kind.Bit), lines));
        EXPECT_TRUE(m.LeftUnskinned && m.Rule == TMappingRule::Skin3rd) << kind.Name;
    }
    for (const char* kind : {"nil", "gadget", "button "}) {
        const std::vector<std::string> lines = {std::string("TButton=") + kind};
        EXPECT_TRUE(MapSkinComponent(button, Skin(kAll, lines)).LeftUnskinned) << kind;
    }
}

TEST(ControlMapping, ChildWindowsByClassAndStyle) {
    const std::pair<uint32_t, TSkinControlClass> buttons[] = {
        {0x0, TSkinButton},      {0x1, TSkinButton},   {0x2, TSkinCheckBox}, {0x3, TSkinCheckBox},
        {0x4, TSkinRadioButton}, {0x5, TSkinCheckBox}, {0x7, None},          {0x8, TSkinButton},
        {0x9, TSkinRadioButton}, {0xB, None}, // owner-drawn
    };
    constexpr uint32_t child = 0x40000000;
    for (const auto& [style, control] : buttons)
        EXPECT_EQ(MapChildWindow("Button", child | style).Control, control) << style;
    EXPECT_EQ(MapChildWindow("Button", 0x2).Control, None); // not a child
    EXPECT_EQ(MapChildWindow("ComboBox", child | 1).Control, None);
    EXPECT_EQ(MapChildWindow("combobox", child | 3).Control, TSkinComBox);
    EXPECT_TRUE(MapChildWindow("ComboBoxEx32", child).FirstChild);
    EXPECT_EQ(MapChildWindow("ScrollBar", child).Control, TSkinSizer);
    EXPECT_EQ(MapChildWindow("SysTabControl32", child | 0x2000).Control, None);
    EXPECT_EQ(MapChildWindow("Edit", child).Control, TSkinEdit);
}

} // namespace
} // namespace qh
