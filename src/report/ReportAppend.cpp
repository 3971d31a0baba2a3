#include "ReportAppend.h"

#include <cstring>

#include "Texts.h"

namespace {
// Id of the line that ends the report of a truncated or malformed message.
constexpr int kMalformedText = 580;
}  // namespace

char* FormatDecimal(char* end, std::int64_t value) {
    // Two digits per step, from a table of "00" to "99".
    static const char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    char* p = end;
    // Work on the magnitude as unsigned so that the most negative value works.
    std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value)
                                        : static_cast<std::uint64_t>(value);
    while (magnitude >= 100) {
        const char* pair = kPairs + magnitude % 100 * 2;
        magnitude /= 100;
        *--p = pair[1];
        *--p = pair[0];
    }
    if (magnitude >= 10) {
        const char* pair = kPairs + magnitude * 2;
        *--p = pair[1];
        *--p = pair[0];
    } else {
        *--p = static_cast<char>('0' + magnitude);
    }
    if (value < 0) *--p = '-';
    return p;
}

void AppendDecimal(std::string& out, std::int64_t value) {
    char digits[kDecimalDigits];
    char* const end = digits + sizeof digits;
    const char* const first = FormatDecimal(end, value);
    out.append(first, static_cast<std::size_t>(end - first));
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
