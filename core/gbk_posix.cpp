// Code page 936 through iconv, which knows it as "CP936".
#include "core/gbk.h"

#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace qh {

namespace {

class TConverter {
public:
    TConverter(const char* to, const char* from) : FHandle(iconv_open(to, from)) {
        if (FHandle == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("iconv cannot convert between CP936 and UTF-16");
    }
    ~TConverter() { iconv_close(FHandle); }
    TConverter(const TConverter&) = delete;
    TConverter& operator=(const TConverter&) = delete;

    // Converts as much as it can; on a bad sequence it returns the number of
    // input bytes consumed so far with ok == false.
    size_t Run(const char* in, size_t inSize, std::string& out, bool& ok) {
        iconv(FHandle, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in);
        size_t left = inSize;
        ok = true;
        char buffer[4096];
        while (left > 0) {
            char* dst = buffer;
            size_t room = sizeof(buffer);
            size_t rc = iconv(FHandle, &src, &left, &dst, &room);
            out.append(buffer, static_cast<size_t>(dst - buffer));
            if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
                ok = false;
                break;
            }
        }
        return inSize - left;
    }

private:
    iconv_t FHandle;
};

} // namespace

std::u16string GbkToUtf16(std::string_view gbk) {
    thread_local TConverter converter("UTF-16LE", "CP936");
    std::string bytes;
    size_t pos = 0;
    while (pos < gbk.size()) {
        bool ok = true;
        pos += converter.Run(gbk.data() + pos, gbk.size() - pos, bytes, ok);
        if (!ok) {
            bytes.append("\xFD\xFF", 2);  // U+FFFD, little-endian
            pos += 1;
        }
    }
    std::u16string out(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                       (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    return out;
}

std::string Utf16ToGbk(std::u16string_view text) {
    thread_local TConverter converter("CP936", "UTF-16LE");
    std::string in;
    in.reserve(text.size() * 2);
    for (char16_t c : text) {
        in.push_back(static_cast<char>(c & 0xFF));
        in.push_back(static_cast<char>(c >> 8));
    }
    std::string out;
    size_t pos = 0;
    while (pos < in.size()) {
        bool ok = true;
        pos += converter.Run(in.data() + pos, in.size() - pos, out, ok);
        if (!ok) {
            out.push_back('?');
            // Skip the whole unit (two bytes, four for a surrogate pair).
            char16_t unit = static_cast<char16_t>(static_cast<unsigned char>(in[pos]) |
                                                  (static_cast<unsigned char>(in[pos + 1]) << 8));
            pos += (unit >= 0xD800 && unit <= 0xDBFF && pos + 4 <= in.size()) ? 4 : 2;
        }
    }
    return out;
}

} // namespace qh
