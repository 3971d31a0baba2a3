#pragma once
// Keyed hashes for TSIG, computed by the platform's own library: CNG
// (bcrypt.dll) on Windows, OpenSSL's libcrypto elsewhere. Nothing here is
// hand-written cryptography.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

enum class HmacAlgorithm { Md5, Sha1, Sha256, Sha384, Sha512 };

// The length of the algorithm's MAC in bytes.
std::size_t HmacSize(HmacAlgorithm algorithm);

// One MAC computed over data given in pieces. A platform failure (which no
// supported algorithm should meet) leaves Ok() false and Finish() empty.
class Hmac {
public:
    Hmac(HmacAlgorithm algorithm, const std::uint8_t* key, std::size_t keySize);
    ~Hmac();
    Hmac(const Hmac&) = delete;
    Hmac& operator=(const Hmac&) = delete;

    bool Ok() const;
    void Update(const std::uint8_t* data, std::size_t size);
    // The MAC of everything given since construction; the object is spent.
    std::vector<std::uint8_t> Finish();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

std::vector<std::uint8_t> HmacOf(HmacAlgorithm algorithm, const std::vector<std::uint8_t>& key,
                                 const std::vector<std::uint8_t>& data);
