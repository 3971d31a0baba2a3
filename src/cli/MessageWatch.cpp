#include "MessageWatch.h"

#include <cstdio>
#include <ctime>

#include "ReplyReader.h"
#include "TsigSign.h"
#include "TsigVerifier.h"
#include "TsigWire.h"
#include "Wire.h"
#include "zone/RecordWalk.h"
#include "zone/ZoneWriter.h"

namespace {
constexpr int kExitFailure = 1;

std::uint64_t Now() { return static_cast<std::uint64_t>(std::time(nullptr)); }
}  // namespace

MessageWatch::MessageWatch(const TsigKey* key, bool zoneFile, bool transfer)
    : key_(key), zoneFile_(zoneFile), transfer_(transfer), start_(std::chrono::steady_clock::now()) {}

MessageWatch::~MessageWatch() = default;

bool MessageWatch::SignQuery(std::uint8_t* query, int capacity, std::string& error) {
    if (!key_) return true;
    const std::vector<std::uint8_t> mac = ::SignQuery(*key_, query, static_cast<std::size_t>(capacity), Now());
    if (mac.empty()) {
        error = "the query cannot be signed with key '" + key_->name + "'";
        return false;
    }
    verifier_.reset(new TsigVerifier(*key_, mac));
    return true;
}

void MessageWatch::Arrived(const std::uint8_t* framed, int size) {
    ++messages_;
    bytes_ += static_cast<std::uint64_t>(size);
    if (verifier_) verifier_->Feed(framed, static_cast<std::size_t>(size), Now());
    Tally(framed, size);
}

// Counts the records and writes them as zone-file lines; in a transfer the
// closing SOA ends it and is not written again, and nothing after it counts.
void MessageWatch::Tally(const std::uint8_t* framed, int size) {
    if (closed_) return;
    ReplyReader message(framed, static_cast<std::size_t>(size));
    RecordWalk walk(message);
    if (messages_ == 1) transferBegun_ = transfer_ && message.Ok() && (walk.Flags() & wire::kRcodeMask) == 0;
    WireRecord record;
    while (walk.Next(record)) {
        // The engine stops reading at the same record.
        const bool closing = transferBegun_ && transferEnd_.OnRecord(record);
        if (record.type == wire::kTypeTsig || record.type == wire::kTypeOpt) continue;
        ++records_;
        if (closing) {
            closed_ = true;
            return;
        }
        if (zoneFile_) AppendZoneRecord(zone_, message, record);
    }
    if (zoneFile_ && !message.Ok())
        zone_ += "; message " + std::to_string(messages_) + " breaks off here\n";
}

bool MessageWatch::Verify() { return !verifier_ || verifier_->End(); }

int MessageWatch::Conclude(int status, bool stats, const std::string& server, std::uint16_t port) {
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    const char* tsig = "no TSIG";
    if (verifier_) {
        if (Verify()) {
            tsig = "TSIG verified";
            std::fprintf(stderr, ";; TSIG verified with key %s (%d message%s)\n", key_->name.c_str(),
                         verifier_->Messages(), verifier_->Messages() == 1 ? "" : "s");
        } else {
            tsig = "TSIG failed";
            std::fprintf(stderr, "vek-cli: TSIG verification failed: %s\n",
                         verifier_->Failure().c_str());
            status = kExitFailure;
        }
    }
    if (transferBegun_ && !closed_) {
        std::fprintf(stderr,
                     "vek-cli: the zone transfer ended without its closing SOA after %llu "
                     "messages and %llu records: the zone is incomplete\n",
                     static_cast<unsigned long long>(messages_),
                     static_cast<unsigned long long>(records_));
        if (status == 0) status = kExitIncomplete;
    }
    if (stats)
        std::fprintf(stderr,
                     ";; %llu messages, %llu records, %llu bytes, %.3f s, %.0f records/s, "
                     "server %s port %u, %s\n",
                     static_cast<unsigned long long>(messages_),
                     static_cast<unsigned long long>(records_),
                     static_cast<unsigned long long>(bytes_), elapsed,
                     elapsed > 0 ? static_cast<double>(records_) / elapsed : 0.0, server.c_str(),
                     static_cast<unsigned>(port), tsig);
    return status;
}
