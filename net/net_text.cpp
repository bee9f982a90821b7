#include "net/net_text.h"

#include "core/gbk.h"

namespace qh {

size_t NetFind(std::string_view text, std::string_view needle, size_t from) {
    if (needle.empty()) return std::string_view::npos;
    size_t i = 0;
    while (i < from && i < text.size())
        i += GbkCharLength(text, i);
    for (; i + needle.size() <= text.size(); i += GbkCharLength(text, i))
        if (text.compare(i, needle.size(), needle) == 0) return i;
    return std::string_view::npos;
}

size_t NetFindLast(std::string_view text, std::string_view needle) {
    size_t last = std::string_view::npos;
    for (size_t at = NetFind(text, needle); at != std::string_view::npos;
         at = NetFind(text, needle, at + 1))
        last = at;
    return last;
}

std::string Base64Encode(std::string_view bytes) {
    static const char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        uint32_t n =
            (uint8_t(bytes[i]) << 16) | (uint8_t(bytes[i + 1]) << 8) | uint8_t(bytes[i + 2]);
        out += kAlphabet[(n >> 18) & 63];
        out += kAlphabet[(n >> 12) & 63];
        out += kAlphabet[(n >> 6) & 63];
        out += kAlphabet[n & 63];
    }
    size_t rest = bytes.size() - i;
    if (rest > 0) {
        uint32_t n = uint8_t(bytes[i]) << 16;
        if (rest == 2) n |= uint8_t(bytes[i + 1]) << 8;
        out += kAlphabet[(n >> 18) & 63];
        out += kAlphabet[(n >> 12) & 63];
        out += rest == 2 ? kAlphabet[(n >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

} // namespace qh
