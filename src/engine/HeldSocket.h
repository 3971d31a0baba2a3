#pragma once
// The socket of a running TCP exchange is held in LookupSocket, where both
// the exchange and an interrupt from another thread may close it. Whoever
// takes it out first (an atomic exchange) closes it; the other finds
// nothing there, so the socket is closed exactly once.
#include <atomic>

#include "sockets/Sockets.h"

void CloseHeldSocket(std::atomic<net::SocketHandle>& slot);
