#pragma once
// Finds the end of a zone-transfer stream. Name servers keep the connection
// open after the last message of a transfer, so the end is seen in the data:
// the message that carries the closing SOA, an answer record of type SOA
// that is not the first record of the transfer. The caller hands over each
// message once, in order, as soon as it has arrived in full; names are
// stepped over, not decoded.
#include <cstddef>
#include <cstdint>

#include "zone/RecordWalk.h"

class TransferEnd {
public:
    // Scans the next whole message, length prefix included. True from the
    // message that carries the closing SOA on.
    bool OnMessage(const std::uint8_t* framed, std::size_t size);
    // The next record of the transfer, for a caller that walks the records
    // itself: true for the closing SOA.
    bool OnRecord(const WireRecord& record);

private:
    std::uint32_t answers_ = 0; // answer records seen so far
    bool ended_ = false;
};
