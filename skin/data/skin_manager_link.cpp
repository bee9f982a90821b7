#include "skin/data/skin_manager_link.h"

#include <algorithm>

namespace qh {

void TSkinManagerBookkeeping::AddSkinData(TSkinData* skinData) {
    if (std::find(FSkinDatas.begin(), FSkinDatas.end(), skinData) == FSkinDatas.end())
        FSkinDatas.push_back(skinData);
}

void TSkinManagerBookkeeping::RemoveSkinData(TSkinData* skinData) {
    std::erase(FSkinDatas, skinData);
    // A request from a component that is gone must not run for it.
    if (FPendingSkinData == skinData) FPendingSkinData = nullptr;
}

void TSkinManagerBookkeeping::RequestAction(TSkinAction action, int delayMs) {
    FPendingAction = action;
    FActionInterval = delayMs;
    if (FActivationCount != 0) {
        FActionScheduled = true;
        return;
    }
    // Before any window was activated nothing is scheduled: the first
    // activation dresses windows directly.
    if (action == TSkinAction::Activate)
        FActive = true;
    else if (action == TSkinAction::Deactivate)
        FActive = false;
}

namespace {

std::unique_ptr<ISkinManager>& Instance() {
    static std::unique_ptr<ISkinManager> manager;
    return manager;
}

TSkinManagerFactory& Factory() {
    static TSkinManagerFactory factory;
    return factory;
}

} // namespace

ISkinManager* SkinManager() {
    return Instance().get();
}

ISkinManager& CreateSkinManager() {
    if (!Instance())
        Instance() = Factory() ? Factory()() : std::make_unique<TSkinManagerBookkeeping>();
    return *Instance();
}

void DestroySkinManager() {
    Instance().reset();
}

void SetSkinManagerFactory(TSkinManagerFactory factory) {
    Factory() = std::move(factory);
}

} // namespace qh
