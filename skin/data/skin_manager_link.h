// The skin data's road to the skin manager. There is one manager per
// process, created by the first skin data that finishes loading. This
// layer keeps the manager's bookkeeping (registered skin data, the pending
// action and its delay, the activation count, the active flag); the window
// hook, the action timer and the dressing of windows belong to the
// rendering layer, which installs its own manager through
// SetSkinManagerFactory.
#pragma once

#include <functional>
#include <memory>
#include <vector>

namespace qh {

class TComponent;
class TSkinData;

class ISkinManager {
public:
    virtual ~ISkinManager() = default;

    virtual void AddSkinData(TSkinData* skinData) = 0;
    virtual void RemoveSkinData(TSkinData* skinData) = 0;
    // The window hook of the user-interface thread.
    virtual void InstallHook() = 0;
    // 1 activate, 2 deactivate, 3 refresh after a skin change, 6 purge;
    // carried out delayMs later.
    virtual void RequestAction(int action, int delayMs) = 0;
    virtual TSkinData* PendingSkinData() const = 0;
    virtual void SetPendingSkinData(TSkinData* skinData) = 0;
    // Every dressed window drops its caption buttons before a skin change.
    virtual void ResetCaptionButtons() = 0;
    // Dresses the window of form at once; true when it was dressed.
    virtual bool SkinWindow(TComponent* form) = 0;

    virtual bool Active() const = 0;
    virtual void SetActive(bool active) = 0;
    virtual int ActivationCount() const = 0;
    virtual void SetActivationCount(int count) = 0;
};

// The bookkeeping every manager shares. Actions are only recorded here: a
// manager that owns a timer runs them when it fires.
class TSkinManagerBookkeeping : public ISkinManager {
public:
    void AddSkinData(TSkinData* skinData) override;
    void RemoveSkinData(TSkinData* skinData) override;
    void InstallHook() override { ++hookInstalls_; }
    void RequestAction(int action, int delayMs) override;
    TSkinData* PendingSkinData() const override { return pendingSkinData_; }
    void SetPendingSkinData(TSkinData* skinData) override { pendingSkinData_ = skinData; }
    // No window is dressed in this layer, so none has caption buttons.
    void ResetCaptionButtons() override { ++captionResets_; }
    // Dressing comes with the rendering layer's manager.
    bool SkinWindow(TComponent*) override { return false; }

    bool Active() const override { return active_; }
    void SetActive(bool active) override { active_ = active; }
    int ActivationCount() const override { return activationCount_; }
    void SetActivationCount(int count) override { activationCount_ = count; }

    const std::vector<TSkinData*>& SkinDatas() const { return skinDatas_; }
    int PendingAction() const { return pendingAction_; }
    int ActionInterval() const { return actionInterval_; }
    // Whether the action timer would run.
    bool ActionScheduled() const { return actionScheduled_; }
    int HookInstalls() const { return hookInstalls_; }
    int CaptionResets() const { return captionResets_; }

protected:
    // For the timer's handler once the action ran.
    void ActionDone() {
        actionScheduled_ = false;
        pendingSkinData_ = nullptr;
    }

private:
    std::vector<TSkinData*> skinDatas_;
    TSkinData* pendingSkinData_ = nullptr;
    int pendingAction_ = 0;
    int actionInterval_ = 0;
    bool actionScheduled_ = false;
    bool active_ = false;
    int activationCount_ = 0;
    int hookInstalls_ = 0;
    int captionResets_ = 0;
};

// The manager, or null before the first skin data has loaded.
ISkinManager* SkinManager();
ISkinManager& CreateSkinManager();
// Frees the manager (module end; tests).
void DestroySkinManager();
using TSkinManagerFactory = std::function<std::unique_ptr<ISkinManager>()>;
void SetSkinManagerFactory(TSkinManagerFactory factory);

} // namespace qh
