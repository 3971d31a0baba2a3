// The platform's HMAC against the published test vectors (RFC 2202 for
// MD5 and SHA-1, RFC 4231 for SHA-2), fed whole and in two pieces: every
// algorithm once, keys longer than the block for both block sizes (64 and
// 128 bytes).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Hmac.h"
#include "zone/TextCodecs.h"

namespace {
struct Vector {
    HmacAlgorithm algorithm;
    std::string key;   // "0b*20": 20 bytes of 0x0b; else the text itself
    std::string data;
    const char* mac;   // hexadecimal
};

std::vector<std::uint8_t> Bytes(const std::string& text) {
    if (text.size() > 3 && text[2] == '*') {
        const auto byte = static_cast<std::uint8_t>(std::stoi(text.substr(0, 2), nullptr, 16));
        return std::vector<std::uint8_t>(std::stoul(text.substr(3)), byte);
    }
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

const std::string kHi = "Hi There";
const std::string kJefe = "what do ya want for nothing?";
const std::string kLong = "Test Using Larger Than Block-Size Key - Hash Key First";

const Vector kVectors[] = {
    {HmacAlgorithm::Md5, "0b*16", kHi, "9294727A3638BB1C13F48EF8158BFC9D"},
    {HmacAlgorithm::Sha1, "0b*20", kHi, "B617318655057264E28BC0B6FB378C8EF146BE00"},
    {HmacAlgorithm::Sha1, "aa*80", kLong, "AA4AE5E15272D00E95705637CE8A3B55ED402112"},
    {HmacAlgorithm::Sha256, "0b*20", kHi,
     "B0344C61D8DB38535CA8AFCEAF0BF12B881DC200C9833DA726E9376C2E32CFF7"},
    {HmacAlgorithm::Sha384, "Jefe", kJefe,
     "AF45D2E376484031617F78D2B58A6B1B9C7EF464F5A01B47E42EC3736322445E"
     "8E2240CA5E69E2C78B3239ECFAB21649"},
    {HmacAlgorithm::Sha512, "0b*20", kHi,
     "87AA7CDEA5EF619D4FF0B4241A1D6CB02379F4E2CE4EC2787AD0B30545E17CDE"
     "DAA833B7D6B8A702038B274EAEA3F4E4BE9D914EEB61F1702E696C203A126854"},
    {HmacAlgorithm::Sha512, "aa*131", kLong,
     "80B24263C7C1A3EBB71493C1DD7BE8B49B46D1F41B4AEEC1121B013783F8F352"
     "6B56D037E05F2598BD0FD2215D6A1E5295E64F73F63F0AEC8B915A985D786598"},
};

std::string Hex(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    AppendHex(text, bytes.data(), bytes.size());
    return text;
}
}  // namespace

TEST(Hmac, PublishedVectors) {
    for (const Vector& v : kVectors) {
        SCOPED_TRACE(v.mac);
        const std::vector<std::uint8_t> key = Bytes(v.key), data = Bytes(v.data);
        EXPECT_EQ(Hex(HmacOf(v.algorithm, key, data)), v.mac);
        Hmac pieces(v.algorithm, key.data(), key.size());
        pieces.Update(data.data(), 3);
        pieces.Update(data.data() + 3, data.size() - 3);
        EXPECT_EQ(Hex(pieces.Finish()), v.mac);
        EXPECT_EQ(std::string(v.mac).size(), 2 * HmacSize(v.algorithm));
    }
}
