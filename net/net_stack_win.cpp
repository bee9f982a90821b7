// The stack over the Windows sockets library, bound at run time by name so
// that nothing links it statically.
#include "net/net_stack.h"

#include "core/text.h"
#include "net/net_exceptions.h"

#include <winsock2.h>
#include <windows.h>

#include <cstring>
#include <iterator>

namespace qh {

namespace {

constexpr const char* kLibraryName = "wsock32.dll";

// Every entry point the library is expected to offer; the stack calls only
// some of them.
constexpr const char* kEntryNames[] = {"accept",
                                       "bind",
                                       "closesocket",
                                       "connect",
                                       "getpeername",
                                       "getsockname",
                                       "getsockopt",
                                       "htonl",
                                       "htons",
                                       "inet_addr",
                                       "inet_ntoa",
                                       "ioctlsocket",
                                       "listen",
                                       "ntohl",
                                       "ntohs",
                                       "recv",
                                       "recvfrom",
                                       "select",
                                       "send",
                                       "sendto",
                                       "setsockopt",
                                       "shutdown",
                                       "socket",
                                       "gethostbyaddr",
                                       "gethostbyname",
                                       "getprotobyname",
                                       "getprotobynumber",
                                       "getservbyname",
                                       "getservbyport",
                                       "gethostname",
                                       "WSAAsyncSelect",
                                       "WSARecvEx",
                                       "WSAAsyncGetHostByAddr",
                                       "WSAAsyncGetHostByName",
                                       "WSAAsyncGetProtoByNumber",
                                       "WSAAsyncGetProtoByName",
                                       "WSAAsyncGetServByPort",
                                       "WSAAsyncGetServByName",
                                       "WSACancelAsyncRequest",
                                       "WSASetBlockingHook",
                                       "WSAUnhookBlockingHook",
                                       "WSAGetLastError",
                                       "WSASetLastError",
                                       "WSACancelBlockingCall",
                                       "WSAIsBlocking",
                                       "WSAStartup",
                                       "WSACleanup",
                                       "__WSAFDIsSet",
                                       "TransmitFile",
                                       "AcceptEx",
                                       "GetAcceptExSockaddrs"};

using SocketFn = SOCKET(WSAAPI*)(int, int, int);
using BindFn = int(WSAAPI*)(SOCKET, const sockaddr*, int);
using ConnectFn = int(WSAAPI*)(SOCKET, const sockaddr*, int);
using SelectFn = int(WSAAPI*)(int, fd_set*, fd_set*, fd_set*, const timeval*);
using RecvFn = int(WSAAPI*)(SOCKET, char*, int, int);
using SendFn = int(WSAAPI*)(SOCKET, const char*, int, int);
using ShutdownFn = int(WSAAPI*)(SOCKET, int);
using CloseSocketFn = int(WSAAPI*)(SOCKET);
using GetHostByNameFn = hostent*(WSAAPI*)(const char*);
using SockNameFn = int(WSAAPI*)(SOCKET, sockaddr*, int*);
using SetSockOptFn = int(WSAAPI*)(SOCKET, int, int, const char*, int);
using GetSockOptFn = int(WSAAPI*)(SOCKET, int, int, char*, int*);
using IoctlSocketFn = int(WSAAPI*)(SOCKET, long, u_long*);
using Swap16Fn = u_short(WSAAPI*)(u_short);
using GetLastErrorFn = int(WSAAPI*)();
using StartupFn = int(WSAAPI*)(WORD, WSADATA*);
using CleanupFn = int(WSAAPI*)();
using CancelBlockingFn = int(WSAAPI*)();

class TNetStackWinsock : public TNetStack {
public:
    TNetStackWinsock() {
        FLibrary = ::LoadLibraryA(kLibraryName);
        if (FLibrary == nullptr)
            throw ENetStackCanNotLoadWinsock(Format("%s could not be loaded.", kLibraryName));
        for (size_t i = 0; i < std::size(kEntryNames); ++i)
            FEntries[i] = ::GetProcAddress(FLibrary, kEntryNames[i]);
        try {
            Bind(FSocket, "socket");
            Bind(FBind, "bind");
            Bind(FConnect, "connect");
            Bind(FSelect, "select");
            Bind(FRecv, "recv");
            Bind(FSend, "send");
            Bind(FShutdown, "shutdown");
            Bind(FCloseSocket, "closesocket");
            Bind(FGetHostByName, "gethostbyname");
            Bind(FGetSockName, "getsockname");
            Bind(FGetPeerName, "getpeername");
            Bind(FSetSockOpt, "setsockopt");
            Bind(FGetSockOpt, "getsockopt");
            Bind(FIoctlSocket, "ioctlsocket");
            Bind(FHtons, "htons");
            Bind(FNtohs, "ntohs");
            Bind(FGetLastError, "WSAGetLastError");
            Bind(FStartup, "WSAStartup");
            Bind(FCleanup, "WSACleanup");
            Bind(FCancelBlocking, "WSACancelBlockingCall");
        } catch (...) {
            ::FreeLibrary(FLibrary);
            throw;
        }
        WSADATA data{};
        if (FStartup(MAKEWORD(1, 1), &data) != 0) {
            ::FreeLibrary(FLibrary);
            throw ENetStackInitializationFailed("Winsock Initialization Error.");
        }
        FVersion.MaxUdpDatagram = data.iMaxUdpDg;
        FVersion.MaxSockets = data.iMaxSockets;
        FVersion.Version = data.wVersion;
        FVersion.LowVersion = data.wHighVersion;
        FVersion.Description = data.szDescription;
        FVersion.SystemStatus = data.szSystemStatus;
        FVersion.Name = "Winsock stack";
    }

