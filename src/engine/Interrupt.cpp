#include "HeldSocket.h"
#include "LookupState.h"

void CloseHeldSocket(std::atomic<net::SocketHandle>& slot) {
    const net::SocketHandle socket = slot.exchange(net::kNoSocket);
    if (socket != net::kNoSocket) net::Close(socket);
}

// The flag is set before the socket is looked at, and the exchange
// publishes its socket before it looks at the flag: so either the
// interrupt finds the socket or the exchange finds the flag.
void LookupState::Interrupt() {
    InterruptRequested = 1;
    CloseHeldSocket(LookupSocket);
}
