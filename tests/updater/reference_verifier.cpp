#include "reference_verifier.h"

#ifdef _WIN32

#include "updater/crypto_win.h"

namespace qh::test {

bool VerifyForTest(std::string_view publicKey, std::string_view message,
                   std::string_view signature) {
    return VerifyEcdsaP256(publicKey, message, signature);
}

} // namespace qh::test

#else

#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/ecdsa.h>
#include <openssl/evp.h>
#include <openssl/param_build.h>

#include <memory>
#include <string>

namespace qh::test {

namespace {

template <typename T, void (*Free)(T*)>
struct TFree {
    void operator()(T* p) const { Free(p); }
};
template <typename T, void (*Free)(T*)>
using TOwned = std::unique_ptr<T, TFree<T, Free>>;

const unsigned char* Bytes(std::string_view text) {
    return reinterpret_cast<const unsigned char*>(text.data());
}

} // namespace

bool VerifyForTest(std::string_view publicKey, std::string_view message,
                   std::string_view signature) {
    if (publicKey.size() != 64 || signature.size() != 64) return false;
    const std::string point = "\x04" + std::string(publicKey);
    char group[] = "prime256v1";
    OSSL_PARAM params[] = {
        OSSL_PARAM_construct_utf8_string(OSSL_PKEY_PARAM_GROUP_NAME, group, 0),
        OSSL_PARAM_construct_octet_string(OSSL_PKEY_PARAM_PUB_KEY,
                                          const_cast<char*>(point.data()), point.size()),
        OSSL_PARAM_construct_end()};
    TOwned<EVP_PKEY_CTX, EVP_PKEY_CTX_free> context(EVP_PKEY_CTX_new_from_name(nullptr, "EC", nullptr));
    EVP_PKEY* made = nullptr;
    if (!context || EVP_PKEY_fromdata_init(context.get()) != 1 ||
        EVP_PKEY_fromdata(context.get(), &made, EVP_PKEY_PUBLIC_KEY, params) != 1)
        return false;
    TOwned<EVP_PKEY, EVP_PKEY_free> key(made);

    // The library takes the signature as DER.
    TOwned<ECDSA_SIG, ECDSA_SIG_free> parts(ECDSA_SIG_new());
    BIGNUM* r = BN_bin2bn(Bytes(signature), 32, nullptr);
    BIGNUM* s = BN_bin2bn(Bytes(signature) + 32, 32, nullptr);
    if (!parts || !r || !s || ECDSA_SIG_set0(parts.get(), r, s) != 1) {
        BN_free(r);
        BN_free(s);
        return false;
    }
    unsigned char* der = nullptr;
    const int derSize = i2d_ECDSA_SIG(parts.get(), &der);
    if (derSize <= 0) return false;
    std::unique_ptr<unsigned char, void (*)(unsigned char*)> derOwner(
        der, [](unsigned char* p) { OPENSSL_free(p); });

    TOwned<EVP_MD_CTX, EVP_MD_CTX_free> digest(EVP_MD_CTX_new());
    return digest &&
           EVP_DigestVerifyInit(digest.get(), nullptr, EVP_sha256(), nullptr, key.get()) == 1 &&
           EVP_DigestVerify(digest.get(), der, static_cast<size_t>(derSize), Bytes(message),
                            message.size()) == 1;
}

} // namespace qh::test

#endif
