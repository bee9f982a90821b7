// One socket of the shared stack, closed when the object goes.
#pragma once

#include "net/net_stack.h"

#include <string>

namespace qh {

class TNetSocketHandle {
public:
    explicit TNetSocketHandle(TNetStack& stack) : FStack(stack) {}
    ~TNetSocketHandle() { CloseSocket(); }
    TNetSocketHandle(const TNetSocketHandle&) = delete;
    TNetSocketHandle& operator=(const TNetSocketHandle&) = delete;

    // Raises ENetInvalidSocket "Cannot allocate socket." when the stack has none.
    void AllocateSocket(TNetSocketType type, int protocol);
    // Shuts down sending first when asked; errors are ignored, the handle goes.
    void CloseSocket(bool shutdownFirst = false);
    // Clears the addresses.
    void Reset();
    void ReadLocalAddress();
    void ReadPeerAddress();
    void SetPeer(const std::string& ip, int port);

    // Waits for the socket to become readable; true when it did.
    bool WaitReadable(int timeoutMs);

    TNetSocket Handle() const { return FHandle; }
    bool HandleAllocated() const { return FHandle != kInvalidSocket; }

    std::string IP;
    int Port = 0;
    std::string PeerIP;
    int PeerPort = 0;

private:
    TNetStack& FStack;
    TNetSocket FHandle = kInvalidSocket;
};

} // namespace qh
