#include "ReceiveReply.h"

#include <new>

#include "LookupState.h"
#include "QueryTypes.h"
#include "Report.h"
#include "Wire.h"
#include "TransferEnd.h"
#include "TransferReport.h"

namespace {
// An ordinary reply is complete once its length prefix and that many
// message bytes have arrived.
bool IsComplete(const ReplyBuffer& reply) {
    return wire::NextMessage(reply.data(), static_cast<std::size_t>(reply.size()), 0) != 0;
}
}  // namespace

// Every pass either adds at least one byte or leaves, so the loop ends by
// the buffer's limit at the latest.
ReceiveEnd ReceiveReply(LookupState& lookup, net::SocketHandle socket,
                        ReplyBuffer& reply, TransferReport& transfer) {
    bool keepReading = lookup.QueryTypeIndex == kAxfrIndex;
    bool headerConsulted = false;
    TransferEnd transferEnd;
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
        // The header decides once it is whole, however the first bytes
        // were split into chunks; until then the reply may still turn out
        // to be a short ordinary one.
        if (keepReading && !headerConsulted && reply.size() >= static_cast<std::int32_t>(wire::kHeaderEnd)) {
            keepReading = lookup.ReportHeader(reply.data(), reply.size());
            headerConsulted = true;
            if (keepReading) {
                ReportContext report = lookup.Report();
                transfer.Begin(report);
            }
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
