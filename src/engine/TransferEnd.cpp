#include "TransferEnd.h"

#include "ReplyReader.h"
#include "Wire.h"

namespace {

// Steps over an encoded name: labels up to the root or a compression
// pointer. A label kind that is neither fails the reader.
void SkipName(ReplyReader& reader) {
    while (reader.ok()) {
        const std::uint8_t length = reader.u8();
        if (length == 0) return;
        if ((length & wire::kPointerBits) == wire::kPointerBits) return reader.skip(1);
        if (length & wire::kPointerBits) return reader.fail();
        reader.skip(length);
    }
}
}  // namespace

bool TransferEnd::Scan(const std::uint8_t* buffer, std::size_t size) {
    while (!ended_) {
        const std::size_t next = wire::NextMessage(buffer, size, next_);
        if (next == 0) break;  // not complete yet
        ReplyReader message(buffer + next_ + wire::kPrefixSize, next - next_ - wire::kPrefixSize);
        ended_ = ScanMessage(message);
        next_ = next;
    }
    return ended_;
}

// True when this message holds the closing SOA. A message that cannot be
// read to its end simply does not end the transfer.
bool TransferEnd::ScanMessage(ReplyReader& message) {
    // The message without its prefix: header positions are 2 bytes less.
    message.seek(wire::kQuestionCountAt - wire::kPrefixSize);
    const std::uint16_t questions = message.u16();
    const std::uint16_t answers = message.u16();
    message.seek(wire::kHeaderSize);
    for (std::uint16_t i = 0; i < questions && message.ok(); ++i) {
        SkipName(message);
        message.skip(wire::kQuestionFixed);
    }
    for (std::uint16_t i = 0; i < answers && message.ok(); ++i) {
        SkipName(message);
        const std::uint16_t type = message.u16();
        message.skip(wire::kRecordLengthAt - 2);  // class and time to live
        message.skip(message.u16());
        if (!message.ok()) return false;
        if (type == wire::kTypeSoa && answers_ > 0) return true;
        ++answers_;
    }
    return false;
}
