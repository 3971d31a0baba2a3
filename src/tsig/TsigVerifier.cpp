#include "TsigVerifier.h"

#include <algorithm>
#include <cctype>

#include "NameDecoding.h"
#include "ReplyReader.h"
#include "TsigWire.h"
#include "zone/RecordWalk.h"

namespace {
std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (!text.empty() && text.back() == '.') text.pop_back();
    return text;
}

std::string ServerError(std::uint16_t error) {
    switch (error) {
        case 16: return "the server answered BADSIG (it could not verify the query's MAC)";
        case 17: return "the server answered BADKEY (it does not know this key or algorithm)";
        case 18: return "the server answered BADTIME (the clocks differ by more than the fudge)";
        case 22: return "the server answered BADTRUNC";
        default: return "the server answered TSIG error " + std::to_string(error);
    }
}

std::string InMessage(int n) { return " in message " + std::to_string(n); }

std::uint64_t ReadU48(ReplyReader& reader) {
    const std::uint64_t high = reader.U16();
    return high << 32 | reader.U32();
}
}  // namespace

TsigVerifier::TsigVerifier(const TsigKey& key, const std::vector<std::uint8_t>& requestMac)
    : key_(key) {
    Restart(requestMac);
}

TsigVerifier::~TsigVerifier() = default;

bool TsigVerifier::Fail(const std::string& what) {
    if (failure_.empty()) failure_ = what;
    return false;
}

void TsigVerifier::Restart(const std::vector<std::uint8_t>& priorMac) {
    running_.reset(new Hmac(key_.algorithm, key_.secret.data(), key_.secret.size()));
    std::vector<std::uint8_t> prefix;
    PutU16(prefix, static_cast<std::uint16_t>(priorMac.size()));
    running_->Update(prefix.data(), prefix.size());
    running_->Update(priorMac.data(), priorMac.size());
}

bool TsigVerifier::Feed(const std::uint8_t* framed, std::size_t size, std::uint64_t now) {
    if (Failed()) return false;
    ++messages_;
    ReplyReader message(framed, size);
    RecordWalk walk(message);
    WireRecord record, last;
    int tsigRecords = 0;
    while (walk.Next(record)) {
        if (record.type == wire::kTypeTsig) ++tsigRecords;
        last = record;
    }
    if (!message.Ok() || message.Pos() != size)
        return Fail("message " + std::to_string(messages_) + " is malformed");
    const bool isSigned = tsigRecords > 0;
    if (isSigned && (tsigRecords > 1 || last.type != wire::kTypeTsig || last.section != 3))
        return Fail("the TSIG record is not the last record" + InMessage(messages_));
    if (isSigned) return CheckSigned(message, last, now);
    if (messages_ == 1) return Fail("the first message is not signed");
    if (++unsignedRun_ > kMaxUnsignedRun)
        return Fail("more than " + std::to_string(kMaxUnsignedRun) +
                    " unsigned messages in a row (messages " +
                    std::to_string(messages_ - kMaxUnsignedRun) + " to " +
                    std::to_string(messages_) + ")");
    message.Seek(wire::kPrefixSize);
    running_->Update(message.Bytes(size - wire::kPrefixSize), size - wire::kPrefixSize);
    return true;
}

// The fields of a TSIG record, pointing into the message.
struct TsigVerifier::Signature {
    std::string owner, algorithm;
    std::uint64_t timeSigned = 0;
    std::uint16_t fudge = 0, macSize = 0, error = 0, otherSize = 0;
    const std::uint8_t* mac = nullptr;
    const std::uint8_t* originalId = nullptr;
    const std::uint8_t* other = nullptr;
};

bool TsigVerifier::ReadSignature(ReplyReader& message, const WireRecord& tsig, Signature& s) {
    AppendName(s.owner, message, static_cast<int>(tsig.start));
    message.Seek(static_cast<std::size_t>(AppendName(s.algorithm, message, static_cast<int>(tsig.rdata))));
    s.timeSigned = ReadU48(message);
    s.fudge = message.U16();
    s.macSize = message.U16();
    s.mac = message.Bytes(s.macSize);
    s.originalId = message.Bytes(2);
    s.error = message.U16();
    s.otherSize = message.U16();
    s.other = message.Bytes(s.otherSize);
    if (!message.Ok() || message.Pos() != tsig.End())
        return Fail("the TSIG record is malformed" + InMessage(messages_));
    if (s.error != 0) return Fail(ServerError(s.error) + InMessage(messages_));
    if (Lower(s.owner) != Lower(key_.name))
        return Fail("message " + std::to_string(messages_) + " is signed with another key");
    if (Lower(s.algorithm) != TsigAlgorithmName(key_.algorithm))
        return Fail("message " + std::to_string(messages_) + " is signed with another algorithm");
    return true;
}

// The message as it was before its record was added: its original ID, one
// additional record fewer, nothing from the record on.
void TsigVerifier::AddMessageWithoutRecord(ReplyReader& message, std::size_t tsigStart,
                                          const std::uint8_t* originalId) {
    message.Seek(wire::kPrefixSize);
    const std::uint8_t* head = message.Bytes(wire::kHeaderSize);
    const std::uint8_t* rest = message.Bytes(tsigStart - wire::kHeaderEnd);
    if (!head || !rest) return;  // the walk has read them already
    std::vector<std::uint8_t> header(head, head + wire::kHeaderSize);
    header[0] = originalId[0];
    header[1] = originalId[1];
    std::uint8_t* additional = header.data() + wire::kAdditionalCountAt - wire::kPrefixSize;
    wire::WriteU16(additional, wire::ReadU16(additional) - 1u);
    running_->Update(header.data(), header.size());
    running_->Update(rest, tsigStart - wire::kHeaderEnd);
}

bool TsigVerifier::CheckSigned(ReplyReader& message, const WireRecord& tsig, std::uint64_t now) {
    Signature s;
    if (!ReadSignature(message, tsig, s)) return false;
    AddMessageWithoutRecord(message, tsig.start, s.originalId);
    // The first message of a reply covers all the variables, later ones
    // only the timers.
    const std::vector<std::uint8_t> variables =
        messages_ == 1 ? AllVariables(key_, s.timeSigned, s.fudge, s.error, s.other, s.otherSize)
                       : TimerVariables(s.timeSigned, s.fudge);
    running_->Update(variables.data(), variables.size());
    const std::vector<std::uint8_t> expected = running_->Finish();
    if (expected.size() != s.macSize || !std::equal(expected.begin(), expected.end(), s.mac))
        return Fail("MAC does not match" + InMessage(messages_));
    const std::uint64_t skew = now > s.timeSigned ? now - s.timeSigned : s.timeSigned - now;
    if (skew > s.fudge)
        return Fail("time outside the fudge" + InMessage(messages_) + " (signed " +
                    std::to_string(skew) + " s away from now, fudge " + std::to_string(s.fudge) +
                    " s)");
    unsignedRun_ = 0;
    Restart(expected);
    return true;
}

bool TsigVerifier::End() {
    if (Failed()) return false;
    if (messages_ == 0) return Fail("no message arrived to verify");
    if (unsignedRun_ > 0)
        return Fail("the last message (" + std::to_string(messages_) + ") is not signed");
    return true;
}
