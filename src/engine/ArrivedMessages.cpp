#include "ArrivedMessages.h"

#include "LookupState.h"
#include "ReplyReader.h"

void ArrivedMessages::Feed(LookupState& lookup, const std::uint8_t* buffer, std::int32_t total) {
    ReplyReader stream(buffer, static_cast<std::size_t>(total));
    for (;;) {
        stream.seek(static_cast<std::size_t>(next_));
        const std::uint16_t length = stream.u16();
        if (!stream.bytes(length)) return;  // not whole yet
        lookup.MessageArrived(buffer + next_, 2 + length);
        next_ += 2 + length;
    }
}
