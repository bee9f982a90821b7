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
    if (list == actionList_) return;
    if (actionList_) {
        auto& v = actionList_->actions_;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
        RemoveFreeNotification(actionList_);
    }
    actionList_ = list;
    if (list) {
        list->actions_.push_back(this);
        FreeNotification(list);
    }
}

void TAction::SetCaption(const std::string& caption) {
    if (caption != caption_) {
        caption_ = caption;
        Changed();
    }
}

void TAction::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    if (checked && groupIndex_ > 0 && actionList_)
        for (TAction* other : actionList_->actions_)
            if (other != this && other->groupIndex_ == groupIndex_ && other->checked_) {
                other->checked_ = false;
                other->Changed();
            }
    Changed();
}

void TAction::SetEnabled(bool enabled) {
    if (enabled != enabled_) {
        enabled_ = enabled;
        Changed();
    }
}

void TAction::SetVisible(bool visible) {
    if (visible != visible_) {
        visible_ = visible;
        Changed();
    }
}

void TAction::SetHint(const std::string& hint) {
    if (hint != hint_) {
        hint_ = hint;
        Changed();
    }
}

bool TAction::Execute() {
    if (!enabled_) return false;
    if (autoCheck_) SetChecked(!checked_);
    if (!OnExecute) return false;
    OnExecute(this);
    return true;
}

void TAction::AddClient(TComponent* client, std::function<void()> changed) {
    RemoveClient(client);
    clients_.emplace_back(client, std::move(changed));
    FreeNotification(client);
    clients_.back().second();
}

void TAction::RemoveClient(TComponent* client) {
    auto it = std::remove_if(clients_.begin(), clients_.end(),
                             [client](auto& c) { return c.first == client; });
    if (it == clients_.end()) return;
    clients_.erase(it, clients_.end());
    RemoveFreeNotification(client);
}

void TAction::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == actionList_) actionList_ = nullptr;
    clients_.erase(std::remove_if(clients_.begin(), clients_.end(),
                                  [component](auto& c) { return c.first == component; }),
                   clients_.end());
}

void TAction::Changed() {
    // A client may unlink itself while it hears of the change.
    auto clients = clients_;
    for (auto& c : clients)
        if (std::any_of(clients_.begin(), clients_.end(),
                        [&](auto& k) { return k.first == c.first; }))
            c.second();
}

TActionList::TActionList(TComponent* owner) : TComponent(owner) {}

TActionList::~TActionList() {
    Destroying();
    while (!actions_.empty())
        actions_.back()->SetActionList(nullptr);
}

TAction* TActionList::Actions(int index) const {
    if (index < 0 || index >= ActionCount()) RaiseListIndexError(index);
    return actions_[static_cast<size_t>(index)];
}

// ------------------------------------------------- controls linked to actions

void TControl::SetAction(TAction* action) {
    if (action == action_) return;
    if (action_) action_->RemoveClient(this);
    action_ = action;
    if (action_) action_->AddClient(this, [this] { ActionChanged(); });
}

void TControl::ActionChanged() {
    if (!action_) return;
    SetEnabled(action_->Enabled());
    if (!action_->Caption().empty()) SetCaption(action_->Caption());
    if (!action_->Hint().empty()) SetHint(action_->Hint());
}

} // namespace qh
