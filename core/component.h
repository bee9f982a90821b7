// The component: a named object owned by another, which frees what it owns
// (the last created first), tells interested components when it goes, and
// knows whether it is being loaded or destroyed.
#pragma once

#include "core/exception.h"
#include "core/properties.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qh {

// A name that is not an identifier, or one that another component of the
// same owner already has.
QH_DECLARE_EXCEPTION(EComponentError, Exception);

enum TOperation { opInsert, opRemove };

// Bits of ComponentState().
enum : unsigned {
    csLoading = 1,    // created by a form's loading, Loaded not yet run
    csReading = 2,    // its stored properties are being set
    csDestroying = 4, // its destruction has begun
    csDesigning = 8,  // inside a form designer (never set in this system)
};

using TNotifyEvent = std::function<void(TObject* sender)>;

class TComponent : public TPersistent {
    QH_CLASS(TComponent, TPersistent)
    // With an owner, the owner frees the component; without one, the
    // creator does.
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return FOwner; }
    const std::string& Name() const { return FName; }
    // Raises EComponentError for a name that is not an identifier or that
    // a sibling already has (compared without case). The empty name is
    // always allowed.
    virtual void SetName(const std::string& name);
    int64_t Tag() const { return FTag; }
    void SetTag(int64_t tag) { FTag = tag; }

    // Owned components in creation order. Components() raises EListError
    // for an index outside 0..ComponentCount-1.
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int index) const;
    // Position in the owner's list, -1 without an owner.
    int ComponentIndex() const;
    TComponent* FindComponent(std::string_view name) const;
    // Takes a component over from its current owner.
    void InsertComponent(TComponent* component);
    // Gives up ownership: the caller frees the component from now on.
    void RemoveComponent(TComponent* component);
    // Frees the owned components, the last created first.
    void DestroyComponents();

    unsigned ComponentState() const { return FState; }
    bool HasState(unsigned bits) const { return (FState & bits) != 0; }

    // When either of the two is destroyed, the other gets Notification
    // (opRemove) and no longer hears of it.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    // A form's constructor brackets the creation of its components with
    // these, as a form reader would: components created for this owner in
    // between are marked loading, and EndLoading runs Loaded on each of
    // them in creation order, then on this component.
    void BeginLoading();
    void EndLoading();

    // Marks the destruction as begun; destructors of derived classes call
    // it first, so that what they tear down sees csDestroying.
    void Destroying();

protected:
    // Heard by the owner for every component inserted into or removed from
    // it, and passed on to all the owner's components; and by every
    // component linked through FreeNotification.
    virtual void Notification(TComponent* component, TOperation operation);
    // Runs once the component's stored properties are all set.
    virtual void Loaded();

private:
    void Insert(TComponent* component);
    void Remove(TComponent* component);

    TComponent* FOwner = nullptr;
    std::string FName;
    int64_t FTag = 0;
    unsigned FState = 0;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
};

// Whether a text is a valid component name: a letter or "_", then letters,
// digits or "_".
bool IsValidIdent(std::string_view name);

} // namespace qh
