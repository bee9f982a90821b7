#include "net/net_stack.h"

#include "core/text.h"
#include "net/net_exceptions.h"

#include <mutex>
#include <utility>

namespace qh {

namespace {

int& LiveCount() {
    static int count = 0;
    return count;
}

// A worker abandoned in a wait may still use the stack while the process
// ends: the stack then goes with the process rather than under its feet.
struct TStackHolder {
    std::unique_ptr<TNetStack> Stack;
    ~TStackHolder() {
        if (LiveCount() > 0) (void)Stack.release();
    }
};

std::unique_ptr<TNetStack>& SharedStack() {
    static TStackHolder holder;
    return holder.Stack;
}

// References come from the user-interface thread and from fetch workers.
std::mutex& StackMutex() {
    static std::mutex mutex;
    return mutex;
}

TNetStackFactory& StackOverride() {
    static TNetStackFactory factory;
    return factory;
}

// A decimal number from 0 to 255, nothing else.
bool IsOctet(const std::string& part) {
    if (part.empty() || part.size() > 3) return false;
    int value = 0;
    for (char c : part) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return value <= 255;
}

} // namespace

std::string TNetStack::ResolveHostName(const std::string& host) {
    if (SameText(host, "LOCALHOST")) return "127.0.0.1";
    if (IsDottedQuad(host)) return host;
    std::string dotted;
    if (!HostByName(host, dotted)) RaiseSocketErrorFor(LastError());
    return dotted;
}

bool TNetStack::IsDottedQuad(const std::string& text) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        size_t dot = text.find('.', start);
        if (dot == std::string::npos) return false;
        parts.push_back(text.substr(start, dot - start));
        start = dot + 1;
    }
    parts.push_back(text.substr(start));
    for (const auto& part : parts)
        if (!IsOctet(part)) return false;
    return true;
}

bool TNetStack::CheckSocketResult(int result, const std::vector<int>& tolerated) {
    if (result != -1) return false;
    int code = LastError();
    for (int t : tolerated)
        if (t == code) return true;
    RaiseSocketErrorFor(code);
}

int TNetStack::Wait(const std::vector<TNetSocket>& sockets, int timeoutMs) {
    if (sockets.size() > kMaxWaitSockets) throw ENetStackSetSizeExceeded("Set Size Exceeded.");
    return WaitReadable(sockets, timeoutMs);
}

std::unique_ptr<TNetStack> CreateNetStack() {
    return StackOverride() ? StackOverride()() : CreatePlatformStack();
}

void SetNetStackOverride(TNetStackFactory factory) {
    StackOverride() = std::move(factory);
}

TNetStackRef::TNetStackRef() {
    std::lock_guard<std::mutex> lock(StackMutex());
    if (!SharedStack()) SharedStack() = CreateNetStack();
    ++LiveCount();
}

TNetStackRef::~TNetStackRef() {
    std::lock_guard<std::mutex> lock(StackMutex());
    if (--LiveCount() == 0) SharedStack().reset();
}

TNetStack& TNetStackRef::operator*() const {
    return *SharedStack();
}

int TNetStackRef::Count() {
    std::lock_guard<std::mutex> lock(StackMutex());
    return LiveCount();
}

bool TNetStackRef::StackExists() {
    std::lock_guard<std::mutex> lock(StackMutex());
    return SharedStack() != nullptr;
}

} // namespace qh
