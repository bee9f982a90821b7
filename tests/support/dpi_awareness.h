// What a DPI suite needs before its first window: the awareness the
// program's manifest declares, and the DPI its prefix gives.
#pragma once

#include <windows.h>

#include <cstdlib>

namespace qh::test {

template <typename F> F User32Call(const char* name) {
    return reinterpret_cast<F>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

// Per monitor, version 2 where the system knows it, else version 1. Wine
// makes every process per-monitor aware from the start (and refuses to
// set it again): that counts too.
inline bool MakePerMonitorAware() {
    auto set = User32Call<BOOL(WINAPI*)(HANDLE)>("SetProcessDpiAwarenessContext");
    if (set && (set(reinterpret_cast<HANDLE>(-4)) || set(reinterpret_cast<HANDLE>(-3)))) return true;
    auto current = User32Call<HANDLE(WINAPI*)()>("GetThreadDpiAwarenessContext");
    auto awareness = User32Call<int(WINAPI*)(HANDLE)>("GetAwarenessFromDpiAwarenessContext");
    return current && awareness && awareness(current()) == 2;
}

// What the suite's environment says the prefix's DPI is (QH_EXPECT_DPI), 96
// when it says nothing.
inline int ExpectedDpi() {
    const char* given = std::getenv("QH_EXPECT_DPI");
    return given && *given ? std::atoi(given) : 96;
}

} // namespace qh::test
