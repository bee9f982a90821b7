#include "skin/data/skin_platform.h"

#include <map>
#include <utility>

namespace qh {

namespace {

std::map<std::string, std::string>& Registered() {
    static std::map<std::string, std::string> resources;
    return resources;
}

std::map<std::string, std::string>& RegisteredData() {
    static std::map<std::string, std::string> resources;
    return resources;
}

TSkinMessageHandler& Handler() {
    static TSkinMessageHandler handler;
    return handler;
}

} // namespace

std::string LoadBitmapResource(const std::string& name) {
    std::string bytes = platform::FindProgramBitmap(name);
    if (!bytes.empty()) return bytes;
    const auto found = Registered().find(name);
    return found == Registered().end() ? std::string() : found->second;
}

void RegisterBitmapResource(const std::string& name, std::string fileBytes) {
    Registered()[name] = std::move(fileBytes);
}

std::string LoadDataResource(const std::string& name) {
    std::string bytes = platform::FindProgramData(name);
    if (!bytes.empty()) return bytes;
    const auto found = RegisteredData().find(name);
    return found == RegisteredData().end() ? std::string() : found->second;
}

void RegisterDataResource(const std::string& name, std::string bytes) {
    RegisteredData()[name] = std::move(bytes);
}

void ShowSkinMessage(const std::string& text) {
    if (Handler())
        Handler()(text);
    else
        platform::ShowMessageBox(text);
}

void SetSkinMessageOverride(TSkinMessageHandler handler) {
    Handler() = std::move(handler);
}

} // namespace qh
