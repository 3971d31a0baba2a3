#include "TextCodecs.h"

namespace {
constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr char kBase32Hex[] = "0123456789ABCDEFGHIJKLMNOPQRSTUV";
constexpr char kHex[] = "0123456789ABCDEF";

int Base64Value(char c) {
    for (int i = 0; i < 64; ++i)
        if (kBase64[i] == c) return i;
    return -1;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
}  // namespace

void AppendBase64(std::string& out, const std::uint8_t* bytes, std::size_t size) {
    for (std::size_t i = 0; i < size; i += 3) {
        const std::size_t left = size - i;
        const std::uint32_t group = std::uint32_t(bytes[i]) << 16 |
                                    (left > 1 ? std::uint32_t(bytes[i + 1]) << 8 : 0) |
                                    (left > 2 ? bytes[i + 2] : 0);
        out += kBase64[group >> 18 & 63];
        out += kBase64[group >> 12 & 63];
        out += left > 1 ? kBase64[group >> 6 & 63] : '=';
        out += left > 2 ? kBase64[group & 63] : '=';
    }
}

void AppendBase32Hex(std::string& out, const std::uint8_t* bytes, std::size_t size) {
    std::uint32_t buffer = 0;
    int bits = 0;
    for (std::size_t i = 0; i < size; ++i) {
        buffer = (buffer << 8 | bytes[i]) & 0xFFFF;
        bits += 8;
        while (bits >= 5) {
            bits -= 5;
            out += kBase32Hex[buffer >> bits & 31];
        }
    }
    if (bits > 0) out += kBase32Hex[buffer << (5 - bits) & 31];
}

void AppendHex(std::string& out, const std::uint8_t* bytes, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        out += kHex[bytes[i] >> 4];
        out += kHex[bytes[i] & 15];
    }
}

bool DecodeBase64(const std::string& text, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    int values[4];
    int count = 0;
    int padding = 0;
    for (char c : text) {
        if (IsSpace(c)) continue;
        if (c == '=') {
            if (count < 2) return false;
            values[count++] = 0;
            ++padding;
        } else {
            const int value = Base64Value(c);
            if (value < 0 || padding) return false;
            values[count++] = value;
        }
        if (count < 4) continue;
        const std::uint32_t group = std::uint32_t(values[0]) << 18 | values[1] << 12 |
                                    values[2] << 6 | values[3];
        bytes.push_back(static_cast<std::uint8_t>(group >> 16));
        if (padding < 2) bytes.push_back(static_cast<std::uint8_t>(group >> 8));
        if (padding < 1) bytes.push_back(static_cast<std::uint8_t>(group));
        count = 0;
        if (padding) padding = 3;  // nothing may follow a padded group
    }
    return count == 0;
}
