#pragma once
// What the record report keeps from one record to the next.
#include <cstdint>

#include "ReportAppend.h"

// The text of the last time to live written ("\t%d "), kept from record to
// record: the records of a zone mostly share a few values.
struct TimeToLiveText {
    bool known = false;
    std::int32_t value = 0;
    std::uint8_t length = 0;
    char text[kDecimalDigits + 2] = {};
};
