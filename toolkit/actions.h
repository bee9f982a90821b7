// Actions: one command shared by menu items and buttons, which take its
// check mark and enabled state and run its handler.
#pragma once

#include "core/component.h"

#include <functional>
#include <string>
#include <vector>

namespace qh {

class TActionList;

class TAction : public TComponent {
    QH_CLASS(TAction, TComponent)
    explicit TAction(TComponent* owner);
    ~TAction() override;

    TActionList* ActionList() const { return FActionList; }
    void SetActionList(TActionList* list);

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& caption);
    bool Checked() const { return FChecked; }
    // Checking an action of a group (GroupIndex above 0) unchecks the
    // others of the group in its list.
    void SetChecked(bool checked);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled);
    bool Visible() const { return FVisible; }
    void SetVisible(bool visible);
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& hint);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int index) { FGroupIndex = index; }
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool value) { FAutoCheck = value; }

    // Runs the handler when the action is enabled; true when one ran.
    bool Execute();
    TNotifyEvent OnExecute;
    // Lets the owner bring check mark, enabled state and caption up to
    // date before a client shows them; true when a handler ran.
    bool Update();
    TNotifyEvent OnUpdate;

    // Linked clients hear of every change through their callback.
    void AddClient(TComponent* client, std::function<void()> changed);
    void RemoveClient(TComponent* client);
    int ClientCount() const { return static_cast<int>(FClients.size()); }

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void Changed();

    TActionList* FActionList = nullptr;
    std::string FCaption;
    std::string FHint;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
    int FGroupIndex = 0;
    bool FAutoCheck = false;
    std::vector<std::pair<TComponent*, std::function<void()>>> FClients;
};

class TActionList : public TComponent {
    QH_CLASS(TActionList, TComponent)
    explicit TActionList(TComponent* owner);
    ~TActionList() override;

    int ActionCount() const { return static_cast<int>(FActions.size()); }
    TAction* Actions(int index) const;

private:
    friend class TAction;
    std::vector<TAction*> FActions;
};

} // namespace qh
