#pragma once
// Verifies the TSIG records of the messages of a reply, in order: the first
// message must be signed, later ones may go unsigned up to 99 in a row, each
// MAC covers the one before it and the messages since, and each signature's
// time must lie within its fudge of now. The first failure is kept, in words
// that say what failed and where; the secret is never part of them.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Hmac.h"
#include "TsigKey.h"

class ReplyReader;
struct WireRecord;

class TsigVerifier {
public:
    static constexpr int kMaxUnsignedRun = 99;

    // `requestMac` is the MAC of the signed query.
    TsigVerifier(const TsigKey& key, const std::vector<std::uint8_t>& requestMac);
    ~TsigVerifier();

    // Feeds the next complete message, framed as it arrived (length prefix
    // first); `now` is the time in seconds since 1970. False once anything
    // has failed; later messages are then ignored.
    bool Feed(const std::uint8_t* framed, std::size_t size, std::uint64_t now);
    // The reply has ended: its last message must have been signed.
    bool End();

    bool Failed() const { return !failure_.empty(); }
    const std::string& Failure() const { return failure_; }
    int Messages() const { return messages_; }

private:
    struct Signature;
    bool Fail(const std::string& what);
    bool CheckSigned(ReplyReader& message, const WireRecord& tsig, std::uint64_t now);
    bool ReadSignature(ReplyReader& message, const WireRecord& tsig, Signature& signature);
    void AddMessageWithoutRecord(ReplyReader& message, std::size_t tsigStart,
                                 const std::uint8_t* originalId);
    void Restart(const std::vector<std::uint8_t>& priorMac);

    const TsigKey& key_;
    std::unique_ptr<Hmac> running_;  // the MAC input since the last signed message
    int messages_ = 0;
    int unsignedRun_ = 0;
    std::string failure_;
};
