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

// What the manager's timer carries out for a skin data component.
enum class TSkinAction {
    None,
    Activate,   // dress the windows (a single-form skin data: its own form)
    Deactivate, // give them back their own look
    Refresh,    // dress them again after a skin change
    Purge,      // free the frames of windows that are gone
};

class ISkinManager {
public:
    virtual ~ISkinManager() = default;

    virtual void AddSkinData(TSkinData* skinData) = 0;
    virtual void RemoveSkinData(TSkinData* skinData) = 0;
    // The window hook of the user-interface thread.
    virtual void InstallHook() = 0;
    // Carried out delayMs later.
    virtual void RequestAction(TSkinAction action, int delayMs) = 0;
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
    void InstallHook() override { ++FHookInstalls; }
    void RequestAction(TSkinAction action, int delayMs) override;
    TSkinData* PendingSkinData() const override { return FPendingSkinData; }
    void SetPendingSkinData(TSkinData* skinData) override { FPendingSkinData = skinData; }
    // No window is dressed in this layer, so none has caption buttons.
    void ResetCaptionButtons() override { ++FCaptionResets; }
    // Dressing comes with the rendering layer's manager.
    bool SkinWindow(TComponent*) override { return false; }

    bool Active() const override { return FActive; }
    void SetActive(bool active) override { FActive = active; }
    int ActivationCount() const override { return FActivationCount; }
    void SetActivationCount(int count) override { FActivationCount = count; }

    const std::vector<TSkinData*>& SkinDatas() const { return FSkinDatas; }
    TSkinAction PendingAction() const { return FPendingAction; }
    int ActionInterval() const { return FActionInterval; }
    // Whether the action timer would run.
    bool ActionScheduled() const { return FActionScheduled; }
    int HookInstalls() const { return FHookInstalls; }
    int CaptionResets() const { return FCaptionResets; }

protected:
    // For the timer's handler once the action ran.
    void ActionDone() {
        FActionScheduled = false;
        FPendingSkinData = nullptr;
    }

private:
    std::vector<TSkinData*> FSkinDatas;
    TSkinData* FPendingSkinData = nullptr;
    TSkinAction FPendingAction = TSkinAction::None;
    int FActionInterval = 0;
    bool FActionScheduled = false;
    bool FActive = false;
    int FActivationCount = 0;
    int FHookInstalls = 0;
    int FCaptionResets = 0;
};

// The manager, or null before the first skin data has loaded.
ISkinManager* SkinManager();
ISkinManager& CreateSkinManager();
// Frees the manager (module end; tests).
void DestroySkinManager();
using TSkinManagerFactory = std::function<std::unique_ptr<ISkinManager>()>;
void SetSkinManagerFactory(TSkinManagerFactory factory);

} // namespace qh
