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

    TActionList* ActionList() const { return actionList_; }
    void SetActionList(TActionList* list);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool Checked() const { return checked_; }
    // Checking an action of a group (GroupIndex above 0) unchecks the
    // others of the group in its list.
    void SetChecked(bool checked);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int index) { groupIndex_ = index; }
    bool AutoCheck() const { return autoCheck_; }
    void SetAutoCheck(bool value) { autoCheck_ = value; }

    // Runs the handler when the action is enabled; true when one ran.
    bool Execute();
    TNotifyEvent OnExecute;

    // Linked clients hear of every change through their callback.
    void AddClient(TComponent* client, std::function<void()> changed);
    void RemoveClient(TComponent* client);
    int ClientCount() const { return static_cast<int>(clients_.size()); }

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void Changed();

    TActionList* actionList_ = nullptr;
    std::string caption_;
    std::string hint_;
    bool checked_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    int groupIndex_ = 0;
    bool autoCheck_ = false;
    std::vector<std::pair<TComponent*, std::function<void()>>> clients_;
};

class TActionList : public TComponent {
    QH_CLASS(TActionList, TComponent)
    explicit TActionList(TComponent* owner);
    ~TActionList() override;

    int ActionCount() const { return static_cast<int>(actions_.size()); }
    TAction* Actions(int index) const;

private:
    friend class TAction;
    std::vector<TAction*> actions_;
};

} // namespace qh
