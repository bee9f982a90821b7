#include "core/gbk.h"

namespace qh {

size_t GbkCharLength(std::string_view text, size_t index) {
    if (index + 1 < text.size() && IsGbkLeadByte(static_cast<unsigned char>(text[index])))
        return 2;
    return 1;
}

std::string GbkTruncate(std::string_view text, size_t maxBytes) {
    size_t end = 0;
    while (end < text.size()) {
        size_t next = end + GbkCharLength(text, end);
        if (next > maxBytes) break;
        end = next;
    }
    return std::string(text.substr(0, end));
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    size_t i = 0;
    auto byte = [&](size_t k) { return static_cast<unsigned char>(utf8[k]); };
    while (i < utf8.size()) {
        unsigned char c = byte(i);
        char32_t cp = 0xFFFD;
        size_t need = 0;
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F;
            need = 1;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            need = 2;
        } else if ((c & 0xF8) == 0xF0) {
            cp = c & 0x07;
            need = 3;
        }
        ++i;
        if (c >= 0x80 && need == 0) {
            out.push_back(u'\uFFFD');
            continue;
        }
        size_t k = 0;
        for (; k < need && i < utf8.size() && (byte(i) & 0xC0) == 0x80; ++k, ++i)
            cp = (cp << 6) | (byte(i) & 0x3F);
        if (k < need || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

std::string GbkToUtf8(std::string_view gbk) { return Utf16ToUtf8(GbkToUtf16(gbk)); }
std::string Utf8ToGbk(std::string_view utf8) { return Utf16ToGbk(Utf8ToUtf16(utf8)); }

std::wstring GbkToWide(std::string_view gbk) {
    std::u16string utf16 = GbkToUtf16(gbk);
    if constexpr (sizeof(wchar_t) == 2) {
        return std::wstring(utf16.begin(), utf16.end());
    } else {
        std::wstring out;
        for (size_t i = 0; i < utf16.size(); ++i) {
            char32_t cp = utf16[i];
            if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size()) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
                ++i;
            }
            out.push_back(static_cast<wchar_t>(cp));
        }
        return out;
    }
}

std::string WideToGbk(std::wstring_view text) {
    std::u16string utf16;
    if constexpr (sizeof(wchar_t) == 2) {
        utf16.assign(text.begin(), text.end());
    } else {
        for (wchar_t w : text) {
            char32_t cp = static_cast<char32_t>(w);
            if (cp >= 0x10000) {
                cp -= 0x10000;
                utf16.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
                utf16.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
            } else {
                utf16.push_back(static_cast<char16_t>(cp));
            }
        }
    }
    return Utf16ToGbk(utf16);
}

} // namespace qh
