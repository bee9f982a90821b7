#include "skin/engine/controls/skin_box.h"
#include "skin/engine/controls/skin_bars.h"
#include "skin/engine/controls/skin_buttons.h"
#include "skin/engine/controls/skin_check_controls.h"
#include "skin/engine/controls/skin_edits.h"
#include "skin/engine/controls/skin_list_view.h"
#include "skin/engine/controls/skin_scrollbar.h"
#include "skin/engine/controls/skin_tabs.h"
#include "skin/engine/frame/skin_control_factory.h"
#include "skin/engine/frame/win_skin_form.h"
#include "skin/render/control_mapping.h"
#include "toolkit/forms.h"
#include "toolkit/panels.h"
#include "toolkit/status_bar.h"
#include "toolkit/tool_bar.h"
#include "toolkit/win_handle.h"

#include <algorithm>
#include <cctype>

namespace qh {

namespace {

bool PublishesEnumeration(const TComponent& component, const char* name) {
    const TPropInfo* info = FindPropInfo(component, name);
    return info && info->Kind == TPropKind::Enumeration;
}

std::string LowerClassName(HWND window) {
    std::string lower;
    for (wchar_t c : WindowClassName(window))
        lower += static_cast<char>(c < 128 ? std::tolower(static_cast<int>(c)) : '?');
    return lower;
}

} // namespace

std::unique_ptr<TSkinControl> TSkinControlFactory::Make(TSkinControlClass kind, TComponent* owner) {
    switch (kind) {
    case TSkinControlClass::TSkinButton:
        return std::make_unique<TSkinButton>(owner);
    case TSkinControlClass::TSkinBitButton:
        return std::make_unique<TSkinBitButton>(owner);
    case TSkinControlClass::TSkinSpeedButton:
        return std::make_unique<TSkinSpeedButton>(owner);
    case TSkinControlClass::TSkinBox:
        return std::make_unique<TSkinBox>(owner);
    case TSkinControlClass::TSkinCheckBox:
        return std::make_unique<TSkinCheckBox>(owner);
    case TSkinControlClass::TSkinRadioButton:
        return std::make_unique<TSkinRadioButton>(owner);
    case TSkinControlClass::TSkinGroupBox:
        return std::make_unique<TSkinGroupBox>(owner);
    case TSkinControlClass::TSkinScrollbar:
        return std::make_unique<TSkinScrollbar>(owner);
    case TSkinControlClass::TSkinListView:
        return std::make_unique<TSkinListView>(owner);
    case TSkinControlClass::TSkinScControl:
        return std::make_unique<TSkinScControl>(owner);
    case TSkinControlClass::TSkinSizer:
        return std::make_unique<TSkinSizer>(owner);
    case TSkinControlClass::TSkinStatusBar:
        return std::make_unique<TSkinStatusBar>(owner);
    case TSkinControlClass::TSkinProgress:
        return std::make_unique<TSkinProgress>(owner);
    case TSkinControlClass::TSkinTrackBar:
        return std::make_unique<TSkinTrackBar>(owner);
    case TSkinControlClass::TSkinEdit:
        return std::make_unique<TSkinEdit>(owner);
    case TSkinControlClass::TSkinComBox:
        return std::make_unique<TSkinComBox>(owner);
    case TSkinControlClass::TSkinUpDown:
        return std::make_unique<TSkinUpDown>(owner);
    case TSkinControlClass::TSkinTab:
        return std::make_unique<TSkinTab>(owner);
    case TSkinControlClass::TSkinTab31:
        return std::make_unique<TSkinTab31>(owner);
    default:
        return nullptr;
    }
}

void TSkinControlFactory::SkinControls() {
    TSkinData* data = FForm.SkinData();
    TCustomForm* form = FForm.Form();
    if (!data || data->SkinEmpty) return;
    FForm.SkinnedControls().PurgeDead();
    if (form)
        SkinComponents(*form);
    else
        SkinChildWindows();
}

void TSkinControlFactory::SkinComponents(TComponent& container) {
    for (int i = 0; i < container.ComponentCount(); ++i)
        SkinComponent(container, *container.Components(i));
}

TComponentFacts TSkinControlFactory::FactsOf(TComponent& component) const {
    TSkinControls& controls = FForm.SkinnedControls();
    const TCustomForm* form = FForm.Form();
    auto* control = dynamic_cast<TControl*>(&component);
    auto* windowed = dynamic_cast<TWinControl*>(&component);
    TComponentFacts facts;
    facts.ClassChain = ClassChainOf(component.ClassType());
    facts.Tag = static_cast<int32_t>(component.Tag());
    facts.Windowed = windowed != nullptr;
    facts.HasHandle = windowed && windowed->HandleAllocated();
    facts.PublishesFlat = PublishesEnumeration(component, "Flat");
    facts.PublishesTransparent = PublishesEnumeration(component, "Transparent");
    facts.AlreadySkinned =
        control && (controls.FindFor(control) ||
                    (facts.HasHandle && controls.FindForWindow(windowed->Handle())));
    facts.FormName = form ? form->Name() : std::string();
    facts.FormClassName = form ? form->ClassName() : std::string();
    return facts;
}

void TSkinControlFactory::SkinComponent(TComponent& container, TComponent& component) {
    TWinSkinForm* frame = &FForm;
    TSkinData* data = FForm.SkinData();
    TSkinControls& controls = FForm.SkinnedControls();
    auto* control = dynamic_cast<TControl*>(&component);
    auto* windowed = dynamic_cast<TWinControl*>(&component);
    TComponentFacts facts = FactsOf(component);
    const TSkinFacts skin = SkinFactsOf(*data);
    const TSkipDecision skip = SkipComponent(facts, skin);
    if (skip.Reason != TSkipReason::None) return;
    if (skip.NeedsHandle && windowed) {
        try {
            windowed->HandleNeeded();
        } catch (...) {
            return; // left unskinned
        }
        if (!windowed->HandleAllocated()) return;
        facts.HasHandle = true;
    }
    if (facts.HasHandle)
        facts.ScrollStyle =
            (GetWindowLongW(windowed->Handle(), GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL)) != 0;

    if (data->OnSkinControl) {
        std::string upper = component.ClassName();
        std::transform(upper.begin(), upper.end(), upper.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        TComponent* made = nullptr;
        data->OnSkinControl(frame, data, &container, &component, upper, made);
        if (auto* own = dynamic_cast<TSkinControl*>(made)) {
            if (!controls.FindFor(control))
                own->AttachControl(frame, data, own->BackgroundFlag(), &controls.Canvas());
            if (component.Is<TCustomPanel>()) SkinComponents(component);
            return;
        }
    }

    const TControlMapping mapping = MapSkinComponent(facts, skin);
    if (mapping.Rule == TMappingRule::None || mapping.LeftUnskinned) return;
    if (mapping.SetFlat) SetEnumProp(component, "Flat", "True");
    if (mapping.SetTransparent) SetEnumProp(component, "Transparent", "True");
    if (mapping.SizeGripOff)
        if (auto* bar = dynamic_cast<TStatusBar*>(&component)) bar->SetSizeGrip(false);
    if (mapping.ToolBarPainter)
        if (auto* bar = dynamic_cast<TToolBar*>(&component)) {
            bar->OnCustomDrawButton = ToolButtonPainter;
            FPaintedToolBars.push_back(bar);
            bar->FreeNotification(&FForm);
        }
    if (mapping.OwnerDrawMenu) {
        TMenuItem* shown = nullptr;
        if (auto* button = dynamic_cast<TToolButton*>(&component)) shown = button->MenuItem();
        if (auto* bar = dynamic_cast<TToolBar*>(&component)) shown = bar->Menu();
        if (shown) FForm.SkinnedMenus().DressItems(*shown, *data);
    }
    if (mapping.Control != TSkinControlClass::None && control) {
        if (mapping.ByHandle && windowed) {
            if (auto made = Make(mapping.Control, &controls))
                made.release()->AttachWindow(windowed->Handle(), data, frame, &controls.Canvas());
        } else if (auto made = Make(mapping.Control, &component)) {
            // Scroll bar painters drag the thumb themselves where the mapping says.
            if (auto* bars = dynamic_cast<TSkinScrollbar*>(made.get()))
                bars->SetCustomTracking(mapping.Tracking);
            // Owned by the component it skins from here on.
            made.release()->AttachControl(frame, data, mapping.Background, &controls.Canvas());
        }
    }
    // A radio or check group's buttons are its own children, not the form's.
    if (mapping.Children != TSkinControlClass::None && windowed)
        for (int i = 0; i < windowed->ControlCount(); ++i) {
            auto* child = dynamic_cast<TWinControl*>(windowed->Controls(i));
            if (!child || controls.FindFor(child)) continue;
            if (auto made = Make(mapping.Children, child))
                made.release()->AttachControl(frame, data, false, &controls.Canvas());
        }
    if (mapping.WalkOwned) SkinComponents(component);
}

void TSkinControlFactory::SkinChildWindows() {
    TWinSkinForm* frame = &FForm;
    TSkinData* data = FForm.SkinData();
    TSkinControls& controls = FForm.SkinnedControls();
    for (HWND child = GetWindow(FForm.Window(), GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const auto style = static_cast<uint32_t>(GetWindowLongW(child, GWL_STYLE));
        if (!(style & WS_CHILD) || controls.FindForWindow(child)) continue;
        const TChildWindowMapping mapping = MapChildWindow(LowerClassName(child), style);
        HWND target = mapping.FirstChild ? GetWindow(child, GW_CHILD) : child;
        if (!target || mapping.Control == TSkinControlClass::None) continue;
        if (auto made = Make(mapping.Control, &controls))
            made.release()->AttachWindow(target, data, frame, &controls.Canvas());
    }
}

void TSkinControlFactory::ReleaseToolBars() {
    for (TToolBar* bar : FPaintedToolBars) {
        bar->OnCustomDrawButton = nullptr;
        bar->RemoveFreeNotification(&FForm);
    }
    FPaintedToolBars.clear();
}

void TSkinControlFactory::Forget(const TComponent* component) {
    std::erase(FPaintedToolBars, component);
}

} // namespace qh
