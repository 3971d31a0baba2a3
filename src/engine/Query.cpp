// The query message: which name is asked, and the exact bytes sent for it
// (two-byte TCP length prefix, 12-byte header, one question).
#include <cstring>

#include "LookupState.h"
#include "QueryTypes.h"
#include "Texts.h"
#include "Wire.h"

namespace {

// Prefix, header, QTYPE and QCLASS.
constexpr int kFixedBytes = wire::kHeaderEnd + wire::kQuestionFixed;
constexpr int kLongestLabel = 255;  // what one length byte can count
using wire::WriteU16;

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
    std::uint8_t* at = queryBuffer + wire::kHeaderEnd;
    ForEachLabel(queryName, [&at](const char* label, std::size_t length) {
        *at++ = static_cast<std::uint8_t>(length);
        std::memcpy(at, label, length);
        at += length;
    });
    *at++ = 0;  // the root ends the name
    WriteU16(at, QueryTypeCode(QueryTypeIndex));
    WriteU16(at + 2, wire::kClassIn);
    const std::size_t messageLength =
        static_cast<std::size_t>(at + wire::kQuestionFixed - queryBuffer) - wire::kPrefixSize;

    WriteU16(queryBuffer, static_cast<unsigned>(messageLength));
    WriteU16(queryBuffer + wire::kIdAt, 0);
    queryBuffer[wire::kFlagsAt] = static_cast<std::uint8_t>(
        (ReverseQuery ? wire::kOpcodeInverse << wire::kOpcodeShift : 0) |
        (Recursive ? wire::kFlagRecursionDesired : 0));
    queryBuffer[wire::kRcodeFlagsAt] = 0;
    WriteU16(queryBuffer + wire::kQuestionCountAt, 1);
    WriteU16(queryBuffer + wire::kAnswerCountAt, 0);
    WriteU16(queryBuffer + wire::kAuthorityCountAt, 0);
    WriteU16(queryBuffer + wire::kAdditionalCountAt, 0);
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
        ReportText = FormatText(TextOf(kNameTooLong), static_cast<int>(queryName.size()), longestName);
    } else if (longestLabel > static_cast<std::size_t>(kLongestLabel)) {
        ReportText = FormatText(TextOf(kLabelTooLong), static_cast<int>(longestLabel), kLongestLabel);
    } else if (emptyLabel) {
        ReportText = FormatText(TextOf(kEmptyLabel), name);
    } else {
        BuildQuery(queryBuffer, name);
        return true;
    }
    LookupFailed = true;
    return false;
}
