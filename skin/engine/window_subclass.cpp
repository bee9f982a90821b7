#include "skin/engine/window_subclass.h"

#include "toolkit/exception_report.h"

namespace qh {

namespace {

// Keeps a chain that someone wrapped after us: the system's subclass
// procedure they call must stay, and once ours is gone it only passes
// messages on until the window goes.
LRESULT CALLBACK PassOn(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                        DWORD_PTR) {
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(window, &PassOn, id);
    return DefSubclassProc(window, msg, wParam, lParam);
}

// Exported by name, but missing from some import libraries.
BOOL FindSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR* data) {
    using TGet = BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR*);
    static const auto get = reinterpret_cast<TGet>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"comctl32.dll"), "GetWindowSubclass")));
    return get ? get(window, procedure, id, data) : FALSE;
}

} // namespace

TWindowSubclass::~TWindowSubclass() {
    *FAlive = nullptr;
    Remove();
}

bool TWindowSubclass::Install(HWND window, THandler handler) {
    if (FInstalled || !handler || !IsWindow(window) || Present(window, FRole)) return false;
    FHandler = std::move(handler);
    if (!SetWindowSubclass(window, &TWindowSubclass::Procedure, static_cast<UINT_PTR>(FRole),
                           reinterpret_cast<DWORD_PTR>(this)))
        return false;
    FWindow = window;
    FInstalled = true;
    FProcedureAfterInstall = GetWindowLongPtrW(window, GWLP_WNDPROC);
    return true;
}

void TWindowSubclass::Remove() {
    if (!FInstalled) return;
    FInstalled = false;
    if (!IsWindow(FWindow)) return;
    if (GetWindowLongPtrW(FWindow, GWLP_WNDPROC) != FProcedureAfterInstall)
        SetWindowSubclass(FWindow, &PassOn, 0, 0);
    RemoveWindowSubclass(FWindow, &TWindowSubclass::Procedure, static_cast<UINT_PTR>(FRole));
}

bool TWindowSubclass::Present(HWND window, TSubclassRole role) {
    DWORD_PTR data = 0;
    return window && FindSubclass(window, &TWindowSubclass::Procedure,
                                  static_cast<UINT_PTR>(role), &data) != FALSE;
}

LRESULT CALLBACK TWindowSubclass::Procedure(HWND, UINT msg, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<TWindowSubclass*>(data);
    // Copies: the handler may free its owner, and us with it.
    const std::shared_ptr<TWindowSubclass*> alive = self->FAlive;
    const THandler handler = self->FHandler;
    LRESULT result = 0;
    // Our handling must never unwind through the system's dispatch.
    try {
        result = handler(msg, wParam, lParam);
    } catch (...) {
        ReportException(std::current_exception());
    }
    if (msg == WM_NCDESTROY && *alive) (*alive)->Remove();
    return result;
}

} // namespace qh
