// A TCP server on 127.0.0.1 that plays a fixed script on each connection it
// accepts: read the request, send exact bytes, pause, cut, or never answer.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qh::test {

struct Step {
    enum Kind { ReadRequest, Send, Pause, Close, Reset, Hold };
    Kind kind;
    std::string bytes;
    int ms = 0;
};

inline Step ReadRequest() {
    return {Step::ReadRequest, "", 0};
}
inline Step Send(std::string bytes) {
    return {Step::Send, std::move(bytes), 0};
}
inline Step Pause(int ms) {
    return {Step::Pause, "", ms};
}
// Closes the connection (the server also closes after the last step).
inline Step CloseNow() {
    return {Step::Close, "", 0};
}
// Closes with a reset instead of an orderly close.
inline Step ResetNow() {
    return {Step::Reset, "", 0};
}
// Answers nothing more and waits until the client goes.
inline Step Hold() {
    return {Step::Hold, "", 0};
}

using Script = std::vector<Step>;

class ScriptServer {
public:
    // One script per connection, in the order they are accepted.
    explicit ScriptServer(std::vector<Script> connections);
    ~ScriptServer();
    ScriptServer(const ScriptServer&) = delete;
    ScriptServer& operator=(const ScriptServer&) = delete;

    int Port() const { return FPort; }
    std::string Url(const std::string& path = "/") const;
    // The bytes the server read, one entry per connection; waits until
    // every script has been played to its end.
    std::vector<std::string> Requests();
    int Accepted() const { return FAccepted; }

private:
    void Run();
    void Play(intptr_t client, const Script& script, std::string& received);

    std::vector<Script> FScripts;
    intptr_t FListener = -1;
    int FPort = 0;
    std::atomic<bool> FStop{false};
    std::atomic<int> FAccepted{0};
    std::mutex FMutex;
    std::vector<std::string> FRequests;
    std::thread FThread;
};

// A loopback port whose queue of unaccepted connections fills at once:
// later connection attempts go unanswered.
class SilentListener {
public:
    SilentListener();
    ~SilentListener();
    SilentListener(const SilentListener&) = delete;
    SilentListener& operator=(const SilentListener&) = delete;
    int Port() const { return FPort; }

private:
    intptr_t FListener = -1;
    int FPort = 0;
};

// A loopback port on which nothing listens.
int UnusedPort();

} // namespace qh::test
