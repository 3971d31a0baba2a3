#include "ReceiveReply.h"

#include <new>

#include "ArrivedMessages.h"
#include "LookupState.h"
#include "ReplyReader.h"
#include "TransferEnd.h"
#include "TransferReport.h"

namespace {
// The length prefix and the 12 bytes of a message header.
constexpr int kHeaderEnd = 14;

// An ordinary reply is complete once its length prefix and that many
// message bytes have arrived.
bool IsComplete(const ReplyBuffer& reply) {
    ReplyReader reader(reply.data(), static_cast<std::size_t>(reply.size()));
    const std::uint16_t length = reader.u16();
    return reader.ok() && reply.size() >= length + 2;
}
}  // namespace

// Every pass either adds at least one byte or leaves, so the loop ends by
// the buffer's limit at the latest.
ReceiveEnd ReceiveReply(LookupState& lookup, net::SocketHandle socket,
                        ReplyBuffer& reply, TransferReport& transfer) {
    bool keepReading = lookup.QueryTypeIndex == LookupState::kAxfrIndex;
    bool headerConsulted = false;
    TransferEnd transferEnd;
    ArrivedMessages arrived;
    for (;;) {
        const int room = reply.MakeRoom();
        if (room < 0) return ReceiveEnd::OutOfMemory;
        if (room == 0) return ReceiveEnd::SizeLimit;
        // An interrupt closes the socket after setting the flag: once the
        // flag is seen, the socket is no longer touched.
        if (lookup.InterruptRequested) return ReceiveEnd::Interrupted;
        const int got = net::Recv(socket, reply.ReadSpace(), room);
        if (got <= 0) return ReceiveEnd::Closed;
        if (lookup.InterruptRequested) return ReceiveEnd::Interrupted;
        reply.Add(got);
        arrived.Feed(lookup, reply.data(), reply.size());
        // The header decides once it is whole, however the first bytes
        // were split into chunks; until then the reply may still turn out
        // to be a short ordinary one.
        if (keepReading && !headerConsulted && reply.size() >= kHeaderEnd) {
            keepReading = lookup.ReportHeader(reply.data(), reply.size());
            headerConsulted = true;
            if (keepReading) transfer.Begin(lookup);
        }
        if (!transfer.Begun()) {
            if (IsComplete(reply)) return ReceiveEnd::Complete;
            continue;
        }
        const bool done = transferEnd.Scan(reply.data(), reply.size());
        try {
            lookup.ReportArrivedMessages(transfer, reply.data(), reply.size());
        } catch (const std::bad_alloc&) {
            return ReceiveEnd::ReportOutOfMemory;
        }
        if (done) return ReceiveEnd::Complete;
    }
}
