#include "TsigWire.h"

#include <cctype>

bool NameToWire(const std::string& text, std::vector<std::uint8_t>& out) {
    out.clear();
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t dot = text.find('.', start);
        if (dot == std::string::npos) dot = text.size();
        const std::size_t length = dot - start;
        if (length == 0 || length > wire::kMaxLabelSize) return false;
        out.push_back(static_cast<std::uint8_t>(length));
        for (std::size_t i = start; i < dot; ++i)
            out.push_back(static_cast<std::uint8_t>(std::tolower(static_cast<unsigned char>(text[i]))));
        start = dot + 1;
    }
    out.push_back(0);
    return out.size() <= wire::kMaxNameSize;
}

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

void PutU48(std::vector<std::uint8_t>& out, std::uint64_t value) {
    for (int shift = 40; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::vector<std::uint8_t> AllVariables(const TsigKey& key, std::uint64_t timeSigned,
                                       std::uint16_t fudge, std::uint16_t error,
                                       const std::uint8_t* other, std::uint16_t otherSize) {
    std::vector<std::uint8_t> variables, algorithm;
    NameToWire(key.name, variables);
    PutU16(variables, wire::kClassAny);
    variables.insert(variables.end(), 4, 0);  // time to live
    NameToWire(TsigAlgorithmName(key.algorithm), algorithm);
    variables.insert(variables.end(), algorithm.begin(), algorithm.end());
    PutU48(variables, timeSigned);
    PutU16(variables, fudge);
    PutU16(variables, error);
    PutU16(variables, otherSize);
    variables.insert(variables.end(), other, other + otherSize);
    return variables;
}

std::vector<std::uint8_t> TimerVariables(std::uint64_t timeSigned, std::uint16_t fudge) {
    std::vector<std::uint8_t> variables;
    PutU48(variables, timeSigned);
    PutU16(variables, fudge);
    return variables;
}
