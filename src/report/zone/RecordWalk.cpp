#include "RecordWalk.h"

#include "SkipName.h"
#include "Wire.h"

RecordWalk::RecordWalk(ReplyReader& message) : message_(message) {
    message_.Seek(wire::kFlagsAt);
    flags_ = message_.U16();
    for (std::uint16_t& count : counts_) count = message_.U16();
    for (std::uint16_t i = 0; i < counts_[0] && message_.Ok(); ++i) {
        wire::SkipName(message_);
        message_.Skip(wire::kQuestionFixed);
    }
    leftInSection_ = counts_[1];
}

bool RecordWalk::Next(WireRecord& record) {
    while (leftInSection_ == 0) {
        if (section_ == 3) return false;
        leftInSection_ = counts_[++section_];
    }
    if (!message_.Ok()) return false;
    record.section = section_;
    record.start = message_.Pos();
    wire::SkipName(message_);
    record.type = message_.U16();
    record.klass = message_.U16();
    record.ttl = message_.U32();
    record.rdlength = message_.U16();
    record.rdata = message_.Pos();
    message_.Skip(record.rdlength);
    --leftInSection_;
    return message_.Ok();
}
