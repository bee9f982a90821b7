// Requests per second with a new client per GET of 2 KB, and throughput of
// a 256 MB body framed by length and by chunks: our client and libcurl
// against the same loopback server, in one run.
#include "core/stream.h"
#include "net/net_http.h"

#include <curl/curl.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr size_t kSmall = 2048;
constexpr size_t kLarge = 256u * 1024 * 1024;
constexpr size_t kChunk = 32 * 1024;

// Serves one request per connection and closes, as a plain file server does.
class LoopbackServer {
public:
    LoopbackServer() : FPayload(1024 * 1024) {
        for (size_t i = 0; i < FPayload.size(); ++i)
            FPayload[i] = static_cast<char>('a' + i % 26);
        FListener = socket(AF_INET, SOCK_STREAM, 0);
        int one = 1;
        setsockopt(FListener, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(FListener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(FListener, 128);
        socklen_t length = sizeof address;
        getsockname(FListener, reinterpret_cast<sockaddr*>(&address), &length);
        FPort = ntohs(address.sin_port);
        FThread = std::thread([this] { Run(); });
    }
    ~LoopbackServer() {
        FStop = true;
        shutdown(FListener, SHUT_RDWR);
        close(FListener);
        FThread.join();
    }
    std::string Url(const char* path) const {
        return "http://127.0.0.1:" + std::to_string(FPort) + path;
    }

private:
    void Run() {
        while (!FStop) {
            int client = accept(FListener, nullptr, nullptr);
            if (client < 0) return;
            Serve(client);
            close(client);
        }
    }
    bool SendAll(int client, const char* data, size_t size) {
        while (size > 0) {
            ssize_t n = send(client, data, size, MSG_NOSIGNAL);
            if (n <= 0) return false;
            data += n;
            size -= static_cast<size_t>(n);
        }
        return true;
    }
    void Serve(int client) {
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos) {
            ssize_t n = recv(client, buffer, sizeof buffer, 0);
            if (n <= 0) return;
            request.append(buffer, static_cast<size_t>(n));
        }
        if (request.find(" /small ") != std::string::npos) {
            std::string reply = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(kSmall) +
                                "\r\n\r\n" + std::string(FPayload.data(), kSmall);
            SendAll(client, reply.data(), reply.size());
        } else if (request.find(" /large ") != std::string::npos) {
            std::string head =
                "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(kLarge) + "\r\n\r\n";
            if (!SendAll(client, head.data(), head.size())) return;
            for (size_t sent = 0; sent < kLarge; sent += FPayload.size())
                if (!SendAll(client, FPayload.data(), FPayload.size())) return;
        } else {
            std::string head = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
            if (!SendAll(client, head.data(), head.size())) return;
            char size[32];
            int sizeLength = std::snprintf(size, sizeof size, "%zx\r\n", kChunk);
            // Each chunk as one send, size line and data and CR LF together.
            std::string chunk(size, static_cast<size_t>(sizeLength));
            chunk.append(FPayload.data(), kChunk);
            chunk += "\r\n";
            for (size_t sent = 0; sent < kLarge; sent += kChunk)
                if (!SendAll(client, chunk.data(), chunk.size())) return;
            SendAll(client, "0\r\n\r\n", 5);
        }
    }

    std::vector<char> FPayload;
    int FListener = -1;
    int FPort = 0;
    std::atomic<bool> FStop{false};
    std::thread FThread;
};

// Counts the bytes written and keeps none.
class CountingStream : public qh::TStream {
public:
    int64_t Read(void*, int64_t) override { return 0; }
    int64_t Write(const void*, int64_t count) override {
        FPosition += count;
        FSize = std::max(FSize, FPosition);
        return count;
    }
    int64_t Seek(int64_t offset, qh::TSeekOrigin origin) override {
        if (origin == qh::TSeekOrigin::soBeginning) FPosition = offset;
        if (origin == qh::TSeekOrigin::soCurrent) FPosition += offset;
        if (origin == qh::TSeekOrigin::soEnd) FPosition = FSize + offset;
        return FPosition;
    }
    int64_t Size() override { return FSize; }
    void SetSize(int64_t size) override { FSize = size; }

private:
    int64_t FPosition = 0;
    int64_t FSize = 0;
};

size_t CurlCount(char*, size_t size, size_t count, void* total) {
    *static_cast<size_t*>(total) += size * count;
    return size * count;
}

size_t OursGet(const std::string& url) {
    qh::TNetHTTP http;
    CountingStream sink;
    http.GetToStream(url, sink);
    return static_cast<size_t>(sink.Size());
}

size_t CurlGet(const std::string& url) {
    CURL* curl = curl_easy_init();
    size_t total = 0;
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, CurlCount);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &total);
    curl_easy_setopt(curl, CURLOPT_PROXY, "");
    CURLcode result = curl_easy_perform(curl);
    curl_easy_cleanup(curl);
    if (result != CURLE_OK) std::fprintf(stderr, "libcurl: %s\n", curl_easy_strerror(result));
    return total;
}

double Seconds(const std::chrono::steady_clock::time_point& start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

template <typename Get> double RequestsPerSecond(Get get, const std::string& url, int count) {
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i)
        if (get(url) != kSmall) std::fprintf(stderr, "short small body\n");
    return count / Seconds(start);
}

// Best of three runs, in MB/s.
template <typename Get> double Throughput(Get get, const std::string& url) {
    double best = 0;
    for (int run = 0; run < 3; ++run) {
        auto start = std::chrono::steady_clock::now();
        size_t got = get(url);
        double seconds = Seconds(start);
        if (got != kLarge) std::fprintf(stderr, "large body of %zu bytes\n", got);
        best = std::max(best, kLarge / (1024.0 * 1024.0) / seconds);
    }
    return best;
}

void Row(const char* name, double ours, double curl, const char* unit) {
    std::printf("%-38s %12.1f %12.1f %8.2f  %s\n", name, ours, curl, ours / curl, unit);
}

} // namespace

int main() {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    LoopbackServer server;
    const int requests = 3000;
    // Warm both up once so neither pays for first use.
    OursGet(server.Url("/small"));
    CurlGet(server.Url("/small"));
    std::printf("%-38s %12s %12s %8s\n", "", "ours", "libcurl", "ratio");
    double oursRate = RequestsPerSecond(OursGet, server.Url("/small"), requests);
    double curlRate = RequestsPerSecond(CurlGet, server.Url("/small"), requests);
    Row("new client per GET of 2 KB", oursRate, curlRate, "requests/s");
    Row("256 MB with Content-Length", Throughput(OursGet, server.Url("/large")),
        Throughput(CurlGet, server.Url("/large")), "MB/s");
    Row("256 MB chunked (32 KB chunks)", Throughput(OursGet, server.Url("/chunked")),
        Throughput(CurlGet, server.Url("/chunked")), "MB/s");
    curl_global_cleanup();
    return 0;
}
