#include "app/fetch_text.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <thread>

namespace {

// Binds the socket to a free port on loopback and answers the port.
int BindFreeLoopbackPort(int s) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    socklen_t length = sizeof(address);
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

// Answers one connection with the given raw reply, then with up to
// endless bytes of zeros as fast as the client takes them, then stops.
class OneShotServer {
public:
    explicit OneShotServer(std::string reply, int64_t endless = 0)
        : FReply(std::move(reply)), FEndless(endless) {
        FListener = socket(AF_INET, SOCK_STREAM, 0);
        FPort = BindFreeLoopbackPort(FListener);
        listen(FListener, 1);
        FThread = std::thread([this] {
            int client = accept(FListener, nullptr, nullptr);
            if (client < 0) return;
            std::string request;
            char buffer[1024];
            while (request.find("\r\n\r\n") == std::string::npos) {
                ssize_t n = recv(client, buffer, sizeof(buffer), 0);
                if (n <= 0) break;
                request.append(buffer, static_cast<size_t>(n));
            }
            FFirstLine = request.substr(0, request.find("\r\n"));
            send(client, FReply.data(), FReply.size(), MSG_NOSIGNAL);
            const std::string zeros(65536, '\0');
            while (FZerosSent < FEndless) {
                ssize_t n = send(client, zeros.data(), zeros.size(), MSG_NOSIGNAL);
                if (n <= 0) break; // the client went
                FZerosSent += n;
            }
            close(client);
        });
    }
    ~OneShotServer() {
        shutdown(FListener, SHUT_RDWR);
        close(FListener);
        if (FThread.joinable()) FThread.join();
    }
    std::string Url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(FPort) + path;
    }
    // Valid once the fetch has returned.
    const std::string& FirstLine() const { return FFirstLine; }
    // Waits until the server is done with its client.
    int64_t ZerosSent() {
        shutdown(FListener, SHUT_RDWR);
        if (FThread.joinable()) FThread.join();
        return FZerosSent;
    }

private:
    int FListener = -1;
    int FPort = 0;
    std::string FReply;
    int64_t FEndless = 0;
    int64_t FZerosSent = 0;
    std::string FFirstLine;
    std::thread FThread;
};

// The most memory the process has held so far, in KiB.
long PeakResidentKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

std::string ClosedPortUrl() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    const int port = BindFreeLoopbackPort(s);
    close(s); // bound once, never listened on: the port refuses
    return "http://127.0.0.1:" + std::to_string(port) + "/update/Version.txt";
}

} // namespace

TEST(FetchText, ReturnsTheBodyBytesUnchanged) {
    const std::string body = "2.0.0.7020\r\n";
    OneShotServer server("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) +
                         "\r\n\r\n" + body);
    EXPECT_EQ(qh::FetchText(server.Url("/update/Version.txt")), body);
    EXPECT_EQ(server.FirstLine(), "GET /update/Version.txt HTTP/1.1");
}

TEST(FetchText, ErrorStatusGivesTheEmptyText) {
    OneShotServer server("HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found");
    EXPECT_EQ(qh::FetchText(server.Url("/ad/Config.txt")), "");
}

TEST(FetchText, DamagedReplyGivesTheEmptyText) {
    OneShotServer server("this is no HTTP reply at all\r\n\r\n");
    EXPECT_EQ(qh::FetchText(server.Url("/ad/Config.txt")), "");
}

TEST(FetchText, RefusedConnectionAndBadAddressGiveTheEmptyText) {
    EXPECT_EQ(qh::FetchText(ClosedPortUrl()), "");
    EXPECT_EQ(qh::FetchText("not a url"), "");
    EXPECT_EQ(qh::FetchText(""), "");
}

TEST(FetchText, AnEndlessOrOverlongBodyIsTheEmptyTextInBoundedMemory) {
    // 64 MiB stands for endless: enough to see unbounded growth, and a
    // client that kept everything would still end.
    const int64_t endless = int64_t(64) << 20;
    const long before = PeakResidentKb();
    {
        OneShotServer server("HTTP/1.1 200 OK\r\nContent-Length: 4294967296\r\n\r\n", endless);
        EXPECT_EQ(qh::FetchText(server.Url("/ad/Config.txt")).size(), 0u);
        EXPECT_LT(server.ZerosSent(), endless) << "the client read on past its limit";
    }
    {
        OneShotServer server("HTTP/1.1 200 OK\r\n\r\n", endless);
        EXPECT_EQ(qh::FetchText(server.Url("/ad/Config.txt")).size(), 0u);
        EXPECT_LT(server.ZerosSent(), endless);
    }
    {
        const std::string overlong(qh::kFetchTextMaxBody + 1, 'x');
        OneShotServer server("HTTP/1.1 200 OK\r\nContent-Length: " +
                             std::to_string(overlong.size()) + "\r\n\r\n" + overlong);
        EXPECT_EQ(qh::FetchText(server.Url("/update/Version.txt")).size(), 0u);
    }
    EXPECT_LT(PeakResidentKb() - before, 24 * 1024) << "KiB more at the peak";
    // The next fetch works as ever, up to the limit itself.
    const std::string full(qh::kFetchTextMaxBody, 'y');
    OneShotServer server("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(full.size()) +
                         "\r\n\r\n" + full);
    EXPECT_TRUE(qh::FetchText(server.Url("/ad/Config.txt")) == full);
}
