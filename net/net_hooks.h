// Hooks a connection offers and this system leaves unset: an intercept that
// sees (and may carry) every byte, SOCKS routing, and message pumping while
// a call waits.
#pragma once

#include "net/net_stack.h"

#include <functional>
#include <string>

namespace qh {

class TNetTCPConnection;

class TNetConnectionIntercept {
public:
    virtual ~TNetConnectionIntercept() = default;

    virtual void Connect(TNetTCPConnection& connection) { (void)connection; }
    virtual void Disconnect() {}
    // Shown every byte received and sent.
    virtual void Receive(const char* bytes, int count) { (void)bytes, (void)count; }
    virtual void Send(const char* bytes, int count) { (void)bytes, (void)count; }

    // When set, the intercept moves the bytes itself with these calls; they
    // answer like the stack's (count, 0 for a close, -1 for an error).
    bool HandlesRecv = false;
    bool HandlesSend = false;
    virtual int Recv(TNetSocket socket, void* buffer, int count) {
        (void)socket, (void)buffer, (void)count;
        return -1;
    }
    virtual int SendRaw(TNetSocket socket, const void* buffer, int count) {
        (void)socket, (void)buffer, (void)count;
        return -1;
    }
};

// Carries no cipher here: a TLS implementation derives from it.
class TNetSSLConnectionIntercept : public TNetConnectionIntercept {
public:
    void Connect(TNetTCPConnection& connection) override {
        (void)connection;
        if (OnConnect) OnConnect();
    }
    std::function<void()> OnConnect;
};

enum class TSocksVersion { svNoSocks, svSocks4, svSocks4A, svSocks5 };
enum class TSocksAuthentication { saNoAuthentication, saUsernamePassword };

struct TSocksInfo {
    TSocksVersion Version = TSocksVersion::svNoSocks;
    TSocksAuthentication Authentication = TSocksAuthentication::saNoAuthentication;
    std::string Host;
    int Port = 1080;
    std::string UserID;
    std::string Password;
};

// While one instance exists, waits run in slices of IdleTimeOut and call
// Process between them.
class TNetAntiFreezeBase {
public:
    TNetAntiFreezeBase();
    virtual ~TNetAntiFreezeBase();
    TNetAntiFreezeBase(const TNetAntiFreezeBase&) = delete;
    TNetAntiFreezeBase& operator=(const TNetAntiFreezeBase&) = delete;

    // Handles pending window messages.
    virtual void Process() = 0;

    static TNetAntiFreezeBase* Instance();

    bool Active = true;
    bool ApplicationHasPriority = true;
    int IdleTimeOut = 250;
    bool OnlyWhenIdle = true;
};

} // namespace qh
