// TSIG keys from -y and from the two key-file formats; bad ones are refused
// with a reason that never holds the secret.
#include <gtest/gtest.h>

#include <string>

#include "TsigKey.h"

namespace {
const std::string kSecret = "c2VjcmV0LXNlY3JldC1zZWNyZXQ=";  // 20 bytes

struct KeyCase {
    bool file;
    std::string text;
    const char* name;  // nullptr: refused
    HmacAlgorithm algorithm;
    const char* reason;  // a piece of the refusal
};

const KeyCase kCases[] = {
    {false, "xfr-key:" + kSecret, "xfr-key", HmacAlgorithm::Sha256, ""},
    {false, "HMAC-SHA512:xfr.key.:" + kSecret, "xfr.key", HmacAlgorithm::Sha512, ""},
    {false, "hmac-md5:k:" + kSecret, "k", HmacAlgorithm::Md5, ""},
    {true, "key \"bind-key\" {\n\talgorithm hmac-sha384;\n\tsecret \"" + kSecret + "\";\n};\n",
     "bind-key", HmacAlgorithm::Sha384, ""},
    {true, "# hmac-sha1:knot-key:" + kSecret + "\nkey:\n  - id: knot-key\n    algorithm: hmac-sha1\n"
     "    secret: " + kSecret + "\n", "knot-key", HmacAlgorithm::Sha1, ""},
    {false, "hmac-sha224:k:" + kSecret, nullptr, HmacAlgorithm::Sha256, "hmac-sha224 is not supported"},
    {false, "hmac-whirl:k:" + kSecret, nullptr, HmacAlgorithm::Sha256, "unknown TSIG algorithm"},
    {false, "k:" + kSecret.substr(1), nullptr, HmacAlgorithm::Sha256, "not base64"},
    {false, kSecret, nullptr, HmacAlgorithm::Sha256, "NAME:SECRET"},
    {false, ":" + kSecret, nullptr, HmacAlgorithm::Sha256, "key name"},
    {true, "key \"k\" {\n\talgorithm hmac-sha256;\n};\n", nullptr, HmacAlgorithm::Sha256, "no secret"},
    {true, "key \"k\" { secret \"" + kSecret + "!\"; };", nullptr, HmacAlgorithm::Sha256, "not base64"},
    {true, "", nullptr, HmacAlgorithm::Sha256, "no key found"},
};
}  // namespace

TEST(TsigKey, OptionsAndFiles) {
    for (const KeyCase& c : kCases) {
        SCOPED_TRACE(c.text);
        TsigKey key;
        std::string error;
        const bool taken = c.file ? ParseKeyFile(c.text, key, error) : ParseKeyOption(c.text, key, error);
        ASSERT_EQ(taken, c.name != nullptr) << error;
        if (!taken) {
            EXPECT_NE(error.find(c.reason), std::string::npos) << error;
            EXPECT_EQ(error.find(kSecret.substr(0, 12)), std::string::npos) << error;
            continue;
        }
        EXPECT_EQ(key.name, c.name);
        EXPECT_EQ(key.algorithm, c.algorithm);
        EXPECT_EQ(key.secret.size(), 20u);
    }
}
