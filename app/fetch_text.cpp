#include "app/fetch_text.h"

#include "net/net_http.h"

namespace qh {

std::string FetchText(const std::string& address) {
    try {
        TNetHTTP http;
        return http.GetText(address);
    } catch (...) {
        // Unreachable host, error status, damaged reply: all mean "nothing".
        return std::string();
    }
}

} // namespace qh
