// Code page 936 (GBK) byte strings and UTF-16 / UTF-8 text.
//
// Narrow string literals of the program are GBK already (the compiler's
// execution character set); wide literals are UTF-16 on Windows. These
// helpers carry text between the forms and cut byte strings without
// splitting a double-byte character.
#pragma once

#include <string>
#include <string_view>

namespace qh {

// 0x81..0xFE start a double-byte character in code page 936.
constexpr bool IsGbkLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Length in bytes (1 or 2) of the character starting at text[index].
size_t GbkCharLength(std::string_view text, size_t index);

// The longest prefix of at most maxBytes bytes that ends on a character
// boundary.
std::string GbkTruncate(std::string_view text, size_t maxBytes);

// Conversions; bytes that are not valid become U+FFFD (or "?" going to GBK).
std::u16string GbkToUtf16(std::string_view gbk);
std::string Utf16ToGbk(std::u16string_view text);

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view text);

std::string GbkToUtf8(std::string_view gbk);
std::string Utf8ToGbk(std::string_view utf8);

// wchar_t text for the wide Windows calls (UTF-16 there, UTF-32 elsewhere).
std::wstring GbkToWide(std::string_view gbk);
std::string WideToGbk(std::wstring_view text);

} // namespace qh
