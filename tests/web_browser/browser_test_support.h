// A top-level window to host the browser on, a message pump with a bound,
// and a one-page HTTP server on loopback.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

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

// Dispatches messages until done() holds or the bound of waiting has passed
// (a bound against hanging, not a timing check); returns done().
bool PumpUntil(const std::function<bool()>& done, unsigned boundMilliseconds = 30000);

RECT ClientRectOf(HWND window);
RECT WindowRectIn(HWND window, HWND reference); // in reference's client coordinates

class LoopbackServer {
public:
    explicit LoopbackServer(std::string body);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int Port() const { return FPort; }
    std::wstring Address(const std::wstring& path) const;
    std::vector<std::string> RequestLines() const;

private:
    void Serve();
    void Answer(SOCKET client);

    std::string FBody;
    SOCKET FListener = INVALID_SOCKET;
    int FPort = 0;
    std::atomic<bool> FStopping{false};
    mutable std::mutex FLock;
    std::vector<std::string> FRequestLines;
    std::thread FThread;
};
