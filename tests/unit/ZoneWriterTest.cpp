// Zone-file lines of single records: escaping of names and strings, names
// through compression pointers, and the generic form for types without a
// layout and for data that does not read by its layout.
#include <gtest/gtest.h>

#include "ReplyReader.h"
#include "ReportTestSupport.h"
#include "zone/RecordWalk.h"
#include "zone/ZoneWriter.h"

namespace {
struct ZoneCase {
    std::uint16_t type;
    Bytes rdata;
    const char* line;
};

// A framed message of one answer owned by a.example.
Bytes Message(std::uint16_t type, const Bytes& rdata) {
    return Framed(Concat({Header(0x84, 0, 0, 1), Record({1, 'a', 7, 'e', 'x', 'a', 'm', 'p', 'l', 'e', 0}, type, rdata)}));
}

const ZoneCase kCases[] = {
    {1, {192, 0, 2, 1}, "a.example.\t300\tIN\tA\t192.0.2.1\n"},
    {28, {0x20, 1, 0xd, 0xb8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1},
     "a.example.\t300\tIN\tAAAA\t2001:db8::1\n"},
    // The exchange points back at the owner.
    {15, {0, 10, 4, 'm', 'a', 'i', 'l', 0xc0, 12}, "a.example.\t300\tIN\tMX\t10 mail.a.example.\n"},
    {5, {5, 'a', '.', 'b', ' ', '"', 0}, "a.example.\t300\tIN\tCNAME\ta\\.b\\032\\\".\n"},
    {16, {4, 'x', '"', '\\', 1, 0}, "a.example.\t300\tIN\tTXT\t\"x\\\"\\\\\\001\" \"\"\n"},
    {65280, {1, 2}, "a.example.\t300\tIN\tTYPE65280\t\\# 2 0102\n"},
    {1, {192, 0, 2}, "a.example.\t300\tIN\tTYPE1\t\\# 3 C00002\n"},
    {16, {}, "a.example.\t300\tIN\tTYPE16\t\\# 0\n"},
    {50, {1, 0, 0, 10, 0, 1, 0x88, 0, 6, 0x40, 0, 0, 0, 0, 3},
     "a.example.\t300\tIN\tNSEC3\t1 0 10 - H0 A RRSIG NSEC\n"},
};
}  // namespace

TEST(ZoneWriter, RecordLines) {
    for (const ZoneCase& c : kCases) {
        SCOPED_TRACE(c.line);
        const Bytes bytes = Message(c.type, c.rdata);
        ReplyReader message(bytes.data(), bytes.size());
        RecordWalk walk(message);
        WireRecord record;
        ASSERT_TRUE(walk.Next(record));
        std::string out;
        AppendZoneRecord(out, message, record);
        EXPECT_EQ(out, c.line);
    }
}
