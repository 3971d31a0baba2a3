#pragma once
// The time to live, type tag and data of one record, written into a batch so
// that a message's records share one (LookupState::ReportRecordData writes
// through a batch of its own).
#include <cstdint>

#include "ReportAppend.h"

class ReplyReader;
class ReportBatch;

// The text of the last time to live written ("\t%d "), kept from record to
// record: the records of a zone mostly share a few values.
struct TimeToLiveText {
    bool known = false;
    std::int32_t value = 0;
    std::uint8_t length = 0;
    char text[kDecimalDigits + 2] = {};
};

void WriteRecordData(ReportBatch& out, ReplyReader& reply, int position, TimeToLiveText& ttl);
