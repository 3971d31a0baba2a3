#pragma once
// The report of a zone transfer, written message by message: while the
// stream arrives, so that little is left to do once the last byte is in, or
// all at once for a stream received before. Either way the report is the
// same: the answers heading, every message that arrived whole in order (the
// first one always, whole or not), a blank line and the summary. Once begun,
// the report only grows.
#include <cstddef>
#include <cstdint>

struct ReportContext;

class TransferReport {
public:
    // Starts the answers behind the header report that the report holds;
    // the record count counts from 0 again.
    void Begin(ReportContext& report);
    bool Begun() const { return begun_; }
    // Reports each message that the bytes [0, size) hold whole and that is
    // not reported yet; true when there was one. The bytes may have moved
    // since the last call: only offsets are kept.
    bool ReportWhole(ReportContext& report, const std::uint8_t* buffer, std::size_t size);
    // The bytes before this offset are reported; after Forget(n) offsets
    // count from n bytes further on (the caller let those go).
    std::size_t Reported() const { return next_; }
    void Forget(std::size_t count) { next_ -= count; }
    // Ends the report: the first message, if it never arrived whole, as far
    // as it goes; then the summary of all `total` bytes received.
    void Finish(ReportContext& report, const std::uint8_t* buffer, std::size_t size,
                std::int64_t total);

private:
    std::size_t next_ = 0;  // offset of the first message not reported yet
    bool begun_ = false;
    bool anyWhole_ = false;
};
