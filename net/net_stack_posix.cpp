// The stack over POSIX sockets. It speaks the Windows socket error numbers,
// so a failure reads the same on every platform.
#include "net/net_stack.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

namespace qh {

namespace {

int WindowsCodeFor(int error) {
    switch (error) {
    case EINTR:
        return 10004;
    case EBADF:
        return 10009;
    case EACCES:
        return 10013;
    case EFAULT:
        return 10014;
    case EINVAL:
        return 10022;
    case EMFILE:
        return 10024;
    case EWOULDBLOCK:
        return 10035;
    case EINPROGRESS:
        return 10036;
    case EALREADY:
        return 10037;
    case ENOTSOCK:
        return 10038;
    case EDESTADDRREQ:
        return 10039;
    case EMSGSIZE:
        return 10040;
    case EPROTOTYPE:
        return 10041;
    case ENOPROTOOPT:
        return 10042;
    case EPROTONOSUPPORT:
        return 10043;
    case ESOCKTNOSUPPORT:
        return 10044;
    case EOPNOTSUPP:
        return 10045;
    case EPFNOSUPPORT:
        return 10046;
    case EAFNOSUPPORT:
        return 10047;
    case EADDRINUSE:
        return 10048;
    case EADDRNOTAVAIL:
        return 10049;
    case ENETDOWN:
        return 10050;
    case ENETUNREACH:
        return 10051;
    case ENETRESET:
        return 10052;
    case ECONNABORTED:
        return 10053;
    case ECONNRESET:
        return 10054;
    case ENOBUFS:
        return 10055;
    case EISCONN:
        return 10056;
    case ENOTCONN:
        return 10057;
    case ESHUTDOWN:
        return 10058;
    // Writing after the peer has gone.
    case EPIPE:
        return 10058;
    case ETOOMANYREFS:
        return 10059;
    case ETIMEDOUT:
        return 10060;
    case ECONNREFUSED:
        return 10061;
    case ELOOP:
        return 10062;
    case ENAMETOOLONG:
        return 10063;
    case EHOSTDOWN:
        return 10064;
    case EHOSTUNREACH:
        return 10065;
    case ENOTEMPTY:
        return 10066;
    default:
        return error;
    }
}

int LookupCodeFor(int error) {
    switch (error) {
    case EAI_AGAIN:
        return NetError::TryAgain;
    case EAI_FAIL:
        return NetError::NoRecovery;
#ifdef EAI_NODATA
    case EAI_NODATA:
        return NetError::NoData;
#endif
    default:
        return NetError::HostNotFound;
    }
}

bool MakeAddress(const std::string& ip, int port, sockaddr_in& address) {
    std::memset(&address, 0, sizeof address);
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    if (ip.empty()) {
        address.sin_addr.s_addr = htonl(INADDR_ANY);
        return true;
    }
    return inet_pton(AF_INET, ip.c_str(), &address.sin_addr) == 1;
}

void ReadAddress(const sockaddr_in& address, std::string& ip, int& port) {
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
    ip = text;
    port = ntohs(address.sin_port);
}

class TNetStackPosix : public TNetStack {
public:
    TNetStackPosix() {
        FVersion.Name = "POSIX stack";
        FVersion.Version = 0x0101;
        FVersion.LowVersion = 0x0101;
    }

    TNetSocket CreateSocket(TNetSocketType type, int protocol) override {
        int fd =
            ::socket(AF_INET, type == TNetSocketType::Stream ? SOCK_STREAM : SOCK_DGRAM, protocol);
        if (fd < 0) return Fail(kInvalidSocket);
        return fd;
    }

    int Bind(TNetSocket socket, const std::string& ip, int port) override {
        sockaddr_in address;
        if (!PortFits(port)) return FailWith(NetError::InvalidArgument);
        if (!MakeAddress(ip, port, address)) return FailWith(10049);
        return Result(::bind(Fd(socket), reinterpret_cast<sockaddr*>(&address), sizeof address));
    }

