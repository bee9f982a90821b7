#include "browser_test_support.h"

#include <ws2tcpip.h>

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

bool PumpUntil(const std::function<bool()>& done, unsigned boundMilliseconds) {
    ULONGLONG end = GetTickCount64() + boundMilliseconds;
    while (!done()) {
        if (GetTickCount64() > end) return false;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (done()) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
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

LoopbackServer::LoopbackServer(std::string body) : FBody(std::move(body)) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) throw std::runtime_error("WSAStartup");
    FListener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int length = sizeof address;
    if (FListener == INVALID_SOCKET ||
        bind(FListener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(FListener, 8) != 0 ||
        getsockname(FListener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (FListener != INVALID_SOCKET) closesocket(FListener);
        WSACleanup();
        throw std::runtime_error("loopback server");
    }
    FPort = ntohs(address.sin_port);
    FThread = std::thread([this] { Serve(); });
}

LoopbackServer::~LoopbackServer() {
    FStopping = true;
    FThread.join();
    closesocket(FListener);
    WSACleanup();
}

std::wstring LoopbackServer::Address(const std::wstring& path) const {
    return L"http://127.0.0.1:" + std::to_wstring(FPort) + path;
}

std::vector<std::string> LoopbackServer::RequestLines() const {
    std::lock_guard<std::mutex> guard(FLock);
    return FRequestLines;
}

void LoopbackServer::Serve() {
    while (!FStopping) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(FListener, &readable);
        timeval wait = {0, 50000};
        if (select(0, &readable, nullptr, nullptr, &wait) <= 0) continue;
        SOCKET client = accept(FListener, nullptr, nullptr);
        if (client == INVALID_SOCKET) continue;
        Answer(client);
        closesocket(client);
    }
}

void LoopbackServer::Answer(SOCKET client) {
    std::string request;
    char buffer[2048];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
        int got = recv(client, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        request.append(buffer, static_cast<size_t>(got));
    }
    {
        std::lock_guard<std::mutex> guard(FLock);
        FRequestLines.push_back(request.substr(0, request.find("\r\n")));
    }
    std::string reply = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                        std::to_string(FBody.size()) + "\r\nConnection: close\r\n\r\n" + FBody;
    send(client, reply.data(), static_cast<int>(reply.size()), 0);
    shutdown(client, SD_SEND);
}
