#include "ReportAppend.h"

#include <cstring>

#include "Texts.h"

namespace {
// Id of the line that ends the report of a truncated or malformed message.
constexpr int kMalformedText = 580;
}  // namespace

void AppendDecimal(std::string& out, std::int64_t value) {
    char digits[24];
    char* end = digits + sizeof digits;
    char* p = end;
    // Work on the magnitude as unsigned so that the most negative value works.
    std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value)
                                        : static_cast<std::uint64_t>(value);
    do {
        *--p = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) *--p = '-';
    out.append(p, static_cast<std::size_t>(end - p));
}

void AppendFormatted(std::string& out, const char* format,
                     std::initializer_list<std::int64_t> values) {
    const std::int64_t* next = values.begin();
    while (*format) {
        const char* percent = std::strchr(format, '%');
        if (!percent) {
            out.append(format);
            return;
        }
        out.append(format, static_cast<std::size_t>(percent - format));
        if (percent[1] == 'd') {
            AppendDecimal(out, next != values.end() ? *next++ : 0);
            format = percent + 2;
        } else if (percent[1] == '%') {
            out += '%';
            format = percent + 2;
        } else {
            out += '%';
            format = percent + 1;
        }
    }
}

void AppendHexDump(std::string& out, const std::uint8_t* bytes, std::size_t count) {
    static const char kHex[] = "0123456789abcdef";
    out.reserve(out.size() + count * 3 + count / 16);
    for (std::size_t i = 0; i < count; ++i) {
        const char group[3] = {kHex[bytes[i] >> 4], kHex[bytes[i] & 0x0F], ' '};
        out.append(group, 3);
        if ((i + 1) % 16 == 0) out += '\n';
    }
}

void AppendRawText(std::string& out, const std::uint8_t* bytes, std::size_t count) {
    const std::uint8_t* end = bytes + count;
    while (bytes != end) {
        const void* zero = std::memchr(bytes, 0, static_cast<std::size_t>(end - bytes));
        const std::uint8_t* stop = zero ? static_cast<const std::uint8_t*>(zero) : end;
        out.append(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(stop - bytes));
        bytes = zero ? stop + 1 : end;
    }
}

void AppendMalformedLine(std::string& out) {
    if (!out.empty() && out.back() != '\n') out += '\n';
    out += TextOf(kMalformedText);
}
