#include "net/net_body_output.h"

#include "core/exception.h"

namespace qh {

TNetBodyOutput::TNetBodyOutput(const TNetHTTP& http, TSink sink)
    : FHttp(http), FSink(std::move(sink)) {}

int64_t TNetBodyOutput::Read(void*, int64_t) {
    return 0;
}

int64_t TNetBodyOutput::Write(const void* buffer, int64_t count) {
    if (count <= 0) return 0;
    const auto* bytes = static_cast<const char*>(buffer);
    // A success without a place to go on to is the result: nothing can
    // replace it any more.
    const bool final = FHttp.StatusCode / 100 == 2 && FHttp.Reply.Location.empty();
    if (final) {
        FHeld.clear();
        if (!FSink(bytes, static_cast<size_t>(count))) return 0;
        FPassed += count;
    } else {
        FHeld.append(bytes, static_cast<size_t>(count));
    }
    FPosition += count;
    return count;
}

int64_t TNetBodyOutput::Seek(int64_t offset, TSeekOrigin origin) {
    if (origin == TSeekOrigin::soCurrent && offset == 0) return FPosition;
    // The client starts over only for the next answer of a redirect.
    if (origin == TSeekOrigin::soBeginning && offset == 0) {
        FHeld.clear();
        FPosition = 0;
        return 0;
    }
    throw EStreamError("The response body cannot be seeked.");
}

void TNetBodyOutput::SetSize(int64_t size) {
    if (size >= FPosition) return;
    const int64_t cut = FPosition - size;
    if (cut > static_cast<int64_t>(FHeld.size()))
        throw EStreamError("The response body cannot be cut once passed on.");
    FHeld.resize(FHeld.size() - static_cast<size_t>(cut));
    FPosition = size;
}

bool TNetBodyOutput::Finish() {
    if (FHeld.empty()) return true;
    std::string held;
    held.swap(FHeld);
    if (!FSink(held.data(), held.size())) return false;
    FPassed += static_cast<int64_t>(held.size());
    return true;
}

} // namespace qh
