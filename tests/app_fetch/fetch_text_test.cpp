#include "app/fetch_text.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <thread>

namespace {

// Answers one connection with the given raw reply, then stops.
class OneShotServer {
public:
    explicit OneShotServer(std::string reply) : FReply(std::move(reply)) {
        FListener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(FListener, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        socklen_t length = sizeof(address);
        getsockname(FListener, reinterpret_cast<sockaddr*>(&address), &length);
        FPort = ntohs(address.sin_port);
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
            send(client, FReply.data(), FReply.size(), 0);
            close(client);
        });
    }
    ~OneShotServer() {
        shutdown(FListener, SHUT_RDWR);
        close(FListener);
        FThread.join();
    }
    std::string Url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(FPort) + path;
    }
    // Valid once the fetch has returned.
    const std::string& FirstLine() const { return FFirstLine; }

private:
    int FListener = -1;
    int FPort = 0;
    std::string FReply;
    std::string FFirstLine;
    std::thread FThread;
};

std::string ClosedPortUrl() {
    int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    socklen_t length = sizeof(address);
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    close(s); // bound once, never listened on: the port refuses
    return "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/update/Version.txt";
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
