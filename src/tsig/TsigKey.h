#pragma once
// A TSIG key as vek-cli takes it: from -y [ALGORITHM:]NAME:SECRET or from a
// key file. Errors name what is wrong and never quote the secret.
#include <cstdint>
#include <string>
#include <vector>

#include "Hmac.h"

struct TsigKey {
    std::string name;  // as given, without a final dot
    HmacAlgorithm algorithm = HmacAlgorithm::Sha256;
    std::vector<std::uint8_t> secret;
};

// The algorithm named "hmac-sha256" (any case, a final dot allowed; the
// old "hmac-md5.sig-alg.reg.int" too); false with a reason when unknown or
// unsupported.
bool ParseTsigAlgorithm(const std::string& text, HmacAlgorithm& algorithm, std::string& error);
// The algorithm's name as a TSIG record carries it.
const char* TsigAlgorithmName(HmacAlgorithm algorithm);

// -y [ALGORITHM:]NAME:SECRET
bool ParseKeyOption(const std::string& text, TsigKey& key, std::string& error);

// The text of a key file: a key statement as tsig-keygen writes it
// (key "NAME" { algorithm ALG; secret "BASE64"; };) or a key list as
// keymgr -t writes it (key: with id, algorithm and secret).
bool ParseKeyFile(const std::string& text, TsigKey& key, std::string& error);
