// Which skin control a form's component or a formless window's child
// window is dressed with, decided from plain facts the caller gathers: the
// component's class chain and flags, and what the skin data allows.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/properties.h"
#include "skin/data/skin_data.h"

namespace qh {

enum class TSkinControlClass {
    None,
    TSkinTab,
    TSkinTab31,
    TSkinCheckBox,
    TSkinTrackBar,
    TSkinUpDown,
    TSkinRadioButton,
    TSkinGroupBox,
    TSkinBox,
    TSkinStatusBar,
    TSkinProgress,
    TSkinScControl,
    TSkinComBox,
    TSkinEdit,
    TSkinScrollbar,
    TSkinBitButton,
    TSkinSpeedButton,
    TSkinListView,
    TSkinButton,
    TSkinSizer,
};

// A component as the mapping sees it.
struct TComponentFacts {
    // Class names from the class itself up to the root.
    std::vector<std::string> ClassChain;
    int32_t Tag = 0;
    bool Windowed = false;
    bool HasHandle = false;
    bool ScrollStyle = false; // its window has WS_VSCROLL or WS_HSCROLL
    // "Flat" and "Transparent" are set only when published as enumerations.
    bool PublishesFlat = false;
    bool PublishesTransparent = false;
    bool DateTimeUpDown = false; // a date-time picker showing an up-down
    // A skin control of this form is bound to it already.
    bool AlreadySkinned = false;
    std::string FormName;
    std::string FormClassName;
};

// What the skin data allows. Skin3rd must outlive the facts.
struct TSkinFacts {
    TSkinControlTypes SkinControls = 0;
    int32_t DisableTag = 99;
    bool HasTabPart = false;
    std::span<const std::string> Skin3rd;

    bool Has(TSkinControlType type) const { return (SkinControls & SkinControlBit(type)) != 0; }
};

TSkinFacts SkinFactsOf(const TSkinData& data);
// Class names of a class record and its ancestors, the class first.
std::vector<std::string> ClassChainOf(const TClassInfo& info);
// The class test: the class or one of its ancestors (case-insensitive).
bool InChain(const TComponentFacts& component, std::string_view className);

enum class TSkipReason {
    None,
    DisableTag, // Tag modulo 100 is the skin data's DisableTag
    AlreadySkinned,
    Preview, // a handleless control on a print preview form
};

struct TSkipDecision {
    TSkipReason Reason = TSkipReason::None;
    // When not skipped: the control needs its window handle before the
    // rules run; if it cannot be created the component is left alone.
    bool NeedsHandle = false;
};

// The tests that run before any rule (and before the skin data's own
// OnSkinControl event, which the caller fires after creating the handle).
TSkipDecision SkipComponent(const TComponentFacts& component, const TSkinFacts& skin);

// Which rule decided a component.
enum class TMappingRule {
    None,     // no rule matched: nothing is done
    Excluded, // a class that is never dressed
    TabControl,
    Skin3rd,
    Table,
};

struct TControlMapping {
    TMappingRule Rule = TMappingRule::None;
    // A rule decided and the component stays as it is (excluded classes,
    // "nil" and unknown kinds, a missing bit under Skin3rd, a bit button
    // without its bit).
    bool LeftUnskinned = false;
    TSkinControlClass Control = TSkinControlClass::None;
    // Each child control of a radio or check group becomes one of these.
    TSkinControlClass Children = TSkinControlClass::None;
    bool Background = false; // Color becomes the skin's ButtonFace until detach
    bool Tracking = false;   // the scroll bar painter drags the thumb itself
    bool ByHandle = false;   // attached by window handle, not to the control
    bool WalkOwned = false;  // its owned components are mapped too
    bool SetFlat = false;
    bool SetTransparent = false;
    bool SizeGripOff = false;
    bool GridFixedColor = false; // FixedColor becomes ButtonFace
    bool OwnerDrawMenu = false;  // a tool button's menu item, a tool bar's menu
    bool ToolBarPainter = false; // OnCustomDrawButton is the form's painter
};

// The Skin3rd kind for a class: the text after the first "=" of the first
// line beginning with the class name and "=" (both lower-cased), at most
// 50 characters; nothing when no line matches.
std::optional<std::string> SkinByMapping(std::string_view className,
                                         std::span<const std::string> lines);

// The rules after the skin data's own event: excluded classes, the tab
// control, the Skin3rd mapping, then the class table, first row matching
// with its bit present.
TControlMapping MapSkinComponent(const TComponentFacts& component, const TSkinFacts& skin);

struct TChildWindowMapping {
    TSkinControlClass Control = TSkinControlClass::None;
    // The skin control goes to the window's first child, when it has one.
    bool FirstChild = false;
};

// A child window of a window without a form, by its class name and style;
// windows without WS_CHILD get nothing.
TChildWindowMapping MapChildWindow(std::string_view className, uint32_t style);

} // namespace qh
