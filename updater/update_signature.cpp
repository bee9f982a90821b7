#include "updater/update_signature.h"

#include <vector>

namespace qh {

namespace {

constexpr std::string_view kFirstLine = "QingheTV-update";
// Far more than a well-formed file needs; the rest is not read.
constexpr size_t kMaxFileSize = 1024;

int LowerHexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool IsLowerHex(std::string_view text, size_t length) {
    if (text.size() != length) return false;
    for (char c : text)
        if (LowerHexValue(c) < 0) return false;
    return true;
}

// The LF-ended lines of text, each without its LF and an optional CR
// before it; nothing when the text does not end with LF.
std::optional<std::vector<std::string_view>> Lines(std::string_view text) {
    if (text.empty() || text.back() != '\n') return std::nullopt;
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        text.remove_prefix(end + 1);
    }
    return lines;
}

} // namespace

std::optional<TVersion> ParseVersion(std::string_view text) {
    TVersion version{};
    for (size_t i = 0; i < version.size(); ++i) {
        if (i > 0) {
            if (text.empty() || text.front() != '.') return std::nullopt;
            text.remove_prefix(1);
        }
        uint32_t value = 0;
        size_t digits = 0;
        while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
            value = value * 10 + static_cast<uint32_t>(text[digits] - '0');
            if (value > 65535) return std::nullopt;
            ++digits;
        }
        if (digits == 0) return std::nullopt;
        version[i] = static_cast<uint16_t>(value);
        text.remove_prefix(digits);
    }
    if (!text.empty()) return std::nullopt;
    return version;
}

std::optional<TUpdateStatement> ParseSignatureFile(std::string_view text) {
    if (text.size() > kMaxFileSize) return std::nullopt;
    const auto lines = Lines(text);
    if (!lines || lines->size() != 4) return std::nullopt;
    const std::string_view first = (*lines)[0], version = (*lines)[1], digest = (*lines)[2],
                           signature = (*lines)[3];
    if (first != kFirstLine || !ParseVersion(version) || !IsLowerHex(digest, 64) ||
        !IsLowerHex(signature, 128))
        return std::nullopt;

    TUpdateStatement statement;
    statement.Version = version;
    statement.Digest = digest;
    statement.Signed = std::string(first) + "\n" + statement.Version + "\n" + statement.Digest + "\n";
    for (size_t i = 0; i < signature.size(); i += 2)
        statement.Signature += static_cast<char>(LowerHexValue(signature[i]) * 16 +
                                                 LowerHexValue(signature[i + 1]));
    return statement;
}

} // namespace qh
