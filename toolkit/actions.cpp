#include "toolkit/actions.h"

#include "toolkit/controls.h"

#include <algorithm>

namespace qh {

QH_DEFINE_CLASS(TAction, TComponent, StrProp("Caption", &TAction::Caption, &TAction::SetCaption),
                BoolProp("Checked", &TAction::Checked, &TAction::SetChecked),
                BoolProp("Enabled", &TAction::Enabled, &TAction::SetEnabled),
                BoolProp("Visible", &TAction::Visible, &TAction::SetVisible),
                StrProp("Hint", &TAction::Hint, &TAction::SetHint),
                IntProp("GroupIndex", &TAction::GroupIndex, &TAction::SetGroupIndex))
QH_DEFINE_CLASS(TActionList, TComponent)

TAction::TAction(TComponent* owner) : TComponent(owner) {}

TAction::~TAction() {
    Destroying();
    SetActionList(nullptr);
}

void TAction::SetActionList(TActionList* list) {
    if (list == FActionList) return;
    if (FActionList) {
        auto& v = FActionList->FActions;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
        RemoveFreeNotification(FActionList);
    }
    FActionList = list;
    if (list) {
        list->FActions.push_back(this);
        FreeNotification(list);
    }
}

void TAction::SetCaption(const std::string& caption) {
    if (caption != FCaption) {
        FCaption = caption;
        Changed();
    }
}

void TAction::SetChecked(bool checked) {
    if (checked == FChecked) return;
    FChecked = checked;
    if (checked && FGroupIndex > 0 && FActionList)
        for (TAction* other : FActionList->FActions)
            if (other != this && other->FGroupIndex == FGroupIndex && other->FChecked) {
                other->FChecked = false;
                other->Changed();
            }
    Changed();
}

void TAction::SetEnabled(bool enabled) {
    if (enabled != FEnabled) {
        FEnabled = enabled;
        Changed();
    }
}

void TAction::SetVisible(bool visible) {
    if (visible != FVisible) {
        FVisible = visible;
        Changed();
    }
}

void TAction::SetHint(const std::string& hint) {
    if (hint != FHint) {
        FHint = hint;
        Changed();
    }
}

bool TAction::Execute() {
    if (!FEnabled) return false;
    if (FAutoCheck) SetChecked(!FChecked);
    if (!OnExecute) return false;
    OnExecute(this);
    return true;
}

bool TAction::Update() {
    if (!OnUpdate) return false;
    OnUpdate(this);
    return true;
}

void TAction::AddClient(TComponent* client, std::function<void()> changed) {
    RemoveClient(client);
    FClients.emplace_back(client, std::move(changed));
    FreeNotification(client);
    FClients.back().second();
}

void TAction::RemoveClient(TComponent* client) {
    auto it = std::remove_if(FClients.begin(), FClients.end(),
                             [client](auto& c) { return c.first == client; });
    if (it == FClients.end()) return;
    FClients.erase(it, FClients.end());
    RemoveFreeNotification(client);
}

void TAction::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == FActionList) FActionList = nullptr;
    FClients.erase(std::remove_if(FClients.begin(), FClients.end(),
                                  [component](auto& c) { return c.first == component; }),
                   FClients.end());
}

void TAction::Changed() {
    // A client may unlink itself while it hears of the change.
    auto clients = FClients;
    for (auto& c : clients)
        if (std::any_of(FClients.begin(), FClients.end(),
                        [&](auto& k) { return k.first == c.first; }))
            c.second();
}

TActionList::TActionList(TComponent* owner) : TComponent(owner) {}

TActionList::~TActionList() {
    Destroying();
    while (!FActions.empty())
        FActions.back()->SetActionList(nullptr);
}

TAction* TActionList::Actions(int index) const {
    if (index < 0 || index >= ActionCount()) RaiseListIndexError(index);
    return FActions[static_cast<size_t>(index)];
}

// ------------------------------------------------- controls linked to actions

void TControl::SetAction(TAction* action) {
    if (action == FAction) return;
    if (FAction) FAction->RemoveClient(this);
    FAction = action;
    if (FAction) FAction->AddClient(this, [this] { ActionChanged(); });
}

void TControl::ActionChanged() {
    if (!FAction) return;
    SetEnabled(FAction->Enabled());
    if (!FAction->Caption().empty()) SetCaption(FAction->Caption());
    if (!FAction->Hint().empty()) SetHint(FAction->Hint());
}

} // namespace qh
