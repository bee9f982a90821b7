#include "tests/support/windows_walk.h"

namespace qh::test {

std::wstring WindowClass(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring WindowText(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

std::vector<HWND> TopLevelWindows(DWORD processId) {
    std::vector<HWND> windows;
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (processId == 0 || owner == processId) windows.push_back(w);
    }
    return windows;
}

HWND FindTopLevel(DWORD processId, const std::wstring& className, const std::wstring& title,
                  bool visibleOnly) {
    for (HWND w : TopLevelWindows(processId)) {
        if (visibleOnly && !IsWindowVisible(w)) continue;
        if (WindowClass(w) == className && WindowText(w) == title) return w;
    }
    return nullptr;
}

std::wstring ExecutableFolder() {
    wchar_t path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring full(path, length);
    return full.substr(0, full.find_last_of(L"\\/") + 1);
}

namespace {

bool DispatchOne() {
    MSG message;
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) return false;
    TranslateMessage(&message);
    DispatchMessageW(&message);
    return true;
}

bool (*handleOne)() = &DispatchOne;

} // namespace

void RouteMessagesThrough(bool (*handler)()) {
    handleOne = handler ? handler : &DispatchOne;
}

void Pump() {
    for (int round = 0; round < 5; ++round) {
        while (handleOne()) {
        }
        Sleep(1);
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD boundMilliseconds) {
    const ULONGLONG end = GetTickCount64() + boundMilliseconds;
    while (!done()) {
        if (GetTickCount64() > end) return false;
        // What waits is handled whole: a condition met halfway through a
        // window's showing would let a case act on a half-shown window.
        while (handleOne()) {
        }
        if (done()) return true;
        // Wakes at the next message, or to look at a condition no message tells of.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

void PumpFor(DWORD milliseconds) {
    PumpUntil([] { return false; }, milliseconds);
}

} // namespace qh::test
