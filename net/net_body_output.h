// A GET's result body passed on as it arrives, in bounded memory: the body
// of a success goes straight to the sink; the body of an answer that may
// still be replaced (a redirect, an error) is held until the request ends.
#pragma once

#include "core/stream.h"
#include "net/net_http.h"

#include <functional>
#include <string>

namespace qh {

class TNetBodyOutput : public TStream {
public:
    // The sink takes every byte or fails (false), which fails the write.
    using TSink = std::function<bool(const char* bytes, size_t count)>;
    TNetBodyOutput(const TNetHTTP& http, TSink sink);

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override { return FPosition; }
    void SetSize(int64_t size) override;

    // The request returned: what it holds is the result after all.
    bool Finish();
    int64_t Passed() const { return FPassed; }

private:
    const TNetHTTP& FHttp;
    TSink FSink;
    std::string FHeld;
    int64_t FPosition = 0;
    int64_t FPassed = 0;
};

} // namespace qh
