#include "TsigWire.h"

#include <cctype>

bool NameToWire(const std::string& text, std::vector<std::uint8_t>& wire) {
    wire.clear();
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t dot = text.find('.', start);
        if (dot == std::string::npos) dot = text.size();
        const std::size_t length = dot - start;
        if (length == 0 || length > 63) return false;
        wire.push_back(static_cast<std::uint8_t>(length));
        for (std::size_t i = start; i < dot; ++i)
            wire.push_back(static_cast<std::uint8_t>(std::tolower(static_cast<unsigned char>(text[i]))));
        start = dot + 1;
    }
    wire.push_back(0);
    return wire.size() <= 255;
}

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

void PutU48(std::vector<std::uint8_t>& out, std::uint64_t value) {
    for (int shift = 40; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}
