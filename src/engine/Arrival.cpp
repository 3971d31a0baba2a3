#include "Arrival.h"

#include <new>

#include "LookupState.h"
#include "QueryTypes.h"
#include "Report.h"
#include "Texts.h"
#include "Wire.h"

Arrival::Arrival(LookupState& lookup)
    : lookup_(lookup), reply_(lookup.MaxReceived),
      headerConsulted_(lookup.QueryTypeIndex != kAxfrIndex) {}

bool Arrival::OnBytes(const std::uint8_t* data, std::size_t size) {
    if (!reply_.Append(data, size)) return Stop(ReceiveEnd::OutOfMemory);
    const std::size_t held = static_cast<std::size_t>(reply_.size());
    // The header decides once it is whole, however the first bytes were
    // split; until then the reply may still turn out to be a short ordinary one.
    if (!headerConsulted_ && held >= wire::kHeaderEnd) {
        headerConsulted_ = true;
        if (lookup_.ReportHeader(reply_.data(), reply_.size())) {
            ReportContext report = lookup_.Report();
            transfer_.Begin(report);
        }
    }
    if (transfer_.Begun()) {
        if (OnTransferBytes()) return true;
    } else if (wire::NextMessage(reply_.data(), held, 0) != 0) {
        return Stop(ReceiveEnd::Complete);
    }
    return reply_.Full() && Stop(ReceiveEnd::SizeLimit);
}

bool Arrival::OnTransferBytes() {
    const bool done = transferEnd_.Scan(reply_.data(), reply_.size());
    try {
        lookup_.ReportArrivedMessages(transfer_, reply_.data(), reply_.size());
    } catch (const std::bad_alloc&) {
        return Stop(ReceiveEnd::ReportOutOfMemory);
    }
    return done && Stop(ReceiveEnd::Complete);
}

void Arrival::Report(ReceiveEnd end) {
    if (end == ReceiveEnd::ReportOutOfMemory) return StopReporting();
    try {
        if (transfer_.Begun())
            lookup_.ReportTransferReceived(transfer_, reply_.data(), reply_.size());
        else
            lookup_.ReportReceived(reply_.data(), reply_.size());
    } catch (const std::bad_alloc&) {
        return StopReporting();
    }
    if (reply_.size() == 0) lookup_.LookupFailed = true;
    if (end == ReceiveEnd::SizeLimit) AppendStopLine(kStoppedAtLimit, reply_.size());
    if (end == ReceiveEnd::OutOfMemory) AppendStopLine(kStoppedReading, reply_.size());
}

// Memory ran out while decoding: the received bytes (the largest block) are
// let go, and the report ends with a line that says so.
void Arrival::StopReporting() {
    const std::int32_t total = reply_.size();
    reply_.Release();
    AppendStopLine(kStoppedReporting, total);
}

// Appends a line that says why the report ends early.
void Arrival::AppendStopLine(int textId, std::int32_t total) {
    LoadText(lookup_.ScratchText, textId);
    lookup_.ReportText += FormatText(lookup_.ScratchText.c_str(), total);
}
