#include "ReportAppend.h"

#include <cstring>

#include "Report.h"
#include "ReportBatch.h"
#include "Texts.h"

namespace {
// The magnitude of value as unsigned, so that the most negative value works.
std::uint64_t Magnitude(std::int64_t value) {
    return value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
}

// The number of decimal digits of magnitude.
std::size_t DigitCount(std::uint64_t magnitude) {
    std::size_t count = 1;
    for (std::uint64_t power = 10; magnitude >= power && count < kDecimalDigits; power *= 10)
        ++count;
    return count;
}

}  // namespace

// Two digits per step from the end, from a table of "00" to "99", straight
// into place: the length is counted first.
char* WriteDecimal(char* at, std::int64_t value) {
    static const char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    std::uint64_t magnitude = Magnitude(value);
    if (value < 0) *at++ = '-';
    char* const end = at + DigitCount(magnitude);
    char* p = end;
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
    return end;
}

namespace {
// "0." to "255.", each in four bytes, with the length of its text.
struct OctetTexts {
    char text[256][4];
    std::uint8_t length[256];
    constexpr OctetTexts() : text(), length() {
        for (int i = 0; i < 256; ++i) {
            int n = 0;
            if (i >= 100) text[i][n++] = static_cast<char>('0' + i / 100);
            if (i >= 10) text[i][n++] = static_cast<char>('0' + i / 10 % 10);
            text[i][n++] = static_cast<char>('0' + i % 10);
            text[i][n++] = '.';
            length[i] = static_cast<std::uint8_t>(n);
        }
    }
};
constexpr OctetTexts kOctets;
}  // namespace

char* WriteOctetAndDot(char* at, std::uint8_t octet) {
    std::memcpy(at, kOctets.text[octet], 4);
    return at + kOctets.length[octet];
}

void AppendFormatted(ReportBatch& out, const char* format,
                     std::initializer_list<std::int64_t> values) {
    const std::int64_t* next = values.begin();
    while (*format) {
        const char* percent = std::strchr(format, '%');
        if (!percent) return out.PutText(format);
        out.Put(format, static_cast<std::size_t>(percent - format));
        if (percent[1] == 'd') {
            char* at = out.Room(kDecimalDigits);
            out.Commit(WriteDecimal(at, next != values.end() ? *next++ : 0));
            format = percent + 2;
        } else {
            out.Put('%');
            format = percent + (percent[1] == '%' ? 2 : 1);
        }
    }
}

void AppendFormatted(std::string& out, const char* format,
                     std::initializer_list<std::int64_t> values) {
    ReportBatch batch(out);
    AppendFormatted(batch, format, values);
}

void AppendHexDump(ReportBatch& out, const std::uint8_t* bytes, std::size_t count) {
    static const char kHex[] = "0123456789abcdef";
    for (std::size_t i = 0; i < count; ++i) {
        char* at = out.Room(4);
        *at++ = kHex[bytes[i] >> 4];
        *at++ = kHex[bytes[i] & 0x0F];
        *at++ = ' ';
        if ((i + 1) % 16 == 0) *at++ = '\n';
        out.Commit(at);
    }
}

void AppendHexDump(std::string& out, const std::uint8_t* bytes, std::size_t count) {
    ReportBatch batch(out);
    AppendHexDump(batch, bytes, count);
}

void AppendMalformedLine(ReportBatch& out) {
    if (out.size() != 0 && out.Last() != '\n') out.Put('\n');
    out.PutText(TextOf(kMalformedMessage));
}
