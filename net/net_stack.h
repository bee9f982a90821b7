// The abstract socket stack: the only way the network layer reaches the
// operating system. One shared stack lives while any network component does.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qh {

// A socket handle of the platform; kInvalidSocket when there is none.
using TNetSocket = intptr_t;
constexpr TNetSocket kInvalidSocket = -1;

// Error numbers the layer reports, the same on every stack.
namespace NetError {
constexpr int InvalidArgument = 10022;
constexpr int AddressInUse = 10048;
constexpr int ConnectionReset = 10054;
constexpr int Shutdown = 10058;
constexpr int TimedOut = 10060;
constexpr int ConnectionRefused = 10061;
constexpr int HostNotFound = 11001;
constexpr int TryAgain = 11002;
constexpr int NoRecovery = 11003;
constexpr int NoData = 11004;
} // namespace NetError

enum class TNetSocketType { Stream, Datagram };

// What the start-up call of the stack reported.
struct TNetStackVersion {
    int MaxUdpDatagram = 0;
    int MaxSockets = 0;
    int Version = 0;
    int LowVersion = 0;
    std::string Description;
    std::string SystemStatus;
    std::string Name;
};

class TNetStack {
public:
    virtual ~TNetStack() = default;
    TNetStack(const TNetStack&) = delete;
    TNetStack& operator=(const TNetStack&) = delete;

    // The primitive calls. Failures return -1 (kInvalidSocket for
    // CreateSocket) and leave the code in LastError(), which is the calling
    // thread's own.
    virtual TNetSocket CreateSocket(TNetSocketType type, int protocol) = 0;
    virtual int Bind(TNetSocket socket, const std::string& ip, int port) = 0;
    // Gives up after timeoutMs with the timed-out error; -2 waits as long as
    // the system does.
    virtual int Connect(TNetSocket socket, const std::string& ip, int port, int timeoutMs) = 0;
    virtual int Recv(TNetSocket socket, void* buffer, int count) = 0;
    virtual int Send(TNetSocket socket, const void* buffer, int count) = 0;
    // 1 = sending.
    virtual int Shutdown(TNetSocket socket, int how) = 0;
    virtual int CloseSocket(TNetSocket socket) = 0;
    virtual int SetNoDelay(TNetSocket socket, bool on) = 0;
    virtual int LocalAddress(TNetSocket socket, std::string& ip, int& port) = 0;
    virtual int PeerAddress(TNetSocket socket, std::string& ip, int& port) = 0;
    // 1 when readable, 0 when the time ran out, -1 on error. A timeout of
    // -2 waits without end.
    virtual int WaitReadable(const std::vector<TNetSocket>& sockets, int timeoutMs) = 0;
    // The first internet address of a host name, as dotted text.
    virtual bool HostByName(const std::string& name, std::string& dotted) = 0;
    virtual int LastError() = 0;

    const TNetStackVersion& Version() const { return FVersion; }

    // "LOCALHOST" in any case is 127.0.0.1 and a dotted quad is taken as it
    // is; anything else is looked up, raising ENetSocketError on failure.
    std::string ResolveHostName(const std::string& host);
    static bool IsDottedQuad(const std::string& text);
    // Whether a port fits the 16 bits of an address; a stack refuses any
    // other with InvalidArgument instead of cutting it to another port.
    static bool PortFits(int port) { return port >= 0 && port <= 65535; }
    // Passes any result but -1; for -1 answers true when the error is
    // tolerated and raises ENetSocketError otherwise.
    bool CheckSocketResult(int result, const std::vector<int>& tolerated = {});
    // Raises ENetStackSetSizeExceeded beyond the 64 sockets one wait holds.
    int Wait(const std::vector<TNetSocket>& sockets, int timeoutMs);
    static constexpr size_t kMaxWaitSockets = 64;

protected:
    TNetStack() = default;
    TNetStackVersion FVersion;
};

using TNetStackFactory = std::function<std::unique_ptr<TNetStack>()>;

// The platform's stack (Winsock on Windows, POSIX elsewhere).
std::unique_ptr<TNetStack> CreatePlatformStack();

// The stack a first reference creates: the platform's, or the override's.
std::unique_ptr<TNetStack> CreateNetStack();

// Replaces the platform's stack for stacks created from now on (an
// in-memory stack for tests); an empty factory restores the platform's.
void SetNetStackOverride(TNetStackFactory factory);

// The shared stack. It exists while at least one reference does: the first
// reference creates it, the last one destroys it.
class TNetStackRef {
public:
    TNetStackRef();
    ~TNetStackRef();
    TNetStackRef(const TNetStackRef&) = delete;
    TNetStackRef& operator=(const TNetStackRef&) = delete;

    TNetStack& operator*() const;
    TNetStack* operator->() const { return &**this; }

    // Live references in the process.
    static int Count();
    static bool StackExists();
};

} // namespace qh
