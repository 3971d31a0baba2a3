#include <algorithm>
#include <new>
#include <string>
#include <utility>

#include "LookupState.h"
#include "Report.h"
#include "Texts.h"
#include "TransferReport.h"
#include "Wire.h"

namespace {

// Rough report bytes per received byte of a transfer, so that the report
// grows in a few steps rather than many; the hint stops at a size that any
// machine can set aside, and a longer report grows from there.
constexpr std::size_t kReportPerWireByte = 2;
constexpr std::size_t kMaxReserve = std::size_t(256) << 20;
// A transfer whose report has grown past this size is taken to be a large one.
constexpr std::size_t kLargeReport = 1 << 20;

// Only a hint: without the memory for it the report grows as it goes. Room
// not written yet costs address space, not memory.
void ReserveReport(std::string& report, std::size_t bytes) {
    try {
        report.reserve(std::min(bytes, kMaxReserve));
    } catch (const std::bad_alloc&) {
    }
}

// Reports a whole zone-transfer stream received before.
void ReportTransfer(LookupState& state, const std::uint8_t* buffer, int total) {
    ReserveReport(state.ReportText,
                  state.ReportText.size() + static_cast<std::size_t>(total) * kReportPerWireByte);
    ReportContext report = state.Report();
    TransferReport transfer;
    transfer.Begin(report);
    const std::size_t size = static_cast<std::size_t>(total);
    transfer.ReportWhole(report, buffer, size);
    transfer.Finish(report, buffer, size, total);
}
}  // namespace

void LookupState::ReportReceived(const std::uint8_t* buffer, int total) {
    if (total <= 0) {
        LoadText(ReportText, kNoDataReceived);
        LookupFailed = true;
        return;
    }
    LoadText(ReportText, kDecoding);
    RefreshControls();
    RecordCount = 0;
    const bool succeeded = ReportHeader(buffer, total);
    if (QueryTypeIndex == kAxfrIndex && succeeded)
        ReportTransfer(*this, buffer, total);
    else if (total >= static_cast<int>(wire::kHeaderEnd))
        ReportSections(buffer, total);
}

void LookupState::ReportArrivedMessages(TransferReport& transfer, const std::uint8_t* buffer,
                                        std::size_t size) {
    // The size of a transfer still arriving is not known: a large one gets
    // the most room at once, so that its report is not copied as it grows.
    if (ReportText.size() >= kLargeReport && ReportText.capacity() < kMaxReserve)
        ReserveReport(ReportText, kMaxReserve);
    ReportContext report = Report();
    if (transfer.ReportWhole(report, buffer, size)) ReportGrew();
}

void LookupState::ReportTransferReceived(TransferReport& transfer, const std::uint8_t* buffer,
                                         std::size_t size, std::int64_t total) {
    std::string sofar = std::move(ReportText);
    LoadText(ReportText, kDecoding);
    RefreshControls();
    ReportText = std::move(sofar);
    ReportContext report = Report();
    transfer.ReportWhole(report, buffer, size);
    transfer.Finish(report, buffer, size, total);
}
