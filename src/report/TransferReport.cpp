#include "TransferReport.h"

#include "LookupState.h"
#include "ReplyReader.h"
#include "ReportAppend.h"
#include "Texts.h"

namespace {
constexpr int kTransferSummary = 509;
constexpr int kAnswersHeading = 512;
}  // namespace

void TransferReport::Begin(LookupState& state) {
    state.ReportText += TextOf(kAnswersHeading);
    state.RecordCount = 0;
    next_ = 0;
    begun_ = true;
}

// Each pass moves at least the two prefix bytes on, so the walk ends.
bool TransferReport::ReportWhole(LookupState& state, const std::uint8_t* buffer, std::int32_t total) {
    ReplyReader stream(buffer, total > 0 ? static_cast<std::size_t>(total) : 0);
    const std::size_t first = next_;
    for (;;) {
        stream.seek(next_);
        const std::size_t length = 2 + std::size_t(stream.u16());
        stream.skip(length - 2);
        if (!stream.ok()) return next_ != first;
        state.ReportSections(buffer + next_, static_cast<int>(stream.size() - next_));
        next_ += length;
    }
}

void TransferReport::Finish(LookupState& state, const std::uint8_t* buffer, std::int32_t total) {
    if (next_ == 0) state.ReportSections(buffer, total);
    state.ReportText += '\n';
    AppendFormatted(state.ReportText, TextOf(kTransferSummary), {state.RecordCount, total});
}
