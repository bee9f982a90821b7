// Byte-string helpers in the manner of the runtime the system was written
// against: printf-style formatting, trimming, line splitting and the integer
// conversion.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qh {

// printf-style formatting into a byte string.
std::string Format(const char* format, ...);

// Remove characters with codes 0..32 from the ends.
std::string Trim(std::string_view text);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);

// Lines separated by CR, LF or CR LF. A final line break does not add an
// empty line; the empty text has no lines.
std::vector<std::string> SplitLines(std::string_view text);

// The runtime's integer conversion: leading blanks, an optional sign, then
// decimal digits or "$" and hexadecimal digits. Anything else raises
// EConvertError with the whole text in its message.
int32_t StrToInt(std::string_view text);
// The same conversion with a fallback instead of the error.
int32_t StrToIntDef(std::string_view text, int32_t fallback);
bool TryStrToInt(std::string_view text, int32_t& value);

std::string IntToStr(int64_t value);

// ASCII-only case folding: double-byte characters pass unchanged.
std::string LowerCase(std::string_view text);
std::string UpperCase(std::string_view text);
bool SameText(std::string_view a, std::string_view b);

} // namespace qh
