#include <openssl/core_names.h>
#include <openssl/evp.h>

#include "Hmac.h"

namespace {
const char* DigestName(HmacAlgorithm algorithm) {
    switch (algorithm) {
        case HmacAlgorithm::Md5: return "MD5";
        case HmacAlgorithm::Sha1: return "SHA1";
        case HmacAlgorithm::Sha256: return "SHA256";
        case HmacAlgorithm::Sha384: return "SHA384";
        case HmacAlgorithm::Sha512: return "SHA512";
    }
    return "";
}
}  // namespace

struct Hmac::Impl {
    EVP_MAC* mac = nullptr;
    EVP_MAC_CTX* context = nullptr;
    bool ok = false;
    ~Impl() {
        EVP_MAC_CTX_free(context);
        EVP_MAC_free(mac);
    }
};

Hmac::Hmac(HmacAlgorithm algorithm, const std::uint8_t* key, std::size_t keySize)
    : impl_(new Impl) {
    impl_->mac = EVP_MAC_fetch(nullptr, "HMAC", nullptr);
    if (!impl_->mac) return;
    impl_->context = EVP_MAC_CTX_new(impl_->mac);
    if (!impl_->context) return;
    OSSL_PARAM params[] = {
        OSSL_PARAM_construct_utf8_string(OSSL_MAC_PARAM_DIGEST,
                                         const_cast<char*>(DigestName(algorithm)), 0),
        OSSL_PARAM_construct_end()};
    static const std::uint8_t kNoKey = 0;
    impl_->ok = EVP_MAC_init(impl_->context, keySize ? key : &kNoKey, keySize, params) == 1;
}

Hmac::~Hmac() = default;

bool Hmac::Ok() const { return impl_->ok; }

void Hmac::Update(const std::uint8_t* data, std::size_t size) {
    if (impl_->ok && size) impl_->ok = EVP_MAC_update(impl_->context, data, size) == 1;
}

std::vector<std::uint8_t> Hmac::Finish() {
    std::vector<std::uint8_t> out(EVP_MAX_MD_SIZE);
    std::size_t size = 0;
    if (!impl_->ok || EVP_MAC_final(impl_->context, out.data(), &size, out.size()) != 1) size = 0;
    impl_->ok = false;
    out.resize(size);
    return out;
}
