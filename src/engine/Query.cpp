// The query message: which name is asked, and the exact bytes sent for it
// (two-byte TCP length prefix, 12-byte header, one question).
#include <cstring>

#include "LookupState.h"
#include "Texts.h"

namespace {

constexpr int kHeaderEnd = 14;      // prefix (2) + header (12)
constexpr int kFixedBytes = 18;     // prefix, header, QTYPE and QCLASS
constexpr int kLongestLabel = 255;  // what one length byte can count

void PutU16(std::uint8_t* at, unsigned value) {
    at[0] = static_cast<std::uint8_t>(value >> 8);
    at[1] = static_cast<std::uint8_t>(value);
}

// The QTYPE sent for a line of the query-type list: the four meta types sit
// at the ends of the list, every other line is sent as its own index.
unsigned QueryTypeCode(std::int32_t index) {
    switch (index) {
        case 0: return 255;
        case LookupState::kAxfrIndex: return 252;
        case 18: return 253;
        case 19: return 254;
        default: return static_cast<std::uint16_t>(index);
    }
}

// The labels of a name are the runs between dots. A final dot only ends the
// name, and the empty name and a lone dot are the root (no label at all).
// Calls visit(begin, length) for each label in order.
template <typename Visit>
void ForEachLabel(const char* name, Visit visit) {
    std::size_t length = std::strlen(name);
    if (length > 0 && name[length - 1] == '.') --length;
    if (length == 0) return;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= length; ++i) {
        if (i == length || name[i] == '.') {
            visit(name + start, i - start);
            start = i + 1;
        }
    }
}

// Bytes of the encoded name: a length byte per label, the labels, the root.
std::size_t EncodedNameLength(const char* name) {
    std::size_t total = 1;
    ForEachLabel(name, [&total](const char*, std::size_t length) { total += 1 + length; });
    return total;
}

}  // namespace

std::string LookupState::ChooseQueryName() const {
    std::uint32_t address = net::InetAddr(Target.c_str());
    if (address == net::kAddrNone) return Target;
    std::uint8_t b[4];
    std::memcpy(b, &address, sizeof b);  // network order: dotted order
    return FormatText("%d.%d.%d.%d.IN-ADDR.ARPA", b[3], b[2], b[1], b[0]);
}

// The buffer must hold strlen(queryName) + 20 bytes; PrepareQuery makes sure
// of that before calling.
void LookupState::BuildQuery(std::uint8_t* queryBuffer, const char* queryName) const {
    std::uint8_t* at = queryBuffer + kHeaderEnd;
    ForEachLabel(queryName, [&at](const char* label, std::size_t length) {
        *at++ = static_cast<std::uint8_t>(length);
        std::memcpy(at, label, length);
        at += length;
    });
    *at++ = 0;  // the root ends the name
    PutU16(at, QueryTypeCode(QueryTypeIndex));
    PutU16(at + 2, 1);  // class IN
    const int messageLength = static_cast<int>(at + 4 - queryBuffer) - 2;

    PutU16(queryBuffer, static_cast<unsigned>(messageLength));
    PutU16(queryBuffer + 2, 0);  // ID
    queryBuffer[4] = static_cast<std::uint8_t>((ReverseQuery ? 0x08 : 0) | (Recursive ? 0x01 : 0));
    queryBuffer[5] = 0;
    PutU16(queryBuffer + 6, 1);   // QDCOUNT
    PutU16(queryBuffer + 8, 0);   // ANCOUNT
    PutU16(queryBuffer + 10, 0);  // NSCOUNT
    PutU16(queryBuffer + 12, 0);  // ARCOUNT
}

// Names that cannot be sent as asked are refused rather than cut or
// repaired: one too long for the buffer, a label longer than its length
// byte can count, and an empty label (a leading dot or two dots in a row),
// whose zero length byte would end the name early on the wire.
bool LookupState::PrepareQuery(std::uint8_t* queryBuffer) {
    const std::string queryName = ChooseQueryName();
    const char* name = queryName.c_str();
    const std::size_t encoded = EncodedNameLength(name);
    bool emptyLabel = false;
    std::size_t longestLabel = 0;
    ForEachLabel(name, [&](const char*, std::size_t length) {
        emptyLabel = emptyLabel || length == 0;
        if (length > longestLabel) longestLabel = length;
    });
    const int longestName = kQueryBufferSize - kFixedBytes - 2;
    if (encoded + kFixedBytes > static_cast<std::size_t>(kQueryBufferSize)) {
        ReportText = FormatText(TextOf(590), static_cast<int>(queryName.size()), longestName);
    } else if (longestLabel > static_cast<std::size_t>(kLongestLabel)) {
        ReportText = FormatText(TextOf(591), static_cast<int>(longestLabel), kLongestLabel);
    } else if (emptyLabel) {
        ReportText = FormatText(TextOf(592), name);
    } else {
        BuildQuery(queryBuffer, name);
        return true;
    }
    LookupFailed = true;
    return false;
}
