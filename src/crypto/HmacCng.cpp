#include <windows.h>
#include <bcrypt.h>

#include "Hmac.h"

namespace {
const wchar_t* AlgorithmId(HmacAlgorithm algorithm) {
    switch (algorithm) {
        case HmacAlgorithm::Md5: return BCRYPT_MD5_ALGORITHM;
        case HmacAlgorithm::Sha1: return BCRYPT_SHA1_ALGORITHM;
        case HmacAlgorithm::Sha256: return BCRYPT_SHA256_ALGORITHM;
        case HmacAlgorithm::Sha384: return BCRYPT_SHA384_ALGORITHM;
        case HmacAlgorithm::Sha512: return BCRYPT_SHA512_ALGORITHM;
    }
    return L"";
}
bool Succeeded(NTSTATUS status) { return status >= 0; }
}  // namespace

struct Hmac::Impl {
    BCRYPT_ALG_HANDLE provider = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    std::size_t size = 0;
    bool ok = false;
    ~Impl() {
        if (hash) BCryptDestroyHash(hash);
        if (provider) BCryptCloseAlgorithmProvider(provider, 0);
    }
};

Hmac::Hmac(HmacAlgorithm algorithm, const std::uint8_t* key, std::size_t keySize)
    : impl_(new Impl) {
    impl_->size = HmacSize(algorithm);
    if (!Succeeded(BCryptOpenAlgorithmProvider(&impl_->provider, AlgorithmId(algorithm), nullptr,
                                               BCRYPT_ALG_HANDLE_HMAC_FLAG))) {
        impl_->provider = nullptr;
        return;
    }
    static UCHAR noKey = 0;
    impl_->ok = Succeeded(BCryptCreateHash(impl_->provider, &impl_->hash, nullptr, 0,
                                           keySize ? const_cast<PUCHAR>(key) : &noKey,
                                           static_cast<ULONG>(keySize), 0));
    if (!impl_->ok) impl_->hash = nullptr;
}

Hmac::~Hmac() = default;

bool Hmac::Ok() const { return impl_->ok; }

void Hmac::Update(const std::uint8_t* data, std::size_t size) {
    // CNG takes at most a ULONG per call.
    constexpr std::size_t kMaxPiece = 1u << 30;
    while (impl_->ok && size) {
        const std::size_t piece = size < kMaxPiece ? size : kMaxPiece;
        impl_->ok = Succeeded(BCryptHashData(impl_->hash, const_cast<PUCHAR>(data),
                                             static_cast<ULONG>(piece), 0));
        data += piece;
        size -= piece;
    }
}

std::vector<std::uint8_t> Hmac::Finish() {
    std::vector<std::uint8_t> out(impl_->size);
    if (!impl_->ok ||
        !Succeeded(BCryptFinishHash(impl_->hash, out.data(), static_cast<ULONG>(out.size()), 0)))
        out.clear();
    impl_->ok = false;
    return out;
}