    int Connect(TNetSocket socket, const std::string& ip, int port, int timeoutMs) override {
        sockaddr_in address;
        if (!PortFits(port)) return FailWith(NetError::InvalidArgument);
        if (!MakeAddress(ip, port, address)) return FailWith(10049);
        const int fd = Fd(socket);
        const auto* target = reinterpret_cast<sockaddr*>(&address);
        if (timeoutMs < 0) {
            int result;
            do {
                result = ::connect(fd, target, sizeof address);
            } while (result < 0 && errno == EINTR);
            return Result(result);
        }
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0) return Fail(-1);
        int result = ::connect(fd, target, sizeof address);
        int error = result < 0 ? errno : 0;
        if (result < 0 && (error == EINPROGRESS || error == EINTR)) {
            pollfd entry{fd, POLLOUT, 0};
            int ready;
            do {
                ready = ::poll(&entry, 1, timeoutMs);
            } while (ready < 0 && errno == EINTR);
            if (ready == 0) {
                error = ETIMEDOUT;
            } else if (ready < 0) {
                error = errno;
            } else {
                socklen_t length = sizeof error;
                if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) < 0) error = errno;
            }
        }
        ::fcntl(fd, F_SETFL, flags);
        if (error == 0) return 0;
        return FailWith(WindowsCodeFor(error));
    }

    int Recv(TNetSocket socket, void* buffer, int count) override {
        ssize_t got;
        do {
            got = ::recv(Fd(socket), buffer, static_cast<size_t>(count), 0);
        } while (got < 0 && errno == EINTR);
        return Result(static_cast<int>(got));
    }

    int Send(TNetSocket socket, const void* buffer, int count) override {
        ssize_t sent;
        do {
            sent = ::send(Fd(socket), buffer, static_cast<size_t>(count), MSG_NOSIGNAL);
        } while (sent < 0 && errno == EINTR);
        return Result(static_cast<int>(sent));
    }

    int Shutdown(TNetSocket socket, int how) override {
        return Result(::shutdown(Fd(socket), how == 1 ? SHUT_WR : how == 0 ? SHUT_RD : SHUT_RDWR));
    }

    int CloseSocket(TNetSocket socket) override { return Result(::close(Fd(socket))); }

    int SetNoDelay(TNetSocket socket, bool on) override {
        int value = on ? 1 : 0;
        return Result(::setsockopt(Fd(socket), IPPROTO_TCP, TCP_NODELAY, &value, sizeof value));
    }

    int LocalAddress(TNetSocket socket, std::string& ip, int& port) override {
        sockaddr_in address{};
        socklen_t length = sizeof address;
        if (::getsockname(Fd(socket), reinterpret_cast<sockaddr*>(&address), &length) < 0)
            return Fail(-1);
        ReadAddress(address, ip, port);
        return 0;
    }

    int PeerAddress(TNetSocket socket, std::string& ip, int& port) override {
        sockaddr_in address{};
        socklen_t length = sizeof address;
        if (::getpeername(Fd(socket), reinterpret_cast<sockaddr*>(&address), &length) < 0)
            return Fail(-1);
        ReadAddress(address, ip, port);
        return 0;
    }

    int WaitReadable(const std::vector<TNetSocket>& sockets, int timeoutMs) override {
        std::vector<pollfd> fds;
        for (TNetSocket s : sockets)
            fds.push_back(pollfd{Fd(s), POLLIN, 0});
        int result;
        do {
            result = ::poll(fds.data(), fds.size(), timeoutMs == -2 ? -1 : timeoutMs);
        } while (result < 0 && errno == EINTR);
        if (result < 0) return Fail(-1);
        return result > 0 ? 1 : 0;
    }

    bool HostByName(const std::string& name, std::string& dotted) override {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* found = nullptr;
        int result = ::getaddrinfo(name.c_str(), nullptr, &hints, &found);
        if (result != 0 || found == nullptr) {
            FLastError = result == EAI_SYSTEM ? WindowsCodeFor(errno) : LookupCodeFor(result);
            return false;
        }
        int port = 0;
        ReadAddress(*reinterpret_cast<const sockaddr_in*>(found->ai_addr), dotted, port);
        ::freeaddrinfo(found);
        return true;
    }

    int LastError() override { return FLastError; }

private:
    static int Fd(TNetSocket socket) { return static_cast<int>(socket); }

    int Fail(int result) {
        FLastError = WindowsCodeFor(errno);
        return result;
    }
    int FailWith(int code) {
        FLastError = code;
        return -1;
    }
    int Result(int result) { return result < 0 ? Fail(-1) : result; }

    // Each thread's own, as the system's error number is.
    static thread_local int FLastError;
};

thread_local int TNetStackPosix::FLastError = 0;

} // namespace

std::unique_ptr<TNetStack> CreatePlatformStack() {
    return std::make_unique<TNetStackPosix>();
}

} // namespace qh
