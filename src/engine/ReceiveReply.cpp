#include "ReceiveReply.h"

#include <memory>
#include <new>

#include "Arrival.h"
#include "LookupState.h"

namespace {
// The most bytes one read takes: as much as has arrived, up to this. Few
// reads keep a long transfer cheap (each read is a system call, and a slow
// one under Wine); TCP hands over pieces of any size anyway, so no report
// depends on it.
constexpr int kPiece = 1 << 16;
}  // namespace

// Every pass either hands over at least one byte or leaves; the arrival
// stops at its limit at the latest.
ReceiveEnd ReceiveReply(LookupState& lookup, net::SocketHandle socket, Arrival& arrival) {
    const std::unique_ptr<std::uint8_t[]> piece(new (std::nothrow) std::uint8_t[kPiece]);
    if (!piece) return ReceiveEnd::OutOfMemory;
    for (;;) {
        // An interrupt closes the socket after setting the flag: once the
        // flag is seen, the socket is no longer touched.
        if (lookup.InterruptRequested) return ReceiveEnd::Interrupted;
        const int got = net::Recv(socket, piece.get(), kPiece);
        if (got <= 0) return ReceiveEnd::Closed;
        if (lookup.InterruptRequested) return ReceiveEnd::Interrupted;
        if (arrival.OnBytes(piece.get(), static_cast<std::size_t>(got))) return arrival.End();
    }
}
