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
    const std::uint64_t high = reader.u16();
    return high << 32 | reader.u32();
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
    if (failed()) return false;
    ++messages_;
    ReplyReader message(framed, size);
    RecordWalk walk(message);
    WireRecord record, last;
    int tsigRecords = 0;
    while (walk.Next(record)) {
        if (record.type == kTypeTsig) ++tsigRecords;
        last = record;
    }
    if (!message.ok() || message.pos() != size)
        return Fail("message " + std::to_string(messages_) + " is malformed");
    const bool isSigned = tsigRecords > 0;
    if (isSigned && (tsigRecords > 1 || last.type != kTypeTsig || last.section != 3))
        return Fail("the TSIG record is not the last record" + InMessage(messages_));
    if (isSigned) return CheckSigned(message, last, now);
    if (messages_ == 1) return Fail("the first message is not signed");
    if (++unsignedRun_ > kMaxUnsignedRun)
        return Fail("more than " + std::to_string(kMaxUnsignedRun) +
                    " unsigned messages in a row (messages " +
                    std::to_string(messages_ - kMaxUnsignedRun) + " to " +
                    std::to_string(messages_) + ")");
    message.seek(2);
    running_->Update(message.bytes(size - 2), size - 2);
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
    message.seek(static_cast<std::size_t>(AppendName(s.algorithm, message, static_cast<int>(tsig.rdata))));
    s.timeSigned = ReadU48(message);
    s.fudge = message.u16();
    s.macSize = message.u16();
    s.mac = message.bytes(s.macSize);
    s.originalId = message.bytes(2);
    s.error = message.u16();
    s.otherSize = message.u16();
    s.other = message.bytes(s.otherSize);
    if (!message.ok() || message.pos() != tsig.end())
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
    message.seek(2);
    const std::uint8_t* head = message.bytes(RecordWalk::kHeaderEnd - 2);
    const std::uint8_t* rest = message.bytes(tsigStart - RecordWalk::kHeaderEnd);
    if (!head || !rest) return;  // the walk has read them already
    std::vector<std::uint8_t> header(head, head + RecordWalk::kHeaderEnd - 2);
    header[0] = originalId[0];
    header[1] = originalId[1];
    const std::uint16_t additional = static_cast<std::uint16_t>((header[10] << 8 | header[11]) - 1);
    header[10] = static_cast<std::uint8_t>(additional >> 8);
    header[11] = static_cast<std::uint8_t>(additional);
    running_->Update(header.data(), header.size());
    running_->Update(rest, tsigStart - RecordWalk::kHeaderEnd);
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
    if (failed()) return false;
    if (messages_ == 0) return Fail("no message arrived to verify");
    if (unsignedRun_ > 0)
        return Fail("the last message (" + std::to_string(messages_) + ") is not signed");
    return true;
}
