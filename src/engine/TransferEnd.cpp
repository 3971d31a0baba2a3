#include "TransferEnd.h"

#include "ReplyReader.h"
#include "Wire.h"

// A message that cannot be read to its closing SOA does not end the
// transfer.
bool TransferEnd::OnMessage(const std::uint8_t* framed, std::size_t size) {
    if (ended_) return true;
    ReplyReader message(framed, size);
    RecordWalk walk(message);
    WireRecord record;
    while (!ended_ && walk.Next(record)) ended_ = OnRecord(record);
    return ended_;
}

bool TransferEnd::OnRecord(const WireRecord& record) {
    if (record.section != 1) return false;
    const bool closing = record.type == wire::kTypeSoa && answers_ > 0;
    ++answers_;
    return closing;
}
