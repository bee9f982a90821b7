#include "tray/tray_icon_handler.h"

#include "toolkit/message_window.h"
#include "tray/notify_icon.h"

#include <memory>

namespace qh {

namespace {

std::unique_ptr<TTrayIconHandler>& HandlerSlot() {
    static std::unique_ptr<TTrayIconHandler> handler;
    return handler;
}

} // namespace

TTrayIconHandler* TTrayIconHandler::Instance() {
    return HandlerSlot().get();
}

HWND TTrayIconHandler::Window() const {
    return TMessageWindow::Handle();
}

UINT TTrayIconHandler::Register(TTrayCallbackTarget& target) {
    auto& slot = HandlerSlot();
    if (!slot) slot.reset(new TTrayIconHandler());
    ++slot->FRefCount;
    TTrayCallbackTarget* receiver = &target;
    UINT identifier = TMessageWindow::Add([receiver](UINT message, LPARAM lParam) {
        if (message == kTrayCallbackMessage) receiver->TrayCallback(static_cast<UINT>(lParam));
    });
    slot->FIdentifiers.insert(identifier);
    return identifier;
}

void TTrayIconHandler::Unregister(UINT identifier) {
    auto& slot = HandlerSlot();
    if (!slot || slot->FIdentifiers.erase(identifier) == 0) return;
    TMessageWindow::Remove(identifier);
    if (--slot->FRefCount <= 0) slot.reset();
}

} // namespace qh
