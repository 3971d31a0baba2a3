#include "ZoneFields.h"

#include <cctype>
#include <cstdio>

#include "AddressText.h"
#include "LocationText.h"
#include "PresentationText.h"
#include "ReplyReader.h"
#include "SvcParamsText.h"
#include "TextCodecs.h"

namespace {
std::size_t Left(const ReplyReader& data, std::size_t end) {
    return data.Ok() && data.Pos() <= end ? end - data.Pos() : 0;
}

// "End" kinds need at least one byte: the zone-file forms have no text for
// none.
const std::uint8_t* RestOf(ReplyReader& data, std::size_t end, std::size_t& size) {
    size = Left(data, end);
    if (size == 0) {
        data.Fail();
        return nullptr;
    }
    return data.Bytes(size);
}

void AppendString(std::string& out, ReplyReader& data) {
    const std::uint8_t length = data.U8();
    const std::uint8_t* bytes = data.Bytes(length);
    if (bytes) AppendQuoted(out, bytes, length);
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
    while (data.Ok() && data.Pos() < end) {
        const std::uint8_t window = data.U8();
        const std::uint8_t length = data.U8();
        if (window <= previousWindow || length == 0 || length > 32) return data.Fail();
        previousWindow = window;
        const std::uint8_t* bits = data.Bytes(length);
        for (int i = 0; bits && i < length * 8; ++i) {
            if (!(bits[i / 8] & (0x80 >> (i % 8)))) continue;
            if (!first) out += ' ';
            first = false;
            AppendTypeName(out, static_cast<std::uint16_t>(window << 8 | i));
        }
    }
}

}  // namespace

void AppendField(std::string& out, ReplyReader& data, std::size_t end, FieldKind kind) {
    std::size_t size = 0;
    const std::uint8_t* bytes = nullptr;
    switch (kind) {
        case FieldKind::Name: AppendZoneName(out, data, data.Pos()); return;
        case FieldKind::U8: out += std::to_string(data.U8()); return;
        case FieldKind::U16: out += std::to_string(data.U16()); return;
        case FieldKind::U32: out += std::to_string(data.U32()); return;
        case FieldKind::Ipv4: return AppendIpv4(out, data);
        case FieldKind::Ipv6: return AppendIpv6(out, data);
        case FieldKind::String: return AppendString(out, data);
        case FieldKind::Strings:
            if (Left(data, end) == 0) return data.Fail();
            for (bool first = true; data.Ok() && data.Pos() < end; first = false) {
                if (!first) out += ' ';
                AppendString(out, data);
            }
            return;
        case FieldKind::TextToEnd:
            size = Left(data, end);
            if ((bytes = data.Bytes(size))) AppendQuoted(out, bytes, size);
            return;
        case FieldKind::Tag:
            size = data.U8();
            bytes = data.Bytes(size);
            for (std::size_t i = 0; bytes && i < size; ++i)
                if (!std::isalnum(bytes[i])) return data.Fail();
            if (bytes && size) out.append(reinterpret_cast<const char*>(bytes), size);
            else data.Fail();
            return;
        case FieldKind::Base64ToEnd:
            if ((bytes = RestOf(data, end, size))) AppendBase64(out, bytes, size);
            return;
        case FieldKind::HexToEnd:
            if ((bytes = RestOf(data, end, size))) AppendHex(out, bytes, size);
            return;
        case FieldKind::Salt:
            size = data.U8();
            if ((bytes = data.Bytes(size))) {
                if (size) AppendHex(out, bytes, size);
                else out += '-';
            }
            return;
        case FieldKind::Base32Hash:
            size = data.U8();
            if ((bytes = data.Bytes(size)) && size) AppendBase32Hex(out, bytes, size);
            else data.Fail();
            return;
        case FieldKind::TypeBitmap: return AppendTypeBitmap(out, data, end);
        case FieldKind::TypeCovered: return AppendTypeName(out, data.U16());
        case FieldKind::Time: return AppendTime(out, data.U32());
        case FieldKind::SvcParams:
            if (!out.empty() && out.back() == ' ') out.pop_back();
            return AppendSvcParams(out, data, end);
        case FieldKind::Location: return AppendLocation(out, data);
    }
}
