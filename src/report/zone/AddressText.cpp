#include "AddressText.h"

#include <cstdio>

#include "ReplyReader.h"

void AppendIpv4(std::string& out, ReplyReader& data) {
    const std::uint8_t* a = data.Bytes(4);
    if (a)
        out += std::to_string(a[0]) + '.' + std::to_string(a[1]) + '.' + std::to_string(a[2]) +
               '.' + std::to_string(a[3]);
}

void AppendIpv6(std::string& out, ReplyReader& data) {
    const std::uint8_t* b = data.Bytes(16);
    if (!b) return;
    // The longest run of two or more zero groups is written as "::".
    int bestStart = -1, bestLength = 0;
    for (int i = 0; i < 8;) {
        int j = i;
        while (j < 8 && b[2 * j] == 0 && b[2 * j + 1] == 0) ++j;
        if (j - i > bestLength && j - i >= 2) bestStart = i, bestLength = j - i;
        i = j > i ? j : i + 1;
    }
    char group[8];
    for (int i = 0; i < 8; ++i) {
        if (i == bestStart) {
            out += "::";
            i += bestLength - 1;
            continue;
        }
        if (i > 0 && i != bestStart + bestLength) out += ':';
        std::snprintf(group, sizeof group, "%x", b[2 * i] << 8 | b[2 * i + 1]);
        out += group;
    }
}
