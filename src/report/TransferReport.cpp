#include "TransferReport.h"

#include "LookupState.h"
#include "Wire.h"
#include "ReportAppend.h"
#include "Texts.h"

void TransferReport::Begin(LookupState& state) {
    state.ReportText += TextOf(kAnswersHeading);
    state.RecordCount = 0;
    next_ = 0;
    begun_ = true;
}

// Each pass moves at least the two prefix bytes on, so the walk ends.
bool TransferReport::ReportWhole(LookupState& state, const std::uint8_t* buffer, std::int32_t total) {
    const std::size_t size = total > 0 ? static_cast<std::size_t>(total) : 0;
    const std::size_t first = next_;
    for (;;) {
        const std::size_t next = wire::NextMessage(buffer, size, next_);
        if (next == 0) return next_ != first;
        state.ReportSections(buffer + next_, static_cast<int>(size - next_));
        next_ = next;
    }
}

void TransferReport::Finish(LookupState& state, const std::uint8_t* buffer, std::int32_t total) {
    if (next_ == 0) state.ReportSections(buffer, total);
    state.ReportText += '\n';
    AppendFormatted(state.ReportText, TextOf(kTransferSummary), {state.RecordCount, total});
}
