#include "net/net_socket_handle.h"

#include "net/net_exceptions.h"

namespace qh {

void TNetSocketHandle::AllocateSocket(TNetSocketType type, int protocol) {
    CloseSocket();
    FHandle = FStack.CreateSocket(type, protocol);
    if (FHandle == kInvalidSocket) throw ENetInvalidSocket("Cannot allocate socket.");
}

void TNetSocketHandle::CloseSocket(bool shutdownFirst) {
    if (FHandle == kInvalidSocket) return;
    if (shutdownFirst) FStack.Shutdown(FHandle, 1);
    FStack.CloseSocket(FHandle);
    FHandle = kInvalidSocket;
}

void TNetSocketHandle::Reset() {
    IP.clear();
    Port = 0;
    PeerIP.clear();
    PeerPort = 0;
}

void TNetSocketHandle::ReadLocalAddress() {
    FStack.CheckSocketResult(FStack.LocalAddress(FHandle, IP, Port));
}

void TNetSocketHandle::ReadPeerAddress() {
    FStack.CheckSocketResult(FStack.PeerAddress(FHandle, PeerIP, PeerPort));
}

void TNetSocketHandle::SetPeer(const std::string& ip, int port) {
    PeerIP = ip;
    PeerPort = port;
}

bool TNetSocketHandle::WaitReadable(int timeoutMs) {
    if (!HandleAllocated()) throw ENetConnClosedGracefully("Connection Closed Gracefully.");
    int result = FStack.Wait({FHandle}, timeoutMs);
    FStack.CheckSocketResult(result);
    return result > 0;
}

} // namespace qh
