// Delimiter searches that treat the double-byte characters of code page 936
// as units, so a trail byte is never taken for "/", ":" or "\".
#pragma once

#include <string>
#include <string_view>

namespace qh {

// Position of needle at or after from, or npos; matches start only on
// character boundaries.
size_t NetFind(std::string_view text, std::string_view needle, size_t from = 0);
// Position of the last match, or npos.
size_t NetFindLast(std::string_view text, std::string_view needle);

// Base64 of the bytes (standard alphabet, "=" fill).
std::string Base64Encode(std::string_view bytes);

} // namespace qh
