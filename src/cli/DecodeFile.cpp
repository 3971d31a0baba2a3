#include "DecodeFile.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

namespace {
constexpr std::size_t kChunk = 1 << 16;
}  // namespace

bool ReadReplyFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error) {
    bytes.clear();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = "vek-cli: cannot open '" + path + "': " + std::strerror(errno);
        return false;
    }
    // Read in chunks until the end, so that pipes and special files work too;
    // the size cap bounds the loop.
    bool tooLarge = false;
    std::size_t got = 0;
    do {
        const std::size_t at = bytes.size();
        bytes.resize(at + kChunk);
        got = std::fread(bytes.data() + at, 1, kChunk, file);
        bytes.resize(at + got);
        tooLarge = bytes.size() > static_cast<std::size_t>(INT_MAX);
    } while (got == kChunk && !tooLarge);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) error = "vek-cli: cannot read '" + path + "'";
    if (tooLarge) error = "vek-cli: '" + path + "' is too large to decode";
    return !failed && !tooLarge;
}
