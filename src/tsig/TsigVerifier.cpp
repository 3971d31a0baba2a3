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
    if (isSigned) return CheckSigned(framed, message, last, now);
    if (messages_ == 1) return Fail("the first message is not signed");
    if (++unsignedRun_ > kMaxUnsignedRun)
        return Fail("more than " + std::to_string(kMaxUnsignedRun) +
                    " unsigned messages in a row (messages " +
                    std::to_string(messages_ - kMaxUnsignedRun) + " to " +
                    std::to_string(messages_) + ")");
    running_->Update(framed + 2, size - 2);
    return true;
}

bool TsigVerifier::CheckSigned(const std::uint8_t* framed, ReplyReader& message, const WireRecord& tsig, std::uint64_t now) {
    std::string owner, algorithm;
    AppendName(owner, message, static_cast<int>(tsig.start));
    const int afterAlgorithm = AppendName(algorithm, message, static_cast<int>(tsig.rdata));
    message.seek(static_cast<std::size_t>(afterAlgorithm));
    const std::uint64_t timeSigned = ReadU48(message);
    const std::uint16_t fudge = message.u16();
    const std::uint16_t macSize = message.u16();
    const std::uint8_t* mac = message.bytes(macSize);
    const std::uint8_t* originalId = message.bytes(2);
    const std::uint16_t error = message.u16();
    const std::uint16_t otherSize = message.u16();
    const std::uint8_t* other = message.bytes(otherSize);
    if (!message.ok() || message.pos() != tsig.end())
        return Fail("the TSIG record is malformed" + InMessage(messages_));
    if (error != 0) return Fail(ServerError(error) + InMessage(messages_));
    if (Lower(owner) != Lower(key_.name))
        return Fail("message " + std::to_string(messages_) + " is signed with another key");
    if (Lower(algorithm) != TsigAlgorithmName(key_.algorithm))
        return Fail("message " + std::to_string(messages_) + " is signed with another algorithm");

    // The message as it was before the record was added: its original ID,
    // one additional record fewer, nothing from the record on.
    std::vector<std::uint8_t> header(framed + 2, framed + 14);
    header[0] = originalId[0];
    header[1] = originalId[1];
    const std::uint16_t additional = static_cast<std::uint16_t>((header[10] << 8 | header[11]) - 1);
    header[10] = static_cast<std::uint8_t>(additional >> 8);
    header[11] = static_cast<std::uint8_t>(additional);
    running_->Update(header.data(), header.size());
    running_->Update(framed + 14, tsig.start - 14);
    std::vector<std::uint8_t> variables;
    if (messages_ == 1) {
        // The first reply covers the whole set of variables, later ones
        // only the timers.
        NameToWire(key_.name, variables);
        PutU16(variables, kClassAny);
        variables.insert(variables.end(), 4, 0);
        std::vector<std::uint8_t> algorithmWire;
        NameToWire(TsigAlgorithmName(key_.algorithm), algorithmWire);
        variables.insert(variables.end(), algorithmWire.begin(), algorithmWire.end());
    }
    PutU48(variables, timeSigned);
    PutU16(variables, fudge);
    if (messages_ == 1) {
        PutU16(variables, error);
        PutU16(variables, otherSize);
        variables.insert(variables.end(), other, other + otherSize);
    }
    running_->Update(variables.data(), variables.size());
    const std::vector<std::uint8_t> expected = running_->Finish();
    if (expected.size() != macSize || !std::equal(expected.begin(), expected.end(), mac))
        return Fail("MAC does not match" + InMessage(messages_));
    const std::uint64_t skew = now > timeSigned ? now - timeSigned : timeSigned - now;
    if (skew > fudge)
        return Fail("time outside the fudge" + InMessage(messages_) + " (signed " +
                    std::to_string(skew) + " s away from now, fudge " + std::to_string(fudge) +
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
