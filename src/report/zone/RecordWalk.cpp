#include "RecordWalk.h"

void SkipName(ReplyReader& reader) {
    while (reader.ok()) {
        const std::uint8_t length = reader.u8();
        if (length == 0) return;
        if ((length & 0xC0) == 0xC0) return reader.skip(1);
        if (length & 0xC0) return reader.fail();
        reader.skip(length);
    }
}

RecordWalk::RecordWalk(ReplyReader& message) : message_(message) {
    message_.seek(2);
    id_ = message_.u16();
    flags_ = message_.u16();
    for (std::uint16_t& count : counts_) count = message_.u16();
    for (std::uint16_t i = 0; i < counts_[0] && message_.ok(); ++i) {
        SkipName(message_);
        message_.skip(4);
    }
    leftInSection_ = counts_[1];
}

bool RecordWalk::Next(WireRecord& record) {
    while (leftInSection_ == 0) {
        if (section_ == 3) return false;
        leftInSection_ = counts_[++section_];
    }
    if (!message_.ok()) return false;
    record.section = section_;
    record.start = message_.pos();
    SkipName(message_);
    record.type = message_.u16();
    record.klass = message_.u16();
    record.ttl = message_.u32();
    record.rdlength = message_.u16();
    record.rdata = message_.pos();
    message_.skip(record.rdlength);
    --leftInSection_;
    return message_.ok();
}
