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
    while (!FFreeNotifies.empty()) {
        TComponent* partner = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        auto& theirs = partner->FFreeNotifies;
        theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
        partner->Notification(this, opRemove);
    }
    DestroyComponents();
    if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::Destroying() {
    FState |= csDestroying;
}

void TComponent::SetName(const std::string& name) {
    if (name == FName) return;
    if (!name.empty()) {
        if (!IsValidIdent(name))
            throw EComponentError(Format("'%s' 不是一个有效的组件名", name.c_str()));
        if (FOwner) {
            TComponent* other = FOwner->FindComponent(name);
            if (other && other != this)
                throw EComponentError(Format("名为 %s 的组件已经存在", name.c_str()));
        }
    }
    FName = name;
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount()) RaiseListIndexError(index);
    return FComponents[static_cast<size_t>(index)];
}

int TComponent::ComponentIndex() const {
    if (!FOwner) return -1;
    const auto& list = FOwner->FComponents;
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : FComponents)
        if (SameText(c->FName, name)) return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
    if (!component || component->FOwner == this) return;
    if (!component->FName.empty() && FindComponent(component->FName))
        throw EComponentError(Format("名为 %s 的组件已经存在", component->FName.c_str()));
    if (component->FOwner) component->FOwner->RemoveComponent(component);
    Insert(component);
    if (HasState(csLoading)) component->FState |= csLoading | csReading;
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    if (!component || component->FOwner != this) return;
    Remove(component);
    Notification(component, opRemove);
}

void TComponent::Insert(TComponent* component) {
    FComponents.push_back(component);
    component->FOwner = this;
}

void TComponent::Remove(TComponent* component) {
    FComponents.erase(std::remove(FComponents.begin(), FComponents.end(), component),
                      FComponents.end());
    component->FOwner = nullptr;
}

void TComponent::DestroyComponents() {
    while (!FComponents.empty()) {
        TComponent* last = FComponents.back();
        // Its destructor takes it off our list and tells the siblings.
        delete last;
    }
}

void TComponent::FreeNotification(TComponent* component) {
    if (!component || component == this) return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end())
        FFreeNotifies.push_back(component);
    auto& theirs = component->FFreeNotifies;
    if (std::find(theirs.begin(), theirs.end(), this) == theirs.end()) theirs.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    if (!component) return;
    FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), component),
                        FFreeNotifies.end());
    auto& theirs = component->FFreeNotifies;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == opRemove) RemoveFreeNotification(component);
    // A handler may free components; walk a copy and skip those gone.
    std::vector<TComponent*> owned = FComponents;
    for (TComponent* c : owned)
        if (std::find(FComponents.begin(), FComponents.end(), c) != FComponents.end())
            c->Notification(component, operation);
}

void TComponent::BeginLoading() {
    FState |= csLoading | csReading;
}

void TComponent::EndLoading() {
    std::vector<TComponent*> loading;
    for (TComponent* c : FComponents) {
        c->FState &= ~csReading;
        if (c->HasState(csLoading)) loading.push_back(c);
    }
    FState &= ~csReading;
    for (TComponent* c : loading)
        if (std::find(FComponents.begin(), FComponents.end(), c) != FComponents.end()) c->Loaded();
    if (HasState(csLoading)) Loaded();
}

void TComponent::Loaded() {
    FState &= ~csLoading;
}

} // namespace qh
