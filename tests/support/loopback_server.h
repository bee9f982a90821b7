// A small HTTP server on 127.0.0.1 for the suites that talk to one: each
// path has a scripted answer (status, body, delay), any other is not found;
// every request is recorded.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qh::test {

struct Answer {
    int Status = 200;
    std::string Body;
    // Before the answer is sent; a long one makes a host that accepts and
    // never answers. Each connection is served on its own, so one waiting
    // answer holds up no other.
    unsigned DelayMs = 0;
    // Closes after this many bytes of the body (a cut download); 0 sends all.
    size_t CutAfter = 0;
    // Announces 4 GiB instead of the body and sends zeros as fast as the
    // client reads, until it goes or the path gets another answer.
    bool Endless = false;
};

class LoopbackServer {
public:
    // Port 0: any free port.
    explicit LoopbackServer(unsigned short port);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    bool Listening() const { return FListener != INVALID_SOCKET; }
    unsigned short Port() const { return FPort; }
    std::wstring Address(const std::wstring& path) const;
    void Set(const std::string& path, Answer answer);
    // Paths requested so far, in order; and the requests' first lines.
    std::vector<std::string> Requests();
    std::vector<std::string> RequestLines();
    int CountOf(const std::string& path);

private:
    void Serve();
    void Handle(SOCKET client);

    SOCKET FListener = INVALID_SOCKET;
    unsigned short FPort = 0;
    std::atomic<bool> FStopping{false};
    std::mutex FMutex;
    std::map<std::string, Answer> FAnswers;
    std::atomic<unsigned> FAnswersSet{0};
    std::vector<std::string> FRequests;
    std::vector<std::string> FRequestLines;
    std::thread FThread;
    std::condition_variable FStopped;
    std::vector<std::thread> FClients;
};

} // namespace qh::test