    ~TNetStackWinsock() override {
        // Version 1.1 may still have a blocking call running; cancelling
        // fails harmlessly when none is.
        FCancelBlocking();
        FCleanup();
        ::FreeLibrary(FLibrary);
    }

    TNetSocket CreateSocket(TNetSocketType type, int protocol) override {
        SOCKET s =
            FSocket(AF_INET, type == TNetSocketType::Stream ? SOCK_STREAM : SOCK_DGRAM, protocol);
        if (s == INVALID_SOCKET) return kInvalidSocket;
        return static_cast<TNetSocket>(s);
    }

    int Bind(TNetSocket socket, const std::string& ip, int port) override {
        sockaddr_in address;
        if (!PortFits(port)) return FailWith(WSAEINVAL);
        if (!MakeAddress(ip, port, address)) return FailWith(WSAEADDRNOTAVAIL);
        return Result(FBind(Handle(socket), reinterpret_cast<sockaddr*>(&address), sizeof address));
    }

    int Connect(TNetSocket socket, const std::string& ip, int port, int timeoutMs) override {
        sockaddr_in address;
        if (!PortFits(port)) return FailWith(WSAEINVAL);
        if (!MakeAddress(ip, port, address)) return FailWith(WSAEADDRNOTAVAIL);
        const SOCKET s = Handle(socket);
        const auto* target = reinterpret_cast<sockaddr*>(&address);
        if (timeoutMs < 0) return Result(FConnect(s, target, sizeof address));
        u_long nonBlocking = 1;
        if (FIoctlSocket(s, FIONBIO, &nonBlocking) == SOCKET_ERROR) return -1;
        int error = 0;
        if (FConnect(s, target, sizeof address) == SOCKET_ERROR) {
            error = FGetLastError();
            if (error == WSAEWOULDBLOCK) {
                // Filled by hand, as in WaitReadable.
                fd_set writable, failed;
                writable.fd_count = failed.fd_count = 1;
                writable.fd_array[0] = failed.fd_array[0] = s;
                timeval limit{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
                const int ready = FSelect(0, nullptr, &writable, &failed, &limit);
                if (ready == 0) {
                    error = WSAETIMEDOUT;
                } else if (ready == SOCKET_ERROR) {
                    error = FGetLastError();
                } else if (failed.fd_count > 0) {
                    int length = sizeof error;
                    if (FGetSockOpt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error),
                                    &length) == SOCKET_ERROR || error == 0)
                        error = WSAECONNREFUSED;
                } else {
                    error = 0;
                }
            }
        }
        u_long blocking = 0;
        FIoctlSocket(s, FIONBIO, &blocking);
        return error == 0 ? Result(0) : FailWith(error);
    }

    int Recv(TNetSocket socket, void* buffer, int count) override {
        return Result(FRecv(Handle(socket), static_cast<char*>(buffer), count, 0));
    }

    int Send(TNetSocket socket, const void* buffer, int count) override {
        return Result(FSend(Handle(socket), static_cast<const char*>(buffer), count, 0));
    }

    int Shutdown(TNetSocket socket, int how) override {
        return Result(FShutdown(Handle(socket), how));
    }

    int CloseSocket(TNetSocket socket) override { return Result(FCloseSocket(Handle(socket))); }

    int SetNoDelay(TNetSocket socket, bool on) override {
        BOOL value = on ? TRUE : FALSE;
        return Result(FSetSockOpt(Handle(socket), IPPROTO_TCP, TCP_NODELAY,
                                  reinterpret_cast<const char*>(&value), sizeof value));
    }

    int LocalAddress(TNetSocket socket, std::string& ip, int& port) override {
        return ReadAddress(FGetSockName, socket, ip, port);
    }

    int PeerAddress(TNetSocket socket, std::string& ip, int& port) override {
        return ReadAddress(FGetPeerName, socket, ip, port);
    }

