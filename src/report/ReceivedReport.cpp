#include <algorithm>
#include <new>

#include "LookupState.h"
#include "ReplyReader.h"
#include "ReportAppend.h"
#include "Texts.h"

namespace {
constexpr int kNoData = 506;
constexpr int kDecoding = 507;
constexpr int kTransferSummary = 509;
constexpr int kAnswersHeading = 512;
constexpr int kHeaderEnd = 14;

// Rough report bytes per received byte of a transfer, so that the report
// grows in a few steps rather than many; the hint stops at a size that any
// machine can set aside, and a longer report grows from there.
constexpr std::size_t kReportPerWireByte = 2;
constexpr std::size_t kMaxReserve = std::size_t(256) << 20;

// Reports every message of a zone-transfer stream that arrived whole (the
// first one always, whole or not), then the summary. A message that does not
// decode ends only its own report; the walk goes on with the next one.
void ReportTransfer(LookupState& state, const std::uint8_t* buffer, int total) {
    std::string& out = state.ReportText;
    // Only a hint: without the memory for it the report grows as it goes.
    try {
        out.reserve(out.size() +
                std::min(static_cast<std::size_t>(total) * kReportPerWireByte, kMaxReserve));
    } catch (const std::bad_alloc&) {
    }
    out += TextOf(kAnswersHeading);
    ReplyReader stream(buffer, static_cast<std::size_t>(total));
    std::size_t offset = 0;
    // Each pass moves at least two bytes on, so the walk ends.
    for (;;) {
        state.ReportSections(buffer + offset, static_cast<int>(stream.size() - offset));
        stream.seek(offset);
        offset += 2 + std::size_t(stream.u16());
        // Go on only when the next message's prefix and all of it are there.
        stream.seek(offset);
        stream.skip(stream.u16());
        if (!stream.ok()) break;
    }
    out += '\n';
    AppendFormatted(out, TextOf(kTransferSummary), {state.RecordCount, total});
}
}  // namespace

void LookupState::ReportReceived(const std::uint8_t* buffer, int total) {
    if (total <= 0) {
        LoadText(ReportText, kNoData);
        LookupFailed = true;
        return;
    }
    LoadText(ReportText, kDecoding);
    RefreshControls();
    RecordCount = 0;
    const bool succeeded = ReportHeader(buffer, total);
    if (QueryTypeIndex == kAxfrIndex && succeeded)
        ReportTransfer(*this, buffer, total);
    else if (total >= kHeaderEnd)
        ReportSections(buffer, total);
}
