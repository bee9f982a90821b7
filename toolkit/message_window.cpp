#include "toolkit/message_window.h"

#include "toolkit/exception_report.h"
#include "toolkit/win_handle.h"

#include <map>

namespace qh {

namespace {

constexpr wchar_t kWindowClass[] = L"TQhMessageWindow";

struct TShared {
    TWindowHandle Window;
    std::map<UINT, TMessageWindow::TReceiver> Receivers;
    UINT LastId = 0;
};

TShared& Shared() {
    static TShared shared;
    return shared;
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
    case WM_QUIT:
    case WM_ENDSESSION:
    case WM_NCDESTROY:
        // The window lives as long as its receivers, whatever asks.
        return 1;
    default:
        break;
    }
    if (message == WM_TIMER || message >= WM_USER) {
        auto& receivers = Shared().Receivers;
        auto found = receivers.find(static_cast<UINT>(wParam));
        if (found == receivers.end()) return DefWindowProcW(window, message, wParam, lParam);
        // The receiver may remove itself: call a copy.
        TMessageWindow::TReceiver receiver = found->second;
        // A handler's error is reported here: it must not unwind through
        // the system's dispatch.
        try {
            receiver(message, lParam);
        } catch (...) {
            ReportException(std::current_exception());
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeWindow() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    if (!GetClassInfoExW(instance, kWindowClass, &windowClass)) {
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = WindowProcedure;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = kWindowClass;
        RegisterClassExW(&windowClass);
    }
    // A hidden tool window rather than a message-only one: every shell
    // accepts it as the owner of a notify icon.
    return CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                           nullptr, instance, nullptr);
}

} // namespace

UINT TMessageWindow::Add(TReceiver receiver) {
    auto& shared = Shared();
    if (!shared.Window) shared.Window.Reset(MakeWindow());
    do {
        ++shared.LastId;
    } while (shared.LastId == 0 || shared.Receivers.count(shared.LastId) != 0);
    shared.Receivers[shared.LastId] = std::move(receiver);
    return shared.LastId;
}

void TMessageWindow::Remove(UINT id) {
    auto& shared = Shared();
    if (shared.Receivers.erase(id) == 0) return;
    if (shared.Receivers.empty()) shared.Window.Reset();
}

HWND TMessageWindow::Handle() {
    return Shared().Window.Get();
}

int TMessageWindow::ReceiverCount() {
    return static_cast<int>(Shared().Receivers.size());
}

} // namespace qh
