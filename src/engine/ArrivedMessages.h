#pragma once
// Hands every message of a reply to LookupState::MessageArrived as soon as
// the received bytes hold it whole, each once and in order.
#include <cstdint>

class LookupState;

class ArrivedMessages {
public:
    // The received bytes [0, total), length prefixes included.
    void Feed(LookupState& lookup, const std::uint8_t* buffer, std::int32_t total);

private:
    std::int32_t next_ = 0;  // offset of the next length prefix
};
