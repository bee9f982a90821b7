#include "skin/render/control_mapping.h"

#include <initializer_list>

#include "core/text.h"
#include "skin/render/frame_styles.h"

namespace qh {

namespace {

using TFlag = bool TControlMapping::*;
constexpr TFlag kBg = &TControlMapping::Background;
constexpr TFlag kTracking = &TControlMapping::Tracking;
constexpr TFlag kByHandle = &TControlMapping::ByHandle;
constexpr TFlag kWalk = &TControlMapping::WalkOwned;
constexpr TFlag kFlat = &TControlMapping::SetFlat;
constexpr TFlag kTransparent = &TControlMapping::SetTransparent;

using enum TSkinControlClass;

TControlMapping Mapped(TMappingRule rule, TSkinControlClass control,
                       std::initializer_list<TFlag> flags = {}) {
    TControlMapping m;
    m.Rule = rule;
    m.Control = control;
    for (TFlag flag : flags)
        m.*flag = true;
    return m;
}

TControlMapping Unskinned(TMappingRule rule) {
    TControlMapping m;
    m.Rule = rule;
    m.LeftUnskinned = true;
    return m;
}

bool IsPreviewForm(const TComponentFacts& c) {
    if (LowerCase(c.FormName).find("preview") != std::string::npos) return true;
    for (const char* name : {"TQRStandardPreview", "TppPrintPreview", "TdxfmStdPreview"})
        if (c.FormClassName == name) return true;
    return false;
}

// A Skin3rd line that matches decides, even when it dresses nothing.
TControlMapping MapKind(const std::string& kind, const TSkinFacts& skin) {
    constexpr TMappingRule rule = TMappingRule::Skin3rd;
    auto give = [&](bool allowed, TSkinControlClass control,
                    std::initializer_list<TFlag> flags = {}) {
        return allowed ? Mapped(rule, control, flags) : Unskinned(rule);
    };
    if (kind == "combobox") return give(skin.Has(xcCombo), TSkinComBox);
    if (kind == "nil") return Unskinned(rule);
    if (kind == "edit") return give(skin.Has(xcEdit), TSkinEdit, {kByHandle});
    if (kind == "radiobutton") return give(skin.Has(xcRadioButton), TSkinRadioButton);
    if (kind == "panel") return give(skin.Has(xcPanel), TSkinBox, {kTransparent, kBg});
    if (kind == "trackbar") return give(skin.Has(xcButton), TSkinTrackBar, {kTransparent});
    if (kind == "button") return give(skin.Has(xcButton), TSkinButton);
    if (kind == "bitbtn") return give(skin.Has(xcButton), TSkinBitButton);
    if (kind == "tab") return give(skin.Has(xcTab) && skin.HasTabPart, TSkinTab, {kByHandle});
    if (kind == "progress") return give(skin.Has(xcProgress), TSkinProgress);
    if (kind == "scrollbar") return give(skin.Has(xcScrollbar), TSkinScrollbar, {kTracking});
    if (kind == "groupbox") return give(skin.Has(xcGroupBox), TSkinGroupBox, {kBg});
    if (kind == "radiogroup" || kind == "checkgroup") {
        TControlMapping m = give(skin.Has(xcPanel), TSkinGroupBox, {kBg});
        const bool radio = kind == "radiogroup";
        if (!m.LeftUnskinned && skin.Has(radio ? xcRadioButton : xcCheckBox))
            m.Children = radio ? TSkinRadioButton : TSkinCheckBox;
        return m;
    }
    if (kind == "checkbox") return give(skin.Has(xcCheckBox), TSkinCheckBox);
    return Unskinned(rule);
}

TControlMapping MapByTable(const std::string& upper, const TComponentFacts& c,
                           const TSkinFacts& skin) {
    constexpr TMappingRule rule = TMappingRule::Table;
    auto is = [&](std::string_view className) { return InChain(c, className); };
    auto named = [&](std::initializer_list<const char*> names) {
        for (const char* name : names)
            if (upper == name) return true;
        return false;
    };
    // A row whose test matches but whose bit is absent falls through.
    auto row = [&](bool test, TSkinControlType bit) { return test && skin.Has(bit); };

    if (row(is("TToolButton"), xcMainMenu)) {
        TControlMapping m = Mapped(rule, None);
        m.OwnerDrawMenu = true;
        return m;
    }
    if (row(named({"TTABSET"}) && skin.HasTabPart, xcTab)) return Mapped(rule, TSkinTab31);
    if (row(named({"TTABBEDNOTEBOOK"}) && skin.HasTabPart, xcTab))
        return Mapped(rule, TSkinTab, {kByHandle});
    if (named({"TMVCPANEL"})) return Mapped(rule, None, {kWalk});
    if (row(is("TPageControl") && skin.HasTabPart, xcTab))
        return Mapped(rule, TSkinTab, {kByHandle});
    if (row(is("TCustomCheckBox"), xcCheckBox)) return Mapped(rule, TSkinCheckBox);
    if (row(named({"TTRACKBAR"}), xcButton)) return Mapped(rule, TSkinTrackBar);
    if (row(named({"TUPDOWN"}), xcButton)) return Mapped(rule, TSkinUpDown);
    if (row(is("TCustomRadioGroup"), xcRadioButton)) {
        TControlMapping m = Mapped(rule, TSkinGroupBox, {kBg});
        m.Children = TSkinRadioButton;
        return m;
    }
    if (row(named({"TDBNAVIGATOR"}), xcPanel)) return Mapped(rule, TSkinBox, {kFlat, kBg});
    if (row(is("TCustomGroupBox"), xcPanel)) return Mapped(rule, TSkinGroupBox, {kBg, kWalk});
    if (row(is("TRadioButton"), xcRadioButton)) return Mapped(rule, TSkinRadioButton);
    if (row(is("TToolBar"), xcToolbar)) {
        TControlMapping m = Mapped(rule, TSkinBox, {kFlat, kTransparent, kBg});
        m.ToolBarPainter = true;
        m.OwnerDrawMenu = true;
        return m;
    }
    if (row(is("TStatusBar"), xcStatusBar)) {
        TControlMapping m = Mapped(rule, TSkinStatusBar);
        m.SizeGripOff = true;
        return m;
    }
    if (row(is("TProgressBar"), xcProgress)) return Mapped(rule, TSkinProgress);
    if (row(is("TScrollBar"), xcScrollbar)) return Mapped(rule, TSkinScControl);
    if (row(is("TCustomComboBox"), xcCombo)) return Mapped(rule, TSkinComBox);
    if (row(named({"TDATETIMEPICKER"}), xcEdit))
        return Mapped(rule, c.DateTimeUpDown ? TSkinEdit : TSkinComBox);
    if (row(named({"TRICHEDIT", "TWWDBRICHEDIT", "TDXDBMEMO"}), xcScrollbar))
        return Mapped(rule, TSkinScrollbar, {kTracking});
    if (is("TBitBtn")) {
        // Unlike the other rows, a bit button never reaches the push
        // button row below.
        if (skin.Has(xcBitBtn)) return Mapped(rule, TSkinBitButton);
        return Unskinned(rule);
    }
    if (row(is("TSpeedButton"), xcSpeedButton)) return Mapped(rule, TSkinSpeedButton);
    if (row(is("TCustomPanel"), xcPanel)) return Mapped(rule, TSkinBox, {kBg, kWalk});
    if (row(named({"TDXTREELIST", "TDXDBTREELIST", "TDXDBGRID"}), xcScrollbar))
        return Mapped(rule, TSkinScrollbar);
    if (row(is("TCustomListView"), xcScrollbar)) return Mapped(rule, TSkinListView);
    if (row(is("TCustomMemo"), xcScrollbar)) return Mapped(rule, TSkinScrollbar, {kTracking});
    if (row(is("TCustomGrid"), xcScrollbar)) {
        TControlMapping m = Mapped(rule, TSkinScrollbar, {kTracking});
        m.GridFixedColor = true;
        return m;
    }
    // Tag 55 asks for scroll bars; only a window has any.
    const bool scrolls = (c.Windowed && (c.ScrollStyle || c.Tag == 55)) || is("TListBox") ||
                         is("TMemo") || is("TCustomListBox") || is("TCustomTreeView") ||
                         is("TScrollBox");
    if (row(scrolls, xcScrollbar)) return Mapped(rule, TSkinScrollbar, {kTracking});
    if (row(is("TButton"), xcButton)) return Mapped(rule, TSkinButton);
    if (row(is("TCustomEdit"), xcEdit)) return Mapped(rule, TSkinEdit, {kByHandle});
    if (is("TCustomFrame")) return Mapped(rule, None, {kWalk});
    if (is("TCustomForm")) return Mapped(rule, TSkinBox, {kBg, kWalk});
    return {};
}

} // namespace

TSkinFacts SkinFactsOf(const TSkinData& data) {
    TSkinFacts facts;
    facts.SkinControls = data.SkinControls();
    facts.DisableTag = data.DisableTag();
    facts.HasTabPart = data.Tab != nullptr;
    facts.Skin3rd = data.Skin3rd().Items();
    return facts;
}

std::vector<std::string> ClassChainOf(const TClassInfo& info) {
    std::vector<std::string> chain;
    for (const TClassInfo* c = &info; c; c = c->Parent)
        chain.emplace_back(c->Name);
    return chain;
}

bool InChain(const TComponentFacts& component, std::string_view className) {
    for (const std::string& name : component.ClassChain)
        if (SameText(name, className)) return true;
    return false;
}

TSkipDecision SkipComponent(const TComponentFacts& c, const TSkinFacts& skin) {
    TSkipDecision d;
    if (c.Tag % 100 == skin.DisableTag)
        d.Reason = TSkipReason::DisableTag;
    else if (c.AlreadySkinned)
        d.Reason = TSkipReason::AlreadySkinned;
    else if (c.Windowed && !c.HasHandle && IsPreviewForm(c))
        d.Reason = TSkipReason::Preview;
    else
        d.NeedsHandle = c.Windowed && !c.HasHandle;
    return d;
}

std::optional<std::string> SkinByMapping(std::string_view className,
                                         std::span<const std::string> lines) {
    const std::string key = LowerCase(className) + "=";
    for (const std::string& line : lines) {
        const std::string lower = LowerCase(line);
        if (lower.starts_with(key)) return lower.substr(lower.find('=') + 1, 50);
    }
    return std::nullopt;
}

TControlMapping MapSkinComponent(const TComponentFacts& c, const TSkinFacts& skin) {
    const std::string className = c.ClassChain.empty() ? std::string() : c.ClassChain.front();
    const std::string upper = UpperCase(className);
    for (const char* name : {"TDBCOMBOBOXEH", "TQRPREVIEW", "TFRDESIGNERPAGE", "TFRPBOX"})
        if (upper == name) return Unskinned(TMappingRule::Excluded);
    if (InChain(c, "TTabControl") && skin.Has(xcTab) && skin.HasTabPart)
        return Mapped(TMappingRule::TabControl, TSkinTab, {kByHandle});

    const std::optional<std::string> kind = SkinByMapping(className, skin.Skin3rd);
    TControlMapping m = kind ? MapKind(*kind, skin) : MapByTable(upper, c, skin);
    m.SetFlat = m.SetFlat && c.PublishesFlat;
    m.SetTransparent = m.SetTransparent && c.PublishesTransparent;
    return m;
}

TChildWindowMapping MapChildWindow(std::string_view className, uint32_t style) {
    constexpr uint32_t kBsTypeMask = 0xF;  // BS_TYPEMASK
    constexpr uint32_t kBsOwnerDraw = 0xB; // BS_OWNERDRAW
    constexpr uint32_t kTcsOwnerDrawFixed = 0x2000;
    if ((style & kWsChild) == 0) return {};
    const std::string name = LowerCase(className);
    if (name == "button") {
        // An owner-drawn button is painted by its dialog; its type bits
        // would otherwise read as a check box.
        if ((style & kBsTypeMask) == kBsOwnerDraw) return {};
        if ((style & 7) == 7) return {}; // group box
        if ((style & 3) == 3 || (style & 2) != 0 || (style & 5) == 5) return {TSkinCheckBox};
        if ((style & 9) == 9 || (style & 4) != 0) return {TSkinRadioButton};
        return {TSkinButton};
    }
    if (name == "combobox") return {(style & 3) == 1 ? None : TSkinComBox}; // not a simple one
    if (name == "comboboxex32") return {TSkinComBox, true};
    if (name == "scrollbar") return {TSkinSizer};
    if (name == "systabcontrol32") return {(style & kTcsOwnerDrawFixed) ? None : TSkinTab};
    if (name == "edit") return {TSkinEdit};
    return {};
}

} // namespace qh
