// What the updater asks of the system's own cryptography (CNG): the digest
// of a download and the check of the vendor's signature.
#pragma once

#include <string>
#include <string_view>

namespace qh {

// Lower-case hex SHA-256 of the file, or empty when it cannot be read.
std::string Sha256OfFile(const std::string& path);

// True when signature (r then s, 32 bytes each) is valid for message under
// publicKey (the P-256 point, X then Y, 32 bytes each), ECDSA with SHA-256.
// Anything of the wrong size is simply not valid.
bool VerifyEcdsaP256(std::string_view publicKey, std::string_view message,
                     std::string_view signature);

} // namespace qh
