#include "updater/crypto_win.h"

#include "core/exception.h"
#include "core/stream.h"

#include <windows.h>
#include <bcrypt.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace qh {

namespace {

constexpr size_t kCoordinate = 32;

struct TAlgorithm {
    BCRYPT_ALG_HANDLE Handle = nullptr;
    explicit TAlgorithm(const wchar_t* name) {
        if (BCryptOpenAlgorithmProvider(&Handle, name, nullptr, 0) != 0) Handle = nullptr;
    }
    ~TAlgorithm() {
        if (Handle) BCryptCloseAlgorithmProvider(Handle, 0);
    }
    TAlgorithm(const TAlgorithm&) = delete;
    TAlgorithm& operator=(const TAlgorithm&) = delete;
};

class TSha256 {
public:
    TSha256() : FAlgorithm(BCRYPT_SHA256_ALGORITHM) {
        if (FAlgorithm.Handle &&
            BCryptCreateHash(FAlgorithm.Handle, &FHash, nullptr, 0, nullptr, 0, 0) != 0)
            FHash = nullptr;
    }
    ~TSha256() {
        if (FHash) BCryptDestroyHash(FHash);
    }
    TSha256(const TSha256&) = delete;
    TSha256& operator=(const TSha256&) = delete;

    bool Add(const void* data, size_t size) {
        return FHash && BCryptHashData(FHash, static_cast<PUCHAR>(const_cast<void*>(data)),
                                       static_cast<ULONG>(size), 0) == 0;
    }
    // The 32 bytes of the digest, or false.
    bool Finish(UCHAR (&digest)[32]) {
        return FHash && BCryptFinishHash(FHash, digest, sizeof digest, 0) == 0;
    }

private:
    TAlgorithm FAlgorithm;
    BCRYPT_HASH_HANDLE FHash = nullptr;
};

struct TKey {
    BCRYPT_KEY_HANDLE Handle = nullptr;
    TKey() = default;
    ~TKey() {
        if (Handle) BCryptDestroyKey(Handle);
    }
    TKey(const TKey&) = delete;
    TKey& operator=(const TKey&) = delete;
};

} // namespace

std::string Sha256OfFile(const std::string& path) try {
    TFileStream file(path, TFileMode::fmOpenRead);
    TSha256 hash;
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const int64_t got = file.Read(buffer.data(), static_cast<int64_t>(buffer.size()));
        if (got <= 0) break;
        if (!hash.Add(buffer.data(), static_cast<size_t>(got))) return std::string();
    }
    UCHAR digest[32];
    if (!hash.Finish(digest)) return std::string();
    std::string hex;
    char part[3];
    for (UCHAR b : digest) {
        std::snprintf(part, sizeof part, "%02x", b);
        hex += part;
    }
    return hex;
} catch (const Exception&) {
    return std::string(); // cannot be read
}

bool VerifyEcdsaP256(std::string_view publicKey, std::string_view message,
                     std::string_view signature) {
    if (publicKey.size() != 2 * kCoordinate || signature.size() != 2 * kCoordinate) return false;
    UCHAR digest[32];
    TSha256 hash;
    if (!hash.Add(message.data(), message.size()) || !hash.Finish(digest)) return false;

    TAlgorithm ecdsa(BCRYPT_ECDSA_P256_ALGORITHM);
    if (!ecdsa.Handle) return false;
    std::vector<UCHAR> blob(sizeof(BCRYPT_ECCKEY_BLOB) + publicKey.size());
    BCRYPT_ECCKEY_BLOB header{BCRYPT_ECDSA_PUBLIC_P256_MAGIC, kCoordinate};
    std::memcpy(blob.data(), &header, sizeof header);
    std::memcpy(blob.data() + sizeof header, publicKey.data(), publicKey.size());
    TKey key;
    if (BCryptImportKeyPair(ecdsa.Handle, nullptr, BCRYPT_ECCPUBLIC_BLOB, &key.Handle, blob.data(),
                            static_cast<ULONG>(blob.size()), 0) != 0)
        return false;
    std::vector<UCHAR> rs(signature.begin(), signature.end());
    return BCryptVerifySignature(key.Handle, nullptr, digest, sizeof digest, rs.data(),
                                 static_cast<ULONG>(rs.size()), 0) == 0;
}

} // namespace qh