    int WaitReadable(const std::vector<TNetSocket>& sockets, int timeoutMs) override {
        // The set is filled by hand: the header's helper macros would call
        // into a library that is bound here only at run time.
        fd_set readable;
        readable.fd_count = 0;
        for (TNetSocket s : sockets)
            readable.fd_array[readable.fd_count++] = Handle(s);
        timeval limit{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
        int result = FSelect(0, &readable, nullptr, nullptr, timeoutMs == -2 ? nullptr : &limit);
        if (result == SOCKET_ERROR) return -1;
        return result > 0 ? 1 : 0;
    }

    bool HostByName(const std::string& name, std::string& dotted) override {
        hostent* host = FGetHostByName(name.c_str());
        if (host == nullptr || host->h_addr_list == nullptr || host->h_addr_list[0] == nullptr ||
            host->h_length != 4) {
            FOwnError = host == nullptr ? 0 : WSANO_DATA;
            return false;
        }
        const auto* bytes = reinterpret_cast<const unsigned char*>(host->h_addr_list[0]);
        dotted = Format("%d.%d.%d.%d", bytes[0], bytes[1], bytes[2], bytes[3]);
        return true;
    }

    int LastError() override {
        if (FOwnError != 0) {
            int code = FOwnError;
            FOwnError = 0;
            return code;
        }
        return FGetLastError();
    }

private:
    template <typename Fn> void Bind(Fn& target, const char* name) {
        for (size_t i = 0; i < std::size(kEntryNames); ++i) {
            if (std::strcmp(kEntryNames[i], name) == 0 && FEntries[i] != nullptr) {
                target = reinterpret_cast<Fn>(reinterpret_cast<void*>(FEntries[i]));
                return;
            }
        }
        throw ENetStackCanNotLoadWinsock(Format("%s could not be loaded.", kLibraryName));
    }

    static SOCKET Handle(TNetSocket socket) { return static_cast<SOCKET>(socket); }

    bool MakeAddress(const std::string& ip, int port, sockaddr_in& address) {
        std::memset(&address, 0, sizeof address);
        address.sin_family = AF_INET;
        address.sin_port = FHtons(static_cast<u_short>(port));
        if (ip.empty()) return true; // any address
        if (!IsDottedQuad(ip)) return false;
        unsigned char bytes[4];
        size_t start = 0;
        for (int i = 0; i < 4; ++i) {
            size_t dot = i < 3 ? ip.find('.', start) : ip.size();
            bytes[i] = static_cast<unsigned char>(StrToInt(ip.substr(start, dot - start)));
            start = dot + 1;
        }
        std::memcpy(&address.sin_addr, bytes, 4);
        return true;
    }

    int ReadAddress(SockNameFn call, TNetSocket socket, std::string& ip, int& port) {
        sockaddr_in address{};
        int length = sizeof address;
        if (call(Handle(socket), reinterpret_cast<sockaddr*>(&address), &length) == SOCKET_ERROR)
            return -1;
        const auto* bytes = reinterpret_cast<const unsigned char*>(&address.sin_addr);
        ip = Format("%d.%d.%d.%d", bytes[0], bytes[1], bytes[2], bytes[3]);
        port = FNtohs(address.sin_port);
        return 0;
    }

    int FailWith(int code) {
        FOwnError = code;
        return -1;
    }
    int Result(int result) {
        FOwnError = 0;
        return result == SOCKET_ERROR ? -1 : result;
    }

    // An error found here rather than by the library; the calling thread's.
    static thread_local int FOwnError;
    HMODULE FLibrary = nullptr;
    FARPROC FEntries[std::size(kEntryNames)] = {};
    SocketFn FSocket = nullptr;
    BindFn FBind = nullptr;
    ConnectFn FConnect = nullptr;
    SelectFn FSelect = nullptr;
    RecvFn FRecv = nullptr;
    SendFn FSend = nullptr;
    ShutdownFn FShutdown = nullptr;
    CloseSocketFn FCloseSocket = nullptr;
    GetHostByNameFn FGetHostByName = nullptr;
    SockNameFn FGetSockName = nullptr;
    SockNameFn FGetPeerName = nullptr;
    SetSockOptFn FSetSockOpt = nullptr;
    GetSockOptFn FGetSockOpt = nullptr;
    IoctlSocketFn FIoctlSocket = nullptr;
    Swap16Fn FHtons = nullptr;
    Swap16Fn FNtohs = nullptr;
    GetLastErrorFn FGetLastError = nullptr;
    StartupFn FStartup = nullptr;
    CleanupFn FCleanup = nullptr;
    CancelBlockingFn FCancelBlocking = nullptr;
};

thread_local int TNetStackWinsock::FOwnError = 0;

} // namespace

std::unique_ptr<TNetStack> CreatePlatformStack() {
    return std::make_unique<TNetStackWinsock>();
}

} // namespace qh
