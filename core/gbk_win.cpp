// Code page 936 through the system's own conversion tables. Bad input takes
// a slower path, character by character, so that it reads the same as the
// iconv build: U+FFFD for a bad byte sequence, "?" for a character that code
// page 936 cannot hold.
#include "core/gbk.h"

#include <windows.h>

namespace qh {

namespace {

int ToWide(std::string_view bytes, DWORD flags, wchar_t* out, int room) {
    return MultiByteToWideChar(936, flags, bytes.data(), static_cast<int>(bytes.size()), out, room);
}

int ToGbk(const wchar_t* text, int count, char* out, int room, BOOL* usedDefault) {
    return WideCharToMultiByte(936, 0, text, count, out, room, nullptr, usedDefault);
}

} // namespace

std::u16string GbkToUtf16(std::string_view gbk) {
    if (gbk.empty()) return {};
    int length = ToWide(gbk, MB_ERR_INVALID_CHARS, nullptr, 0);
    if (length > 0) {
        std::u16string out(static_cast<size_t>(length), u'\0');
        ToWide(gbk, MB_ERR_INVALID_CHARS, reinterpret_cast<wchar_t*>(out.data()), length);
        return out;
    }
    std::u16string out;
    for (size_t i = 0; i < gbk.size();) {
        size_t unit = GbkCharLength(gbk, i);
        wchar_t wide[2];
        int n = ToWide(gbk.substr(i, unit), MB_ERR_INVALID_CHARS, wide, 2);
        if (n == 1 && !(unit == 1 && IsGbkLeadByte(static_cast<unsigned char>(gbk[i]))))
            out.push_back(static_cast<char16_t>(wide[0]));
        else
            out.push_back(u'\uFFFD');
        i += unit;
    }
    return out;
}

std::string Utf16ToGbk(std::u16string_view text) {
    if (text.empty()) return {};
    auto wide = reinterpret_cast<const wchar_t*>(text.data());
    BOOL usedDefault = FALSE;
    int length = ToGbk(wide, static_cast<int>(text.size()), nullptr, 0, &usedDefault);
    if (!usedDefault) {
        std::string out(static_cast<size_t>(length), '\0');
        ToGbk(wide, static_cast<int>(text.size()), out.data(), length, nullptr);
        return out;
    }
    std::string out;
    for (size_t i = 0; i < text.size();) {
        bool pair = text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() &&
                    text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        int count = pair ? 2 : 1;
        char bytes[8];
        BOOL bad = FALSE;
        int n = ToGbk(wide + i, count, bytes, sizeof(bytes), &bad);
        if (n > 0 && !bad)
            out.append(bytes, static_cast<size_t>(n));
        else
            out.push_back('?');
        i += static_cast<size_t>(count);
    }
    return out;
}

} // namespace qh
