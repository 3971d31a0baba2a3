#include "ZoneFields.h"

#include <cctype>
#include <cstdio>

#include "PresentationText.h"
#include "ReplyReader.h"
#include "TextCodecs.h"

namespace {

std::size_t Left(const ReplyReader& data, std::size_t end) {
    return data.ok() && data.pos() <= end ? end - data.pos() : 0;
}

// "End" kinds need at least one byte: the zone-file forms have no text for
// none.
const std::uint8_t* RestOf(ReplyReader& data, std::size_t end, std::size_t& size) {
    size = Left(data, end);
    if (size == 0) {
        data.fail();
        return nullptr;
    }
    return data.bytes(size);
}

void AppendString(std::string& out, ReplyReader& data) {
    const std::uint8_t length = data.u8();
    const std::uint8_t* bytes = data.bytes(length);
    if (bytes) AppendQuoted(out, bytes, length);
}

void AppendIpv6(std::string& out, ReplyReader& data) {
    const std::uint8_t* b = data.bytes(16);
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

// The civil date of a day count since 1970 (proleptic Gregorian).
void AppendTime(std::string& out, std::uint32_t seconds) {
    const long long days = seconds / 86400;
    const long long z = days + 719468;
    const long long era = z / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const long long day = doy - (153 * mp + 2) / 5 + 1;
    const long long month = mp < 10 ? mp + 3 : mp - 9;
    const long long year = yoe + era * 400 + (month <= 2);
    const std::uint32_t rest = seconds % 86400;
    char text[32];
    std::snprintf(text, sizeof text, "%04lld%02lld%02lld%02u%02u%02u", year, month, day,
                  rest / 3600, rest / 60 % 60, rest % 60);
    out += text;
}

void AppendTypeBitmap(std::string& out, ReplyReader& data, std::size_t end) {
    int previousWindow = -1;
    bool first = true;
    while (data.ok() && data.pos() < end) {
        const std::uint8_t window = data.u8();
        const std::uint8_t length = data.u8();
        if (window <= previousWindow || length == 0 || length > 32) return data.fail();
        previousWindow = window;
        const std::uint8_t* bits = data.bytes(length);
        for (int i = 0; bits && i < length * 8; ++i) {
            if (!(bits[i / 8] & (0x80 >> (i % 8)))) continue;
            if (!first) out += ' ';
            first = false;
            AppendTypeName(out, static_cast<std::uint16_t>(window << 8 | i));
        }
    }
}

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

void AppendLocation(std::string& out, ReplyReader& data) {
    const std::uint8_t version = data.u8();
    const std::uint8_t size = data.u8(), horizontal = data.u8(), vertical = data.u8();
    const std::uint32_t latitude = data.u32(), longitude = data.u32(), altitude = data.u32();
    if (!data.ok() || version != 0) return data.fail();
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
        data.fail();
}

bool IsPlainAlpn(const std::uint8_t* bytes, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i)
        if (bytes[i] <= 0x20 || bytes[i] >= 0x7F || bytes[i] == ',' || bytes[i] == '\\' ||
            bytes[i] == '"')
            return false;
    return size > 0;
}

void AppendAddressList(std::string& out, ReplyReader& value, std::size_t end, bool v6) {
    for (bool first = true; value.ok() && value.pos() < end; first = false) {
        if (!first) out += ',';
        if (v6) {
            AppendIpv6(out, value);
        } else {
            const std::uint8_t* a = value.bytes(4);
            if (a) out += std::to_string(a[0]) + '.' + std::to_string(a[1]) + '.' +
                          std::to_string(a[2]) + '.' + std::to_string(a[3]);
        }
    }
}

const char* const kSvcKeys[] = {"mandatory", "alpn", "no-default-alpn", "port",
                                "ipv4hint",  "ech",  "ipv6hint"};

void AppendSvcKeyName(std::string& out, std::uint16_t key) {
    if (key < sizeof kSvcKeys / sizeof kSvcKeys[0]) out += kSvcKeys[key];
    else out += "key" + std::to_string(key);
}

// One parameter's value, read up to `end`; a value that has no plain form
// here fails the reader (and the record goes generic).
void AppendSvcValue(std::string& out, ReplyReader& value, std::size_t end, std::uint16_t key) {
    const std::size_t size = end - value.pos();
    switch (key) {
        case 0:
            for (bool first = true; value.ok() && value.pos() < end; first = false) {
                if (!first) out += ',';
                AppendSvcKeyName(out, value.u16());
            }
            return;
        case 1:
            for (bool first = true; value.ok() && value.pos() < end; first = false) {
                const std::uint8_t length = value.u8();
                const std::uint8_t* id = value.bytes(length);
                if (!id || !IsPlainAlpn(id, length)) return value.fail();
                if (!first) out += ',';
                out.append(reinterpret_cast<const char*>(id), length);
            }
            return;
        case 2: if (size != 0) value.fail(); return;
        case 3: out += std::to_string(value.u16()); return;
        case 4: return AppendAddressList(out, value, end, false);
        case 6: return AppendAddressList(out, value, end, true);
        case 5: {
            const std::uint8_t* bytes = value.bytes(size);
            if (bytes) AppendBase64(out, bytes, size);
            return;
        }
        default: {
            const std::uint8_t* bytes = value.bytes(size);
            if (bytes) AppendQuoted(out, bytes, size);
            return;
        }
    }
}

void AppendSvcParams(std::string& out, ReplyReader& data, std::size_t end) {
    int previousKey = -1;
    while (data.ok() && data.pos() < end) {
        const std::uint16_t key = data.u16();
        const std::uint16_t length = data.u16();
        if (key <= previousKey || length > Left(data, end)) return data.fail();
        previousKey = key;
        out += ' ';
        AppendSvcKeyName(out, key);
        if (key == 2 && length == 0) continue;
        if (length == 0 && key != 5 && key < 7) return data.fail();
        out += '=';
        const std::size_t valueEnd = data.pos() + length;
        AppendSvcValue(out, data, valueEnd, key);
        if (data.pos() != valueEnd) data.fail();
    }
}
}  // namespace

