#pragma once
// The receive loop of a TCP lookup: reads the reply into the buffer, in
// reads of at most 512 bytes, until it is complete, the connection ends,
// an interrupt is requested or the buffer can take no more.
#include "ReplyBuffer.h"
#include "sockets/Sockets.h"

class LookupState;
class TransferReport;

enum class ReceiveEnd {
    Complete,     // an ordinary reply's announced length, or a whole transfer
    Closed,       // the server closed the connection or a read failed
    Interrupted,  // the chunk that came with the request was dropped
    SizeLimit,    // the buffer reached the lookup's MaxReceived
    OutOfMemory,  // the buffer could not grow
    ReportOutOfMemory,  // the transfer's report could not grow
};

// For a zone transfer (QueryTypeIndex 17) the header of the first message
// is reported once, as soon as it has arrived whole; when it is successful,
// `transfer` begins and reports each message as soon as it has arrived
// whole, and reading goes on to the message that carries the closing SOA
// (or to the close).
ReceiveEnd ReceiveReply(LookupState& lookup, net::SocketHandle socket,
                        ReplyBuffer& reply, TransferReport& transfer);
