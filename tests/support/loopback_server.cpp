#include "tests/support/loopback_server.h"

#include <ws2tcpip.h>

#include <chrono>

namespace qh::test {

namespace {

struct WinsockUser {
    WinsockUser() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~WinsockUser() { WSACleanup(); }
};

bool SendAll(SOCKET s, const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        int n = send(s, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
        if (n <= 0) return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

const char* Reason(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}

} // namespace

LoopbackServer::LoopbackServer(unsigned short port) {
    static WinsockUser winsock;
    FListener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (FListener == INVALID_SOCKET) return;
    BOOL reuse = TRUE;
    setsockopt(FListener, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse),
               sizeof(reuse));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    int length = sizeof(address);
    if (bind(FListener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        listen(FListener, 16) != 0 ||
        getsockname(FListener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        closesocket(FListener);
        FListener = INVALID_SOCKET;
        return;
    }
    FPort = ntohs(address.sin_port);
    FThread = std::thread([this] { Serve(); });
}

LoopbackServer::~LoopbackServer() {
    {
        std::lock_guard<std::mutex> lock(FMutex);
        FStopping = true;
    }
    FStopped.notify_all();
    if (FListener != INVALID_SOCKET) closesocket(FListener);
    if (FThread.joinable()) FThread.join();
    for (std::thread& client : FClients)
        client.join();
}

void LoopbackServer::Set(const std::string& path, Answer answer) {
    std::lock_guard<std::mutex> lock(FMutex);
    FAnswers[path] = std::move(answer);
    ++FAnswersSet;
}

std::wstring LoopbackServer::Address(const std::wstring& path) const {
    return L"http://127.0.0.1:" + std::to_wstring(FPort) + path;
}

std::vector<std::string> LoopbackServer::Requests() {
    std::lock_guard<std::mutex> lock(FMutex);
    return FRequests;
}

std::vector<std::string> LoopbackServer::RequestLines() {
    std::lock_guard<std::mutex> lock(FMutex);
    return FRequestLines;
}

int LoopbackServer::CountOf(const std::string& path) {
    std::lock_guard<std::mutex> lock(FMutex);
    int count = 0;
    for (const std::string& r : FRequests)
        count += r == path;
    return count;
}

void LoopbackServer::Serve() {
    while (!FStopping) {
        SOCKET client = accept(FListener, nullptr, nullptr);
        if (client == INVALID_SOCKET) {
            if (FStopping) return;
            Sleep(10);
            continue;
        }
        FClients.emplace_back([this, client] {
            Handle(client);
            closesocket(client);
        });
    }
}

void LoopbackServer::Handle(SOCKET client) {
    std::string request;
    char buffer[2048];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
        int n = recv(client, buffer, sizeof(buffer), 0);
        if (n <= 0) return;
        request.append(buffer, static_cast<size_t>(n));
    }
    // "GET /path HTTP/1.1"
    size_t start = request.find(' ');
    size_t end = start == std::string::npos ? start : request.find(' ', start + 1);
    if (end == std::string::npos) return;
    std::string path = request.substr(start + 1, end - start - 1);

    Answer answer{404, "not found", 0};
    {
        std::lock_guard<std::mutex> lock(FMutex);
        FRequests.push_back(path);
        FRequestLines.push_back(request.substr(0, request.find("\r\n")));
        auto found = FAnswers.find(path);
        if (found != FAnswers.end()) answer = found->second;
    }
    if (answer.DelayMs) {
        std::unique_lock<std::mutex> lock(FMutex);
        if (FStopped.wait_for(lock, std::chrono::milliseconds(answer.DelayMs),
                              [this] { return FStopping.load(); }))
            return;
    }
    if (answer.Endless) {
        const unsigned set = FAnswersSet;
        const std::string zeros(65536, '\0');
        if (!SendAll(client, "HTTP/1.1 200 OK\r\nContent-Length: 4294967296\r\n\r\n")) return;
        while (!FStopping && FAnswersSet == set && SendAll(client, zeros)) {
        }
        return;
    }
    std::string reply =
        "HTTP/1.1 " + std::to_string(answer.Status) + " " + Reason(answer.Status) +
        "\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(answer.Body.size()) +
        "\r\nConnection: close\r\n\r\n" +
        (answer.CutAfter ? answer.Body.substr(0, answer.CutAfter) : answer.Body);
    SendAll(client, reply);
    shutdown(client, SD_SEND);
}

} // namespace qh::test
