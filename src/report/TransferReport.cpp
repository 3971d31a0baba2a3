#include "TransferReport.h"

#include "Wire.h"
#include "ReportAppend.h"
#include "Report.h"
#include "Texts.h"

void TransferReport::Begin(ReportContext& report) {
    report.text += TextOf(kAnswersHeading);
    report.recordCount = 0;
    next_ = 0;
    begun_ = true;
}

// Each pass moves at least the two prefix bytes on, so the walk ends.
bool TransferReport::ReportWhole(ReportContext& report, const std::uint8_t* buffer,
                                 std::size_t size) {
    const std::size_t first = next_;
    for (;;) {
        const std::size_t next = wire::NextMessage(buffer, size, next_);
        if (next == 0) return next_ != first;
        ReportSections(report, buffer + next_, static_cast<int>(next - next_));
        next_ = next;
        anyWhole_ = true;
    }
}

void TransferReport::Finish(ReportContext& report, const std::uint8_t* buffer, std::size_t size,
                            std::int64_t total) {
    if (!anyWhole_) ReportSections(report, buffer, static_cast<int>(size));
    report.text += '\n';
    AppendFormatted(report.text, TextOf(kTransferSummary), {report.recordCount, total});
}
