#include "KeyLoading.h"

#include <cstdint>
#include <vector>

#include "DecodeFile.h"

namespace {
// A key file is a few hundred bytes; anything far larger is not one.
constexpr std::size_t kMaxKeyFile = 64 * 1024;
}

bool LoadKey(const CliOptions& options, TsigKey& key, bool& found, std::string& error) {
    found = !options.keyText.empty() || !options.keyFile.empty();
    if (!options.keyText.empty()) {
        if (ParseKeyOption(options.keyText, key, error)) return true;
        error = "vek-cli: -y: " + error;
        return false;
    }
    if (options.keyFile.empty()) return true;
    std::vector<std::uint8_t> bytes;
    if (!ReadReplyFile(options.keyFile, bytes, error)) {
        error = "vek-cli: -k: cannot read the key file '" + options.keyFile + "'";
        return false;
    }
    if (bytes.size() > kMaxKeyFile) error = "the file is too large for a key file";
    else if (ParseKeyFile(std::string(bytes.begin(), bytes.end()), key, error)) return true;
    error = "vek-cli: -k: key file '" + options.keyFile + "': " + error;
    return false;
}
