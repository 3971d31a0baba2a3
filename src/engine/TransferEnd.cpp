#include "TransferEnd.h"

#include "ReplyReader.h"
#include "zone/RecordWalk.h"

namespace {
constexpr std::uint16_t kTypeSoa = 6;
}  // namespace

bool TransferEnd::Scan(const std::uint8_t* buffer, std::int32_t total) {
    ReplyReader stream(buffer, static_cast<std::size_t>(total));
    while (!ended_) {
        stream.seek(static_cast<std::size_t>(next_));
        const std::uint16_t length = stream.u16();
        const std::uint8_t* body = stream.bytes(length);
        if (!body) break;  // not complete yet
        ReplyReader message(body, length);
        ended_ = ScanMessage(message);
        next_ += 2 + length;
    }
    return ended_;
}

// True when this message holds the closing SOA. A message that cannot be
// read to its end simply does not end the transfer.
bool TransferEnd::ScanMessage(ReplyReader& message) {
    message.skip(4);  // ID and flags
    const std::uint16_t questions = message.u16();
    const std::uint16_t answers = message.u16();
    message.skip(4);  // authority and additional counts
    for (std::uint16_t i = 0; i < questions && message.ok(); ++i) {
        SkipName(message);
        message.skip(4);  // type and class
    }
    for (std::uint16_t i = 0; i < answers && message.ok(); ++i) {
        SkipName(message);
        const std::uint16_t type = message.u16();
        message.skip(6);  // class and time to live
        message.skip(message.u16());
        if (!message.ok()) return false;
        if (type == kTypeSoa && answers_ > 0) return true;
        ++answers_;
    }
    return false;
}
