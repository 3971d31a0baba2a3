#include "Arrival.h"

#include <algorithm>
#include <new>

#include "LookupState.h"
#include "QueryTypes.h"
#include "Report.h"
#include "ReportAppend.h"
#include "Texts.h"
#include "Wire.h"

Arrival::Arrival(LookupState& lookup)
    : lookup_(lookup), limit_(lookup.MaxReceived),
      headerConsulted_(lookup.QueryTypeIndex != kAxfrIndex) {}

bool Arrival::OnBytes(const std::uint8_t* data, std::size_t size) {
    const std::size_t kept = static_cast<std::size_t>(
        std::min<std::int64_t>(static_cast<std::int64_t>(size), limit_ - total_));
    if (!reply_.Append(data, kept)) return Stop(ReceiveEnd::OutOfMemory);
    total_ += static_cast<std::int64_t>(kept);
    // The header decides once it is whole, however the first bytes were
    // split; until then the reply may still turn out to be a short ordinary one.
    if (!headerConsulted_ && reply_.size() >= wire::kHeaderEnd) {
        headerConsulted_ = true;
        if (lookup_.ReportHeader(reply_.data(), static_cast<int>(reply_.size()))) {
            ReportContext report = lookup_.Report();
            transfer_.Begin(report);
        }
    }
    if (transfer_.Begun()) {
        if (OnTransferBytes()) return true;
    } else if (const std::size_t whole = wire::NextMessage(reply_.data(), reply_.size(), 0)) {
        return Stop(HandOver(0, whole) ? ReceiveEnd::Complete : ReceiveEnd::ReportOutOfMemory);
    }
    return total_ == limit_ && Stop(ReceiveEnd::SizeLimit);
}

// Each whole message goes to the lookup's hook, is scanned for the closing
// SOA and reported, and then its bytes are let go: only a message still
// arriving is held.
bool Arrival::OnTransferBytes() {
    bool done = false;
    std::size_t at = transfer_.Reported();
    for (std::size_t next; (next = wire::NextMessage(reply_.data(), reply_.size(), at)) != 0; at = next) {
        if (!HandOver(at, next)) return Stop(ReceiveEnd::ReportOutOfMemory);
        done = transferEnd_.OnMessage(reply_.data() + at, next - at);
    }
    try {
        lookup_.ReportArrivedMessages(transfer_, reply_.data(), reply_.size());
    } catch (const std::bad_alloc&) {
        return Stop(ReceiveEnd::ReportOutOfMemory);
    }
    const std::size_t reported = transfer_.Reported();
    reply_.Discard(reported);
    transfer_.Forget(reported);
    return done && Stop(ReceiveEnd::Complete);
}

// Hands the whole message [begin, end) of the held bytes to the lookup;
// false when memory ran out on the way.
bool Arrival::HandOver(std::size_t begin, std::size_t end) {
    try {
        lookup_.MessageArrived(reply_.data() + begin, static_cast<int>(end - begin));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void Arrival::Report(ReceiveEnd end) {
    if (end == ReceiveEnd::ReportOutOfMemory) return StopReporting();
    try {
        if (transfer_.Begun())
            lookup_.ReportTransferReceived(transfer_, reply_.data(), reply_.size(), total_);
        else
            lookup_.ReportReceived(reply_.data(), static_cast<int>(reply_.size()));
    } catch (const std::bad_alloc&) {
        return StopReporting();
    }
    if (total_ == 0) lookup_.LookupFailed = true;
    if (end == ReceiveEnd::SizeLimit) AppendStopLine(kStoppedAtLimit);
    if (end == ReceiveEnd::OutOfMemory) AppendStopLine(kStoppedReading);
}

// Memory ran out while decoding: the received bytes are let go, and the
// report ends with a line that says so.
void Arrival::StopReporting() {
    reply_.Release();
    AppendStopLine(kStoppedReporting);
}

// Appends a line that says why the report ends early.
void Arrival::AppendStopLine(TextId text) {
    AppendFormatted(lookup_.ReportText, TextOf(text), {total_});
}
