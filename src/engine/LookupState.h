#pragma once
// The lookup state: the members that the lookup window, the engine and the
// report share, and the engine's and the report's operations on them. The
// window derives from it; so do vek-cli and the tests. Nothing here knows of
// a window: the two closing steps of every lookup (showing the state in the
// controls, returning to idle) are hooks that the derived classes implement.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

#include "QueryTypes.h"
#include "sockets/Sockets.h"

class ReplyReader;
class TransferReport;
struct ReportContext;

class LookupState {
public:
    LookupState() = default;
    virtual ~LookupState() = default;
    LookupState(const LookupState&) = delete;
    LookupState& operator=(const LookupState&) = delete;

    // The query-type line that switches on zone-transfer handling.
    static constexpr std::int32_t kAxfrIndex = ::kAxfrIndex;
    static constexpr int kQueryBufferSize = 1000;

    std::string ScratchText;    // numbered text loaded just before use
    std::string LookupTarget;   // copy of Target taken when a lookup starts
    std::int32_t RecordCount = 0;
    std::atomic<net::SocketHandle> LookupSocket{net::kNoSocket};
    std::atomic<int> Busy{0};
    std::atomic<int> InterruptRequested{0};
    std::string Target;
    std::string Server;
    std::int32_t QueryTypeIndex = 0;  // -1 when no line is selected
    std::string ReportText;
    int DetailedErrors = 0;
    int Recursive = 1;
    int ReverseQuery = 0;
    std::uint16_t ServerPort = 53;  // the window always asks port 53
    // vek-cli reaches servers of either address family (IPv6 addresses,
    // host names with only AAAA records); the window keeps to IPv4.
    bool AnyAddressFamily = false;
    // The most bytes one TCP lookup reads, length prefixes included: far
    // above any real zone. A stream that goes on past it is cut there, and
    // the report says so. It bounds the report that a window keeps; a
    // front end that lets the report go as it grows needs no bound
    // (kNoReceiveLimit). Tests may lower it.
    static constexpr std::int64_t kMaxReceived = std::int64_t(1) << 30;
    static constexpr std::int64_t kNoReceiveLimit = INT64_MAX;
    std::int64_t MaxReceived = kMaxReceived;
    // Set by a lookup that ends with a failure report (nothing resolved,
    // no connection, no data); cleared when a lookup starts.
    bool LookupFailed = false;

    // Query message.
    std::string ChooseQueryName() const;
    void BuildQuery(std::uint8_t* queryBuffer, const char* queryName) const;
    // Chooses the query name and builds the message into the 1000-byte
    // buffer. A name too long to fit is refused: the report says so, the
    // lookup counts as failed, and false is returned (nothing to send).
    bool PrepareQuery(std::uint8_t* queryBuffer);

    // Lookups. Each runs to a finished ReportText and ends, on every path,
    // with ShowFinishedReport() and SetBusy(0).
    void TcpLookup();
    void ResolverLookup();
    // Called from another thread: stops a running TCP exchange.
    void Interrupt();

    void DescribeSocketError(std::string* shortText, std::string* longText,
                             std::int32_t code) const;
    // Replaces the report with a failure: `head`, the short text of `code`
    // and, when DetailedErrors is set, the detailed explanation with the
    // long text. Sets LookupFailed.
    void ReportSocketFailure(const std::string& head, std::int32_t code);

    // Report of received bytes; positions are offsets from the length
    // prefix. Each calls the report library (Report.h) with this lookup's
    // report context.
    int DecodeName(std::string& name, ReplyReader& reply, int position) const;
    bool ReportHeader(const std::uint8_t* buffer, int count);
    void ReportSections(const std::uint8_t* buffer, int count);
    void ReportRecordData(ReplyReader& reply, int position);
    // The report of everything a TCP lookup received (length prefixes
    // included): "no data" for nothing, else the progress text and a
    // refresh, then the header and the sections, or the zone-transfer walk
    // and its summary. Sets RecordCount.
    void ReportReceived(const std::uint8_t* buffer, int total);
    // A zone transfer reported as it arrives: the messages that the held
    // bytes [0, size) complete, then ReportGrew() when there were any; and at
    // the end, after the progress text and a refresh, the rest of the walk
    // and the summary of all `total` bytes received. The report is the one
    // ReportReceived writes.
    void ReportArrivedMessages(TransferReport& transfer, const std::uint8_t* buffer,
                               std::size_t size);
    void ReportTransferReceived(TransferReport& transfer, const std::uint8_t* buffer,
                                std::size_t size, std::int64_t total);

    // The report library's view of this lookup: the report, the record
    // count, transfer mode and the server's text.
    ReportContext Report();

    // vek-cli's TSIG and zone-file hooks. QueryReady may extend the framed
    // query (length prefix first) within its buffer before it is sent;
    // false stops the lookup (the hook reports why). MessageArrived sees
    // each complete message of the reply, framed, on the lookup's thread.
    virtual bool QueryReady(std::uint8_t* /*query*/, int /*capacity*/) { return true; }
    virtual void MessageArrived(const std::uint8_t* /*framed*/, int /*size*/) {}

protected:
    // Shows the members in the controls (the window's exchange to controls).
    virtual void RefreshControls() {}
    // The last refresh of a lookup: its report is finished and the lookup
    // no longer reads ReportText, so a front end may take the text over
    // rather than copy it.
    virtual void ShowFinishedReport() { RefreshControls(); }
    // Called on the lookup's thread while a zone transfer arrives, each time
    // its report has grown; until the lookup ends the report only grows.
    virtual void ReportGrew() {}
    // Switches between busy (1) and idle (0). The base keeps Busy and, on
    // idle, clears InterruptRequested; the window also sets its buttons.
    virtual void SetBusy(int busy) {
        Busy = busy;
        if (!busy) InterruptRequested = 0;
    }
};
