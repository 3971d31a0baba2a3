#pragma once
// The receive loop of a TCP lookup: reads what has arrived and hands it to
// the arrival, until the arrival has all it wants, the connection ends or an
// interrupt is requested. The interrupt is looked at after every read, and
// a piece that arrives together with it is dropped.
#include "sockets/Sockets.h"

class Arrival;
class LookupState;
enum class ReceiveEnd;

ReceiveEnd ReceiveReply(LookupState& lookup, net::SocketHandle socket, Arrival& arrival);
