#pragma once
// The layout of a DNS message as it travels over TCP: a two-byte big-endian
// length prefix, the 12-byte header, then the sections. Positions used
// across the program count from the prefix, so every header field stands 2
// bytes later than in the bare message.
#include <cstddef>
#include <cstdint>

namespace wire {

constexpr std::size_t kPrefixSize = 2;
constexpr std::size_t kHeaderSize = 12;
// The first byte behind prefix and header: the first question.
constexpr std::size_t kHeaderEnd = kPrefixSize + kHeaderSize;

// Header fields, as positions from the prefix.
constexpr std::size_t kIdAt = 2;
constexpr std::size_t kFlagsAt = 4;       // QR, OPCODE, AA, TC, RD
constexpr std::size_t kRcodeFlagsAt = 5;  // RA, Z, RCODE
constexpr std::size_t kQuestionCountAt = 6;
constexpr std::size_t kAnswerCountAt = 8;
constexpr std::size_t kAuthorityCountAt = 10;
constexpr std::size_t kAdditionalCountAt = 12;

// Bits of the two flag bytes.
constexpr std::uint8_t kFlagAnswer = 0x80;
constexpr std::uint8_t kFlagAuthoritative = 0x04;
constexpr std::uint8_t kFlagTruncated = 0x02;
constexpr std::uint8_t kFlagRecursionDesired = 0x01;
constexpr std::uint8_t kFlagRecursionAvailable = 0x80;
constexpr std::uint8_t kRcodeMask = 0x0F;
constexpr unsigned kOpcodeShift = 3;
constexpr std::uint8_t kOpcodeMask = 0x0F;
constexpr std::uint8_t kOpcodeInverse = 1;

// Behind a record's owner name: type, class, time to live, RDLENGTH, data.
constexpr std::size_t kRecordLengthAt = 8;  // RDLENGTH, from the type field
constexpr std::size_t kRecordDataAt = 10;   // RDATA, from the type field
constexpr std::size_t kQuestionFixed = 4;   // type and class of a question

// A length byte with either top bit set starts a compression pointer (the
// reserved label kinds 01 and 10 are taken for pointers too).
constexpr std::uint8_t kPointerBits = 0xC0;
constexpr std::size_t kPointerSize = 2;
// The most bytes of an encoded name, and of one of its labels.
constexpr std::size_t kMaxNameSize = 255;
constexpr std::size_t kMaxLabelSize = 63;

// The position a pointer's two bytes lead to, counted from the prefix.
inline std::size_t PointerTarget(std::uint8_t first, std::uint8_t second) {
    return (std::size_t(first & ~kPointerBits) << 8 | second) + kPrefixSize;
}

constexpr std::uint16_t kClassIn = 1;
constexpr std::uint16_t kClassAny = 255;

// Record and query types.
enum Type : std::uint16_t {
    kTypeA = 1,
    kTypeNs = 2,
    kTypeMd = 3,
    kTypeMf = 4,
    kTypeCname = 5,
    kTypeSoa = 6,
    kTypeMb = 7,
    kTypeMg = 8,
    kTypeMr = 9,
    kTypeNull = 10,
    kTypeWks = 11,
    kTypePtr = 12,
    kTypeHinfo = 13,
    kTypeMinfo = 14,
    kTypeMx = 15,
    kTypeTxt = 16,
    kTypeAaaa = 28,
    kTypeLoc = 29,
    kTypeSrv = 33,
    kTypeNaptr = 35,
    kTypeCert = 37,
    kTypeDname = 39,
    kTypeOpt = 41,
    kTypeDs = 43,
    kTypeSshfp = 44,
    kTypeRrsig = 46,
    kTypeNsec = 47,
    kTypeDnskey = 48,
    kTypeNsec3 = 50,
    kTypeNsec3param = 51,
    kTypeTlsa = 52,
    kTypeSmimea = 53,
    kTypeCds = 59,
    kTypeCdnskey = 60,
    kTypeOpenpgpkey = 61,
    kTypeZonemd = 63,
    kTypeSvcb = 64,
    kTypeHttps = 65,
    kTypeSpf = 99,
    kTypeTsig = 250,
    kTypeAxfr = 252,
    kTypeMailb = 253,
    kTypeMaila = 254,
    kTypeAny = 255,
    kTypeUri = 256,
    kTypeCaa = 257,
};

inline std::uint16_t ReadU16(const std::uint8_t* at) {
    return static_cast<std::uint16_t>(at[0] << 8 | at[1]);
}
inline void WriteU16(std::uint8_t* at, unsigned value) {
    at[0] = static_cast<std::uint8_t>(value >> 8);
    at[1] = static_cast<std::uint8_t>(value);
}

// The bytes the message at `offset` of a length-prefixed stream announces,
// prefix included; 0 while its prefix has not arrived whole.
inline std::size_t AnnouncedSize(const std::uint8_t* stream, std::size_t size, std::size_t offset) {
    if (offset > size || size - offset < kPrefixSize) return 0;
    return kPrefixSize + ReadU16(stream + offset);
}

// Where the message after the one at `offset` begins, when that one lies
// whole in the stream; 0 (never a message's start behind offset) when it
// has not arrived whole.
inline std::size_t NextMessage(const std::uint8_t* stream, std::size_t size, std::size_t offset) {
    const std::size_t announced = AnnouncedSize(stream, size, offset);
    return announced != 0 && announced <= size - offset ? offset + announced : 0;
}

}  // namespace wire
