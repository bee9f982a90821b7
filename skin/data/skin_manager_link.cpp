#include "skin/data/skin_manager_link.h"

#include <algorithm>

namespace qh {

void TSkinManagerBookkeeping::AddSkinData(TSkinData* skinData) {
    if (std::find(skinDatas_.begin(), skinDatas_.end(), skinData) == skinDatas_.end())
        skinDatas_.push_back(skinData);
}

void TSkinManagerBookkeeping::RemoveSkinData(TSkinData* skinData) {
    std::erase(skinDatas_, skinData);
    // A request from a component that is gone must not run for it.
    if (pendingSkinData_ == skinData) pendingSkinData_ = nullptr;
}

void TSkinManagerBookkeeping::RequestAction(int action, int delayMs) {
    pendingAction_ = action;
    actionInterval_ = delayMs;
    if (activationCount_ != 0) {
        actionScheduled_ = true;
        return;
    }
    // Before any window was activated nothing is scheduled: the first
    // activation dresses windows directly.
    if (action == 1)
        active_ = true;
    else if (action == 2)
        active_ = false;
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
