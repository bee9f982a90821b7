// The signature published beside an installer: the vendor's statement that
// these bytes (by their SHA-256) install this version, signed with ECDSA
// P-256 over SHA-256. The file, as scripts/update-signing.sh writes it, is
// four LF-ended lines:
//   QingheTV-update
//   <version, a.b.c.d>
//   <SHA-256 of the installer, 64 lower-case hex digits>
//   <signature r||s, 128 lower-case hex digits>
// and the first three lines, LFs included, are what is signed.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qh {

using TVersion = std::array<uint16_t, 4>;

// "a.b.c.d", each a decimal number up to 65535; nothing else.
std::optional<TVersion> ParseVersion(std::string_view text);

struct TUpdateStatement {
    std::string Version;   // as signed, "a.b.c.d"
    std::string Digest;    // lower-case hex
    std::string Signed;    // the bytes the signature is over
    std::string Signature; // 64 bytes: r then s, big-endian
};

// The statement of a signature file; nothing when the text is not of the
// form above (a CR before each LF is tolerated).
std::optional<TUpdateStatement> ParseSignatureFile(std::string_view text);

} // namespace qh
