// The skin controls of one dressed window: a form's components by the
// mapping rules, or the child windows of a window without a form, each
// given the skin control its class calls for. Keeps the tool bars whose
// buttons it painted, to give them their event back. Owned by the frame
// (TWinSkinForm), which owns the skin controls made for windows.
#pragma once

#include "skin/engine/controls/skin_control.h"
#include "skin/render/control_mapping.h"

#include <memory>
#include <vector>

namespace qh {

class TComponent;
class TToolBar;
class TWinSkinForm;

class TSkinControlFactory {
public:
    explicit TSkinControlFactory(TWinSkinForm& form) : FForm(form) {}

    void SkinControls();
    // Tool bars painted by the tool-button painter get their event back.
    void ReleaseToolBars();
    // A component that is going: no tool bar of ours any more.
    void Forget(const TComponent* component);

private:
    void SkinComponents(TComponent& container);
    void SkinComponent(TComponent& container, TComponent& component);
    // What the mapping rules ask of a component.
    TComponentFacts FactsOf(TComponent& component) const;
    void SkinChildWindows();
    // A new skin control of the class the mapping names, or none for the
    // classes not made yet.
    static std::unique_ptr<TSkinControl> Make(TSkinControlClass kind, TComponent* owner);

    TWinSkinForm& FForm;
    std::vector<TToolBar*> FPaintedToolBars;
};

} // namespace qh
