#include "LocationText.h"

#include <cstdio>

#include "ReplyReader.h"

namespace {
// "12 34 56.789 N": thousandths of an arc second around 2^31.
void AppendAngle(std::string& out, std::uint32_t raw, char positive, char negative) {
    const long long offset = static_cast<long long>(raw) - (1LL << 31);
    const unsigned long long v = static_cast<unsigned long long>(offset < 0 ? -offset : offset);
    char text[48];
    std::snprintf(text, sizeof text, "%llu %llu %llu.%03llu %c", v / 3600000, v / 60000 % 60,
                  v / 1000 % 60, v % 1000, offset < 0 ? negative : positive);
    out += text;
}

// A size or precision byte: mantissa and power of ten, in centimetres.
bool AppendPrecision(std::string& out, std::uint8_t raw) {
    const int mantissa = raw >> 4, exponent = raw & 15;
    if (mantissa > 9 || exponent > 9) return false;
    unsigned long long cm = static_cast<unsigned long long>(mantissa);
    for (int i = 0; i < exponent; ++i) cm *= 10;
    char text[32];
    std::snprintf(text, sizeof text, " %llu.%02llum", cm / 100, cm % 100);
    out += text;
    return true;
}

}  // namespace

void AppendLocation(std::string& out, ReplyReader& data) {
    const std::uint8_t version = data.U8();
    const std::uint8_t size = data.U8(), horizontal = data.U8(), vertical = data.U8();
    const std::uint32_t latitude = data.U32(), longitude = data.U32(), altitude = data.U32();
    if (!data.Ok() || version != 0) return data.Fail();
    AppendAngle(out, latitude, 'N', 'S');
    out += ' ';
    AppendAngle(out, longitude, 'E', 'W');
    const long long cm = static_cast<long long>(altitude) - 10000000;
    const unsigned long long magnitude = static_cast<unsigned long long>(cm < 0 ? -cm : cm);
    char text[40];
    std::snprintf(text, sizeof text, " %s%llu.%02llum", cm < 0 ? "-" : "", magnitude / 100,
                  magnitude % 100);
    out += text;
    if (!AppendPrecision(out, size) || !AppendPrecision(out, horizontal) ||
        !AppendPrecision(out, vertical))
        data.Fail();
}
