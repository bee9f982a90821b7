// A top-level window to host the browser on.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include "tests/support/loopback_server.h"
#include "tests/support/windows_walk.h"

#include <functional>

class ParentWindow {
public:
    ParentWindow(int clientWidth, int clientHeight);
    ~ParentWindow();
    ParentWindow(const ParentWindow&) = delete;
    ParentWindow& operator=(const ParentWindow&) = delete;

    HWND Handle() const { return FWindow; }
    // Destroys the window now (before whatever lives on it).
    void Destroy();
    void SetClientSize(int width, int height);
    // Called with the new client size, as a form's layout would be.
    std::function<void(int width, int height)> OnSize;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND FWindow = nullptr;
};

using qh::test::Answer;
using qh::test::LoopbackServer;
using qh::test::PumpUntil;

// A page of the real control may take this long to load under Wine.
constexpr DWORD kPageLoadBound = 30000;

RECT ClientRectOf(HWND window);
RECT WindowRectIn(HWND window, HWND reference); // in reference's client coordinates
