#pragma once
// Finds the end of a zone-transfer stream. Name servers keep the connection
// open after the last message of a transfer, so the end is seen in the data:
// the message that carries the closing SOA, an answer record of type SOA
// that is not the first record of the transfer. Each message is scanned
// once, as soon as it has arrived in full; names are stepped over, not
// decoded.
#include <cstddef>
#include <cstdint>

class ReplyReader;

class TransferEnd {
public:
    // Scans the messages that the received bytes [0, total) complete since
    // the last call (length prefixes included). True once the message that
    // carries the closing SOA has arrived in full.
    bool Scan(const std::uint8_t* buffer, std::size_t size);
    // Offsets count from `count` bytes further on (the caller let those go,
    // all of them scanned).
    void Forget(std::size_t count) { next_ -= count; }

private:
    bool ScanMessage(ReplyReader& message);

    std::size_t next_ = 0;     // offset of the next unscanned length prefix
    std::uint32_t answers_ = 0; // answer records scanned so far
    bool ended_ = false;
};
