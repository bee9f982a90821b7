#include "app/fetch_text.h"

#include "net/net_http.h"

namespace qh {

std::string FetchText(const std::string& address) {
    return FetchTextWithin(address, 0);
}

std::string FetchTextWithin(const std::string& address, int timeLimitMs) {
    try {
        TNetHTTP http;
        http.SetTimeLimit(timeLimitMs);
        http.MaxBodySize = kFetchTextMaxBody;
        return http.GetText(address);
    } catch (...) {
        // Unreachable host, error status, damaged or oversized reply: all mean
        // "nothing".
        return std::string();
    }
}

} // namespace qh
