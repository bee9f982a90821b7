// Feeds arbitrary response bytes through an in-memory stack into GetText.
// The first byte chooses how the bytes are cut into receives, so reads that
// end inside a line or a chunk are explored too.
#include "core/exception.h"
#include "net/net_http.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

struct Script {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t position = 0;
    size_t piece = 1;
};

Script current;

// A peer that accepts everything sent and answers with the script's bytes,
// then closes.
class MemoryStack : public qh::TNetStack {
public:
    qh::TNetSocket CreateSocket(qh::TNetSocketType, int) override { return 3; }
    int Bind(qh::TNetSocket, const std::string&, int) override { return 0; }
    int Connect(qh::TNetSocket, const std::string&, int, int) override { return 0; }
    int Recv(qh::TNetSocket, void* buffer, int count) override {
        size_t left = current.size - current.position;
        size_t n = std::min({left, current.piece, static_cast<size_t>(count)});
        std::memcpy(buffer, current.data + current.position, n);
        current.position += n;
        return static_cast<int>(n);
    }
    int Send(qh::TNetSocket, const void*, int count) override { return count; }
    int Shutdown(qh::TNetSocket, int) override { return 0; }
    int CloseSocket(qh::TNetSocket) override { return 0; }
    int SetNoDelay(qh::TNetSocket, bool) override { return 0; }
    int LocalAddress(qh::TNetSocket, std::string& ip, int& port) override {
        ip = "127.0.0.1";
        port = 1025;
        return 0;
    }
    int PeerAddress(qh::TNetSocket, std::string& ip, int& port) override {
        ip = "127.0.0.1";
        port = 80;
        return 0;
    }
    // Always readable: data or the close.
    int WaitReadable(const std::vector<qh::TNetSocket>&, int) override { return 1; }
    bool HostByName(const std::string&, std::string& dotted) override {
        dotted = "127.0.0.1";
        return true;
    }
    int LastError() override { return 10054; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool installed = [] {
        qh::SetNetStackOverride([] { return std::make_unique<MemoryStack>(); });
        return true;
    }();
    (void)installed;
    if (size == 0) return 0;
    current = Script{data + 1, size - 1, 0, static_cast<size_t>(data[0] % 16) * 97 + 1};
    try {
        qh::TNetHTTP http;
        http.MaxLineLength = 4096;
        http.GetText("http://fuzz.test/index.htm");
    } catch (const qh::Exception&) {
        // Every failure of the exchange is an exception of the layer or the runtime.
    }
    return 0;
}
