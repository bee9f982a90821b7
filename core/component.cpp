#include "core/component.h"

#include "core/text.h"

#include <algorithm>

namespace qh {

QH_DEFINE_CLASS(TComponent, TPersistent, StrProp("Name", &TComponent::Name, &TComponent::SetName),
                IntProp("Tag", &TComponent::Tag, &TComponent::SetTag))

bool IsValidIdent(std::string_view name) {
    auto letter = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
    };
    if (name.empty() || !letter(name[0])) return false;
    return std::all_of(name.begin(), name.end(),
                       [&](char c) { return letter(c) || (c >= '0' && c <= '9'); });
}

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    Destroying();
    while (!freeNotifies_.empty()) {
        TComponent* partner = freeNotifies_.back();
        freeNotifies_.pop_back();
        auto& theirs = partner->freeNotifies_;
        theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
        partner->Notification(this, opRemove);
    }
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::Destroying() {
    state_ |= csDestroying;
}

void TComponent::SetName(const std::string& name) {
    if (name == name_) return;
    if (!name.empty()) {
        if (!IsValidIdent(name))
            throw EComponentError(Format("'%s' 不是一个有效的组件名", name.c_str()));
        if (owner_) {
            TComponent* other = owner_->FindComponent(name);
            if (other && other != this)
                throw EComponentError(Format("名为 %s 的组件已经存在", name.c_str()));
        }
    }
    name_ = name;
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount()) RaiseListIndexError(index);
    return components_[static_cast<size_t>(index)];
}

int TComponent::ComponentIndex() const {
    if (!owner_) return -1;
    const auto& list = owner_->components_;
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : components_)
        if (SameText(c->name_, name)) return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
    if (!component || component->owner_ == this) return;
    if (!component->name_.empty() && FindComponent(component->name_))
        throw EComponentError(Format("名为 %s 的组件已经存在", component->name_.c_str()));
    if (component->owner_) component->owner_->RemoveComponent(component);
    Insert(component);
    if (HasState(csLoading)) component->state_ |= csLoading | csReading;
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    if (!component || component->owner_ != this) return;
    Remove(component);
    Notification(component, opRemove);
}

void TComponent::Insert(TComponent* component) {
    components_.push_back(component);
    component->owner_ = this;
}

void TComponent::Remove(TComponent* component) {
    components_.erase(std::remove(components_.begin(), components_.end(), component),
                      components_.end());
    component->owner_ = nullptr;
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* last = components_.back();
        // Its destructor takes it off our list and tells the siblings.
        delete last;
    }
}

void TComponent::FreeNotification(TComponent* component) {
    if (!component || component == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end())
        freeNotifies_.push_back(component);
    auto& theirs = component->freeNotifies_;
    if (std::find(theirs.begin(), theirs.end(), this) == theirs.end()) theirs.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    if (!component) return;
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), component),
                        freeNotifies_.end());
    auto& theirs = component->freeNotifies_;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == opRemove) RemoveFreeNotification(component);
    // A handler may free components; walk a copy and skip those gone.
    std::vector<TComponent*> owned = components_;
    for (TComponent* c : owned)
        if (std::find(components_.begin(), components_.end(), c) != components_.end())
            c->Notification(component, operation);
}

void TComponent::BeginLoading() {
    state_ |= csLoading | csReading;
}

void TComponent::EndLoading() {
    std::vector<TComponent*> loading;
    for (TComponent* c : components_) {
        c->state_ &= ~csReading;
        if (c->HasState(csLoading)) loading.push_back(c);
    }
    state_ &= ~csReading;
    for (TComponent* c : loading)
        if (std::find(components_.begin(), components_.end(), c) != components_.end()) c->Loaded();
    if (HasState(csLoading)) Loaded();
}

void TComponent::Loaded() {
    state_ &= ~csLoading;
}

} // namespace qh
