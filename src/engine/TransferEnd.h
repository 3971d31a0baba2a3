#pragma once
// Finds the end of a zone-transfer stream. Name servers keep the connection
// open after the last message of a transfer, so the end is seen in the data:
// the message that carries the closing SOA, an answer record of type SOA
// that is not the first record of the transfer. The caller hands over each
// message once, in order, as soon as it has arrived in full; names are
// stepped over, not decoded.
#include <cstddef>
#include <cstdint>

class ReplyReader;

class TransferEnd {
public:
    // Scans the next whole message, length prefix included. True from the
    // message that carries the closing SOA on.
    bool OnMessage(const std::uint8_t* framed, std::size_t size);

private:
    bool ScanMessage(ReplyReader& message);

    std::uint32_t answers_ = 0; // answer records scanned so far
    bool ended_ = false;
};
