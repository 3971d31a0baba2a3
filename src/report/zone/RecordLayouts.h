#pragma once
// The layouts of record data: per type, its mnemonic and the kinds of its
// fields in order. The zone-file writer walks them; a type that is not here
// is written in the generic form.
#include <cstdint>
#include <string>

enum class FieldKind : std::uint8_t {
    Name,          // a domain name
    U8,
    U16,
    U32,
    Ipv4,
    Ipv6,
    String,        // one character-string
    Strings,       // character-strings to the end of the data
    TextToEnd,     // the rest of the data as one quoted string (CAA value, URI target)
    Tag,           // a length byte and letters and digits, unquoted (CAA tag)
    Base64ToEnd,
    HexToEnd,
    Salt,          // a length byte and hex, "-" when empty
    Base32Hash,    // a length byte and base 32 with the extended hex alphabet
    TypeBitmap,
    TypeCovered,   // a type code written as its mnemonic
    Time,          // seconds since 1970 as YYYYMMDDHHmmSS
    SvcParams,
    Location,      // the whole LOC data
};

constexpr int kMaxFields = 9;

struct RecordLayout {
    std::uint16_t type;
    const char* mnemonic;
    std::uint8_t count;
    FieldKind fields[kMaxFields];
};

// The layout of a type, or nullptr for a type written generically.
const RecordLayout* FindLayout(std::uint16_t type);
// Appends the mnemonic of a type ("A", or "TYPE65280" for one not known).
void AppendTypeName(std::string& out, std::uint16_t type);
