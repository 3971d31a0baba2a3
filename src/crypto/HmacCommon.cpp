#include "Hmac.h"

std::size_t HmacSize(HmacAlgorithm algorithm) {
    switch (algorithm) {
        case HmacAlgorithm::Md5: return 16;
        case HmacAlgorithm::Sha1: return 20;
        case HmacAlgorithm::Sha256: return 32;
        case HmacAlgorithm::Sha384: return 48;
        case HmacAlgorithm::Sha512: return 64;
    }
    return 0;
}

std::vector<std::uint8_t> HmacOf(HmacAlgorithm algorithm, const std::vector<std::uint8_t>& key,
                                 const std::vector<std::uint8_t>& data) {
    Hmac mac(algorithm, key.data(), key.size());
    mac.Update(data.data(), data.size());
    return mac.Finish();
}
