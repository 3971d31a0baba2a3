#include "TransferEnd.h"

#include "ReplyReader.h"
#include "Wire.h"

namespace {

// Steps over an encoded name: labels up to the root or a compression
// pointer. A label kind that is neither fails the reader.
void SkipName(ReplyReader& reader) {
    while (reader.Ok()) {
        const std::uint8_t length = reader.U8();
        if (length == 0) return;
        if ((length & wire::kPointerBits) == wire::kPointerBits) return reader.Skip(1);
        if (length & wire::kPointerBits) return reader.Fail();
        reader.Skip(length);
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
    message.Seek(wire::kQuestionCountAt - wire::kPrefixSize);
    const std::uint16_t questions = message.U16();
    const std::uint16_t answers = message.U16();
    message.Seek(wire::kHeaderSize);
    for (std::uint16_t i = 0; i < questions && message.Ok(); ++i) {
        SkipName(message);
        message.Skip(wire::kQuestionFixed);
    }
    for (std::uint16_t i = 0; i < answers && message.Ok(); ++i) {
        SkipName(message);
        const std::uint16_t type = message.U16();
        message.Skip(wire::kRecordLengthAt - 2);  // class and time to live
        message.Skip(message.U16());
        if (!message.Ok()) return false;
        if (type == wire::kTypeSoa && answers_ > 0) return true;
        ++answers_;
    }
    return false;
}