void AppendField(std::string& out, ReplyReader& data, std::size_t end, FieldKind kind) {
    std::size_t size = 0;
    const std::uint8_t* bytes = nullptr;
    switch (kind) {
        case FieldKind::Name: AppendZoneName(out, data, data.pos()); return;
        case FieldKind::U8: out += std::to_string(data.u8()); return;
        case FieldKind::U16: out += std::to_string(data.u16()); return;
        case FieldKind::U32: out += std::to_string(data.u32()); return;
        case FieldKind::Ipv4:
            if ((bytes = data.bytes(4)))
                out += std::to_string(bytes[0]) + '.' + std::to_string(bytes[1]) + '.' +
                       std::to_string(bytes[2]) + '.' + std::to_string(bytes[3]);
            return;
        case FieldKind::Ipv6: return AppendIpv6(out, data);
        case FieldKind::String: return AppendString(out, data);
        case FieldKind::Strings:
            if (Left(data, end) == 0) return data.fail();
            for (bool first = true; data.ok() && data.pos() < end; first = false) {
                if (!first) out += ' ';
                AppendString(out, data);
            }
            return;
        case FieldKind::TextToEnd:
            size = Left(data, end);
            if ((bytes = data.bytes(size))) AppendQuoted(out, bytes, size);
            return;
        case FieldKind::Tag:
            size = data.u8();
            bytes = data.bytes(size);
            for (std::size_t i = 0; bytes && i < size; ++i)
                if (!std::isalnum(bytes[i])) return data.fail();
            if (bytes && size) out.append(reinterpret_cast<const char*>(bytes), size);
            else data.fail();
            return;
        case FieldKind::Base64ToEnd:
            if ((bytes = RestOf(data, end, size))) AppendBase64(out, bytes, size);
            return;
        case FieldKind::HexToEnd:
            if ((bytes = RestOf(data, end, size))) AppendHex(out, bytes, size);
            return;
        case FieldKind::Salt:
            size = data.u8();
            if ((bytes = data.bytes(size))) {
                if (size) AppendHex(out, bytes, size);
                else out += '-';
            }
            return;
        case FieldKind::Base32Hash:
            size = data.u8();
            if ((bytes = data.bytes(size)) && size) AppendBase32Hex(out, bytes, size);
            else data.fail();
            return;
        case FieldKind::TypeBitmap: return AppendTypeBitmap(out, data, end);
        case FieldKind::TypeCovered: return AppendTypeName(out, data.u16());
        case FieldKind::Time: return AppendTime(out, data.u32());
        case FieldKind::SvcParams:
            if (!out.empty() && out.back() == ' ') out.pop_back();
            return AppendSvcParams(out, data, end);
        case FieldKind::Location: return AppendLocation(out, data);
    }
}
