#include "TsigKey.h"

#include <cctype>

#include "zone/TextCodecs.h"

namespace {
struct AlgorithmName {
    const char* name;
    HmacAlgorithm algorithm;
};
constexpr AlgorithmName kAlgorithms[] = {
    {"hmac-md5.sig-alg.reg.int", HmacAlgorithm::Md5}, {"hmac-md5", HmacAlgorithm::Md5},
    {"hmac-sha1", HmacAlgorithm::Sha1},               {"hmac-sha256", HmacAlgorithm::Sha256},
    {"hmac-sha384", HmacAlgorithm::Sha384},           {"hmac-sha512", HmacAlgorithm::Sha512},
};
// Longer than any key name can be.
constexpr std::size_t kMaxKeyName = 255;

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Trim(const std::string& text) {
    const char* space = " \t\r\n";
    const std::size_t first = text.find_first_not_of(space);
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(space) - first + 1);
}

// Strips one pair of surrounding quotes.
std::string Unquote(const std::string& text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        return text.substr(1, text.size() - 2);
    return text;
}

bool SetName(const std::string& text, TsigKey& key, std::string& error) {
    std::string name = text;
    if (name.size() > 1 && name.back() == '.') name.pop_back();
    if (name.empty() || name.size() > kMaxKeyName || name.find_first_of(" \t\"") != std::string::npos) {
        error = "the key name is missing or not a domain name";
        return false;
    }
    key.name = name;
    return true;
}

bool SetSecret(const std::string& text, TsigKey& key, std::string& error) {
    if (!DecodeBase64(text, key.secret) || key.secret.empty()) {
        error = "the key's secret is not base64 text";
        return false;
    }
    return true;
}

// The value that follows `word` up to the end of its statement (';' or the
// line's end), or empty when the word does not stand there.
std::string ValueAfter(const std::string& text, const std::string& word, std::size_t from = 0) {
    for (std::size_t at = text.find(word, from); at != std::string::npos;
         at = text.find(word, at + 1)) {
        const bool starts = at == 0 || std::isspace(static_cast<unsigned char>(text[at - 1])) ||
                            text[at - 1] == '{' || text[at - 1] == ';' || text[at - 1] == '-';
        const std::size_t end = at + word.size();
        if (!starts || end >= text.size()) continue;
        if (!std::isspace(static_cast<unsigned char>(text[end])) && text[end] != ':') continue;
        std::size_t stop = text.find_first_of(";\n{", end);
        if (stop == std::string::npos) stop = text.size();
        std::string value = Trim(text.substr(end, stop - end));
        if (!value.empty() && value[0] == ':') value = Trim(value.substr(1));
        return Unquote(value);
    }
    return "";
}

bool FillKey(const std::string& name, const std::string& algorithm, const std::string& secret,
             TsigKey& key, std::string& error) {
    if (!SetName(name, key, error)) return false;
    if (!algorithm.empty() && !ParseTsigAlgorithm(algorithm, key.algorithm, error)) return false;
    if (secret.empty()) {
        error = "the key has no secret";
        return false;
    }
    return SetSecret(secret, key, error);
}
}  // namespace

bool ParseTsigAlgorithm(const std::string& text, HmacAlgorithm& algorithm, std::string& error) {
    std::string name = Lower(text);
    if (name.size() > 1 && name.back() == '.') name.pop_back();
    for (const AlgorithmName& known : kAlgorithms) {
        if (name == known.name) {
            algorithm = known.algorithm;
            return true;
        }
    }
    if (name == "hmac-sha224")
        error = "hmac-sha224 is not supported (Windows' crypto library has no SHA-224); "
                "use hmac-sha256 or another";
    else
        error = "unknown TSIG algorithm '" + text.substr(0, 40) +
                "' (hmac-md5, hmac-sha1, hmac-sha256, hmac-sha384, hmac-sha512)";
    return false;
}

const char* TsigAlgorithmName(HmacAlgorithm algorithm) {
    switch (algorithm) {
        case HmacAlgorithm::Md5: return "hmac-md5.sig-alg.reg.int";
        case HmacAlgorithm::Sha1: return "hmac-sha1";
        case HmacAlgorithm::Sha256: return "hmac-sha256";
        case HmacAlgorithm::Sha384: return "hmac-sha384";
        case HmacAlgorithm::Sha512: return "hmac-sha512";
    }
    return "";
}

bool ParseKeyOption(const std::string& text, TsigKey& key, std::string& error) {
    key = TsigKey();
    const std::size_t last = text.rfind(':');
    if (last == std::string::npos) {
        error = "-y takes [ALGORITHM:]NAME:SECRET";
        return false;
    }
    const std::string head = text.substr(0, last);
    const std::size_t first = head.find(':');
    const std::string algorithm = first == std::string::npos ? "" : head.substr(0, first);
    const std::string name = first == std::string::npos ? head : head.substr(first + 1);
    return FillKey(name, algorithm, text.substr(last + 1), key, error);
}

bool ParseKeyFile(const std::string& text, TsigKey& key, std::string& error) {
    key = TsigKey();
    // tsig-keygen: key "NAME" { ... };
    const std::size_t statement = text.find("key ");
    const std::size_t brace = text.find('{');
    if (statement != std::string::npos && brace != std::string::npos && statement < brace &&
        text.find("key:") == std::string::npos) {
        const std::string name = Unquote(Trim(text.substr(statement + 4, brace - statement - 4)));
        return FillKey(name, ValueAfter(text, "algorithm", brace), ValueAfter(text, "secret", brace),
                       key, error);
    }
    // keymgr -t: a YAML list under key:
    const std::size_t list = text.find("key:");
    if (list != std::string::npos) {
        const std::string id = ValueAfter(text, "id", list);
        return FillKey(id, ValueAfter(text, "algorithm", list), ValueAfter(text, "secret", list),
                       key, error);
    }
    error = "no key found (expected key \"NAME\" { ... }; or a key: list)";
    return false;
}
