#pragma once
// The protocol decisions of receiving one reply, apart from any socket: the
// receive loop hands over the bytes as they come, in pieces of any size, and
// is told when to stop.
// - An ordinary reply is complete once its length prefix and that many bytes
//   have arrived.
// - For a zone transfer (QueryTypeIndex 17) the header of the first message
//   is reported once, as soon as 14 bytes are in. When it is successful the
//   transfer report begins: each message is reported as soon as it is whole,
//   and the reply is complete with the message that carries the closing SOA.
//   Otherwise the reply is read as an ordinary one.
// - Each message is handed to LookupState::MessageArrived once, in order, as
//   soon as it is whole (before it is reported).
// - Reading stops, too, when the lookup's MaxReceived bytes are in or the
//   bytes cannot be kept.
// A transfer's messages are let go once reported, so that what is held does
// not grow with the zone.
#include <cstddef>
#include <cstdint>

#include "ReplyBuffer.h"
#include "Texts.h"
#include "TransferEnd.h"
#include "TransferReport.h"

class LookupState;

enum class ReceiveEnd {
    Complete,           // an ordinary reply's announced length, or a whole transfer
    Closed,             // the server closed the connection or a read failed
    Interrupted,        // the piece that came with the request was dropped
    SizeLimit,          // MaxReceived bytes arrived
    OutOfMemory,        // the received bytes could not be kept
    ReportOutOfMemory,  // the transfer's report could not grow
};

class Arrival {
public:
    explicit Arrival(LookupState& lookup);
    Arrival(const Arrival&) = delete;
    Arrival& operator=(const Arrival&) = delete;

    // Takes the next bytes received. True when no more are to be read; End()
    // then says why.
    bool OnBytes(const std::uint8_t* data, std::size_t size);
    ReceiveEnd End() const { return end_; }

    // Writes the report of what arrived; `end` is how receiving ended (End(),
    // or what the receive loop saw). The received bytes are let go.
    void Report(ReceiveEnd end);

private:
    bool Stop(ReceiveEnd end) {
        end_ = end;
        return true;
    }
    bool OnTransferBytes();
    bool HandOver(std::size_t begin, std::size_t end);
    void StopReporting();
    void AppendStopLine(TextId text);

    LookupState& lookup_;
    ReplyBuffer reply_;            // the bytes not reported yet
    const std::int64_t limit_;     // the lookup's MaxReceived
    std::int64_t total_ = 0;       // every byte received
    TransferReport transfer_;
    TransferEnd transferEnd_;
    bool headerConsulted_ = false;
    ReceiveEnd end_ = ReceiveEnd::Closed;
};
