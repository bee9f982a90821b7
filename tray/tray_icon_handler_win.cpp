#include "tray/tray_icon_handler.h"

#include "toolkit/exception_report.h"
#include "tray/notify_icon.h"

#include <map>
#include <memory>

namespace qh {

namespace {

constexpr wchar_t kHandlerWindowClass[] = L"TTrayIconHandlerWindow";

std::unique_ptr<TTrayIconHandler>& HandlerSlot() {
    static std::unique_ptr<TTrayIconHandler> handler;
    return handler;
}

// Targets by identifier; the record's identifier is 32 bits, so it is a
// number handed out here rather than an address.
std::map<UINT, TTrayCallbackTarget*>& Targets() {
    static std::map<UINT, TTrayCallbackTarget*> targets;
    return targets;
}

UINT NextIdentifier() {
    static UINT next = 0;
    do {
        ++next;
    } while (next == 0 || Targets().count(next) != 0);
    return next;
}

} // namespace

TTrayIconHandler* TTrayIconHandler::Instance() {
    return HandlerSlot().get();
}

TTrayIconHandler::TTrayIconHandler() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    if (!GetClassInfoExW(instance, kHandlerWindowClass, &windowClass)) {
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = WindowProcedure;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = kHandlerWindowClass;
        RegisterClassExW(&windowClass);
    }
    // A hidden tool window (not message-only), which every shell accepts as
    // the owner of a notify icon.
    FWindow = CreateWindowExW(WS_EX_TOOLWINDOW, kHandlerWindowClass, L"", WS_POPUP, 0, 0, 0, 0,
                              nullptr, nullptr, instance, nullptr);
}

TTrayIconHandler::~TTrayIconHandler() {
    if (FWindow) {
        // Our procedure refuses WM_DESTROY's default work; that is harmless
        // here, the window goes all the same.
        DestroyWindow(FWindow);
    }
}

UINT TTrayIconHandler::Register(TTrayCallbackTarget& target) {
    auto& slot = HandlerSlot();
    if (!slot) slot.reset(new TTrayIconHandler());
    ++slot->FRefCount;
    UINT identifier = NextIdentifier();
    Targets()[identifier] = &target;
    return identifier;
}

void TTrayIconHandler::Unregister(UINT identifier) {
    if (Targets().erase(identifier) == 0) return;
    auto& slot = HandlerSlot();
    if (slot && --slot->FRefCount <= 0) slot.reset();
}

LRESULT CALLBACK TTrayIconHandler::WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                                   LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
    case WM_QUIT:
    case WM_ENDSESSION:
    case WM_NCDESTROY:
        // The window lives as long as a tray icon does, whatever asks.
        return 1;
    case kTrayCallbackMessage: {
        auto found = Targets().find(static_cast<UINT>(wParam));
        if (found == Targets().end()) return 0;
        // An event handler's error is reported here: it must not unwind
        // through the system's dispatch.
        try {
            found->second->TrayCallback(static_cast<UINT>(lParam));
        } catch (...) {
            ReportException(std::current_exception());
        }
        return 0;
    }
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace qh
