#include "script_server.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
using socklen_t = int;
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <chrono>
#include <cstring>
#include <stdexcept>

namespace qh::test {

namespace {

#ifdef _WIN32
struct WinsockUser {
    WinsockUser() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~WinsockUser() { WSACleanup(); }
};
void CloseSock(intptr_t s) {
    closesocket(static_cast<SOCKET>(s));
}
#else
struct WinsockUser {};
void CloseSock(intptr_t s) {
    ::close(static_cast<int>(s));
}
#endif

WinsockUser& Sockets() {
    static WinsockUser user;
    return user;
}

// Readable within ms milliseconds.
bool Readable(intptr_t s, int ms) {
#ifdef _WIN32
    fd_set set;
    FD_ZERO(&set);
    FD_SET(static_cast<SOCKET>(s), &set);
    timeval limit{ms / 1000, (ms % 1000) * 1000};
    return select(0, &set, nullptr, nullptr, &limit) > 0;
#else
    pollfd fd{static_cast<int>(s), POLLIN, 0};
    return poll(&fd, 1, ms) > 0;
#endif
}

intptr_t Listen(int& port, int backlog = 16) {
    Sockets();
    intptr_t s = static_cast<intptr_t>(socket(AF_INET, SOCK_STREAM, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(s, backlog) != 0)
        throw std::runtime_error("scripted server cannot listen");
    socklen_t length = sizeof address;
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return s;
}

} // namespace

ScriptServer::ScriptServer(std::vector<Script> connections) : FScripts(std::move(connections)) {
    FListener = Listen(FPort);
    FThread = std::thread([this] { Run(); });
}

ScriptServer::~ScriptServer() {
    FStop = true;
    if (FThread.joinable()) FThread.join();
    CloseSock(FListener);
}

std::string ScriptServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(FPort) + path;
}

std::vector<std::string> ScriptServer::Requests() {
    if (FThread.joinable()) FThread.join();
    std::lock_guard<std::mutex> lock(FMutex);
    return FRequests;
}

void ScriptServer::Run() {
    for (const Script& script : FScripts) {
        while (!FStop && !Readable(FListener, 20)) {
        }
        if (FStop) return;
        intptr_t client = static_cast<intptr_t>(accept(FListener, nullptr, nullptr));
        if (client < 0) return;
        ++FAccepted;
        std::string received;
        Play(client, script, received);
        std::lock_guard<std::mutex> lock(FMutex);
        FRequests.push_back(received);
    }
}

void ScriptServer::Play(intptr_t client, const Script& script, std::string& received) {
    bool open = true;
    size_t cursor = 0; // where the next request starts
    // Returns false when the client went away.
    auto receiveSome = [&]() {
        char buffer[4096];
        while (!FStop) {
            if (!Readable(client, 20)) continue;
            int got = recv(client, buffer, sizeof buffer, 0);
            if (got <= 0) return false;
            received.append(buffer, static_cast<size_t>(got));
            return true;
        }
        return false;
    };
    for (const Step& step : script) {
        if (!open) break;
        switch (step.kind) {
        case Step::ReadRequest: {
            size_t end;
            while ((end = received.find("\r\n\r\n", cursor)) == std::string::npos)
                if (!receiveSome()) break;
            if (end != std::string::npos) cursor = end + 4;
            break;
        }
        case Step::Send: {
            size_t sent = 0;
            while (sent < step.bytes.size()) {
                int n = send(client, step.bytes.data() + sent,
                             static_cast<int>(step.bytes.size() - sent), 0);
                if (n <= 0) break;
                sent += static_cast<size_t>(n);
            }
            break;
        }
        case Step::Pause:
            std::this_thread::sleep_for(std::chrono::milliseconds(step.ms));
            break;
        case Step::Close:
            open = false;
            break;
        case Step::Reset: {
            linger hard{1, 0};
            setsockopt(client, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&hard),
                       sizeof hard);
            open = false;
            break;
        }
        case Step::Hold:
            while (receiveSome()) {
            }
            break;
        }
    }
    CloseSock(client);
}

int UnusedPort() {
    int port = 0;
    intptr_t s = Listen(port);
    CloseSock(s);
    return port;
}

SilentListener::SilentListener() {
    FListener = Listen(FPort, 0);
}

SilentListener::~SilentListener() {
    CloseSock(FListener);
}

} // namespace qh::test
