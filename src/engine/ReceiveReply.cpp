#include "ReceiveReply.h"

#include "Arrival.h"
#include "LookupState.h"

namespace {
// The most bytes one read takes.
constexpr int kPiece = 512;
}  // namespace

// Every pass either hands over at least one byte or leaves; the arrival
// stops at its limit at the latest.
ReceiveEnd ReceiveReply(LookupState& lookup, net::SocketHandle socket, Arrival& arrival) {
    std::uint8_t piece[kPiece];
    for (;;) {
        // An interrupt closes the socket after setting the flag: once the
        // flag is seen, the socket is no longer touched.
        if (lookup.InterruptRequested) return ReceiveEnd::Interrupted;
        const int got = net::Recv(socket, piece, kPiece);
        if (got <= 0) return ReceiveEnd::Closed;
        if (lookup.InterruptRequested) return ReceiveEnd::Interrupted;
        if (arrival.OnBytes(piece, static_cast<std::size_t>(got))) return arrival.End();
    }
}
