#include "TransferEnd.h"

#include "ReplyReader.h"
#include "SkipName.h"
#include "Wire.h"

bool TransferEnd::OnMessage(const std::uint8_t* framed, std::size_t size) {
    if (ended_ || size < wire::kPrefixSize) return ended_;
    ReplyReader message(framed + wire::kPrefixSize, size - wire::kPrefixSize);
    ended_ = ScanMessage(message);
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
        wire::SkipName(message);
        message.Skip(wire::kQuestionFixed);
    }
    for (std::uint16_t i = 0; i < answers && message.Ok(); ++i) {
        wire::SkipName(message);
        const std::uint16_t type = message.U16();
        message.Skip(wire::kRecordLengthAt - 2);  // class and time to live
        message.Skip(message.U16());
        if (!message.Ok()) return false;
        if (type == wire::kTypeSoa && answers_ > 0) return true;
        ++answers_;
    }
    return false;
}
