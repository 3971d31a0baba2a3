#pragma once
// Steps through the records of one DNS message, framed as it arrives over
// TCP (positions count from the length prefix, so the header stands at 2 to
// 13). Names are stepped over, not decoded; every read goes through the
// reader, and a message that runs past its bytes fails it.
#include <cstdint>

#include "ReplyReader.h"

struct WireRecord {
    int section = 0;       // 1 answer, 2 authority, 3 additional
    std::size_t start = 0;  // the owner name
    std::uint16_t type = 0;
    std::uint16_t klass = 0;
    std::uint32_t ttl = 0;
    std::uint16_t rdlength = 0;
    std::size_t rdata = 0;
    std::size_t End() const { return rdata + rdlength; }
};

class RecordWalk {
public:
    // Reads the header and steps over the questions.
    explicit RecordWalk(ReplyReader& message);
    // The next record, or false at the end of the sections or when the
    // message breaks off (then the reader's error is set).
    bool Next(WireRecord& record);
    std::uint16_t Flags() const { return flags_; }

private:
    ReplyReader& message_;
    std::uint16_t flags_ = 0;
    std::uint16_t counts_[4] = {};  // questions, answers, authority, additional
    int section_ = 1;
    std::uint16_t leftInSection_ = 0;
};
