#pragma once
// What vek-cli watches besides the report: each message of the reply as it
// arrives goes through the TSIG verifier (with -y or -k), is counted for
// --stats, is written as zone-file lines (with --zone), and tells whether a
// zone transfer reached its closing SOA (by the same rule as the engine).
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "TransferEnd.h"
#include "TsigKey.h"

class TsigVerifier;

class MessageWatch {
public:
    MessageWatch(const TsigKey* key, bool zoneFile, bool transfer);
    ~MessageWatch();

    // Signs the framed query when a key is given; false when it cannot be
    // (the reason is in `error`).
    bool SignQuery(std::uint8_t* query, int capacity, std::string& error);
    // One complete message, framed as it arrived.
    void Arrived(const std::uint8_t* framed, int size);

    // The zone-file text written since it was last let go.
    const std::string& ZoneText() const { return zone_; }
    void ForgetZoneText() { zone_.clear(); }
    // Whether replies are verified: the zone-file text of a signed reply
    // is held back until the whole reply has verified.
    bool Verifying() const { return verifier_ != nullptr; }
    // After the reply: true without a key, or when every message verified.
    bool Verify();

    // After the lookup: says on standard error what failed (TSIG, an
    // unfinished transfer) and, with --stats, the statistics line; returns
    // the exit status, starting from the report's.
    int Conclude(int status, bool stats, const std::string& server, std::uint16_t port);

    static constexpr int kExitIncomplete = 3;

private:
    void Tally(const std::uint8_t* framed, int size);

    const TsigKey* key_;
    const bool zoneFile_;
    const bool transfer_;
    std::unique_ptr<TsigVerifier> verifier_;
    std::chrono::steady_clock::time_point start_;
    std::uint64_t messages_ = 0;
    std::uint64_t records_ = 0;
    std::uint64_t bytes_ = 0;
    TransferEnd transferEnd_;
    bool transferBegun_ = false;
    bool closed_ = false;
    std::string zone_;
};
