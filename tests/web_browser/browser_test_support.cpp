#include "browser_test_support.h"

#include <stdexcept>

ParentWindow::ParentWindow(int clientWidth, int clientHeight) {
    static const bool registered = [] {
        WNDCLASSEXW windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &ParentWindow::Procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"QhBrowserTestParent";
        return RegisterClassExW(&windowClass) != 0;
    }();
    if (!registered) throw std::runtime_error("RegisterClassEx");
    RECT frame = {0, 0, clientWidth, clientHeight};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    FWindow = CreateWindowExW(0, L"QhBrowserTestParent", L"browser test",
                              WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 10, 10,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                              GetModuleHandleW(nullptr), this);
    if (!FWindow) throw std::runtime_error("CreateWindowEx");
    ShowWindow(FWindow, SW_SHOWNORMAL);
}

ParentWindow::~ParentWindow() {
    Destroy();
}

void ParentWindow::Destroy() {
    if (FWindow) DestroyWindow(FWindow);
    FWindow = nullptr;
}

void ParentWindow::SetClientSize(int width, int height) {
    RECT frame = {0, 0, width, height};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    SetWindowPos(FWindow, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK ParentWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<ParentWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_SIZE && self->OnSize) self->OnSize(LOWORD(lParam), HIWORD(lParam));
    if (message == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    return DefWindowProcW(window, message, wParam, lParam);
}

RECT ClientRectOf(HWND window) {
    RECT area = {};
    GetClientRect(window, &area);
    return area;
}

RECT WindowRectIn(HWND window, HWND reference) {
    RECT area = {};
    GetWindowRect(window, &area);
    MapWindowPoints(HWND_DESKTOP, reference, reinterpret_cast<POINT*>(&area), 2);
    return area;
}
