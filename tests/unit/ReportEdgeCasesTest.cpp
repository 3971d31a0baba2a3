// What neither a captured reply nor an edge case of tests/data shows: each
// row is a reply (or a transfer stream) and the text its report must hold,
// at its end where `tail` says so.
#include <gtest/gtest.h>

#include "ReportTestSupport.h"

namespace {
const Bytes kQuestionAB = {0x01, 'a', 0x01, 'b', 0x00,  // a.b (message offset 12)
                           0x00, 0x01, 0x00, 0x01};     // type A, class IN
const Bytes kQuestionZ = {0x01, 'z', 0x00, 0x00, 0xFC, 0x00, 0x01};  // z AXFR IN
const std::string kQuestionLine =
    "> Questions:\n\ta.b\ttype: A (host address)  class: IN (Internet)\n";

Bytes A(std::uint8_t last) { return Record(kFirstName, 1, {10, 0, 0, last}); }
Bytes Z(std::uint8_t last) { return Record({0x01, 'z', 0x00}, 1, {10, 0, 0, last}, 60); }
std::string LineZ(int last) { return "\tz\t60 \tA\t10.0.0." + std::to_string(last) + "\n"; }
// An ordinary answer to a.b with the given records.
Bytes Answer(std::uint16_t an, const Bytes& records) {
    return Framed(Concat({Header(0x81, 0x80, 1, an), kQuestionAB, records}));
}
std::string Summary(int records, const Bytes& stream) {
    return "\nRecieved " + std::to_string(records) + " records (" +
           std::to_string(stream.size()) + " bytes) in reply to AXFR request.";
}

struct Row {
    const char* name;
    std::int32_t type;
    Bytes reply;
    std::string expected;
    bool tail;
    int records;  // -1: not checked
};

std::vector<Row> Rows() {
    const Bytes soa = {0x02, 'n', 's', 0xC0, 0x0C,  // primary ns.a.b
                       0x01, 'h', 0xC0, 0x0C,       // mailbox h.a.b
                       0xFF, 0xFF, 0xFF, 0xFF,      // serial
                       0x00, 0x00, 0x0E, 0x10,      // refresh 3600
                       0x80, 0x00, 0x00, 0x00,      // retry
                       0x7F, 0xFF, 0xFF, 0xFF,      // expire
                       0x00, 0x00, 0x00, 0x00};     // minimum
    Bytes nullData;
    for (int i = 0; i < 16; ++i) nullData.push_back(static_cast<std::uint8_t>(i * 17));
    for (std::uint8_t b : {0x01, 0x0A, 0xA0, 0xFF}) nullData.push_back(b);
    Bytes selfPointer = Concat({Header(0x84, 0, 0, 2), Z(2), Z(3)});
    selfPointer[12] = 0xC0;  // the first owner: a pointer into the record behind it
    selfPointer[13] = 0x1E;
    selfPointer[14] = 0x0F;
    const Bytes middle = Stream({Concat({Header(0x84, 0, 0, 1), Z(1)}), selfPointer,
                                 Concat({Header(0x84, 0, 0, 1), Z(4)})});
    const Bytes later = Concat({Stream({Concat({Header(0x84, 0, 1, 1), kQuestionZ, Z(1)})}),
                                {0x00, 0x00},  // an empty message
                                Stream({Concat({Header(0x84, 0, 2, 1), kQuestionZ, kQuestionZ,
                                                Z(2)})})});
    const std::string a = "\ta.b\t300 ";
    return {
        // Header: opcodes, flag words, result codes, counts, a short header.
        {"question", 1, Framed(Header(0x00, 0x00, 0, 0)),
         "\nDirect non-authoritative question: recursion not desired; recursion not available; "
         "result: succesful.\nContains 0 question entries, 0 answer entries, 0 nameserver records and "
         "0 additional records.\n\n", false, -1},
        {"inverse, AA", 1, Framed(Header(0x8C, 0x80, 0, 0)),
         "\nInverse authoritative answer: recursion not desired; recursion available; ", false, -1},
        {"opcode 15", 1, Framed(Header(0xF8, 0, 0, 0)), "\nUnknown (15) non-", false, -1},
        {"TC and RD", 1, Framed(Header(0x83, 0, 0, 0)), "desired; recursion not available; truncated message; ", false, -1},
        {"format error, Z bits", 1, Framed(Header(0x80, 0x71, 0, 0)), "; result: format error.\n", false, -1},
        {"rcode 15", 1, Framed(Header(0x80, 15, 0, 0)), "; result: unknown error (15).\n", false, -1},
        {"counts unsigned", 1, Framed(Header(0x80, 0, 256, 32768, 65535, 258)),
         "Contains 256 question entries, 32768 answer entries, 65535 nameserver records and 258 "
         "additional records.\n\n", false, -1},
        // Sections and record data.
        {"no question", 1,
         Framed(Concat({Header(0x81, 0x80, 0, 1), Record({0x00}, 1, {10, 0, 0, 1}, 5)})),
         "records.\n\n\n> Answers:\n\t\t5 \tA\t10.0.0.1\n", true, 1},
        {"two questions on one line, unknown type, CH", 1,
         Framed(Concat({Header(0x81, 0x80, 2, 0), kQuestionAB,
                        {0xC0, 0x0E, 0x01, 0x00, 0x00, 0x03}})),  // b, type 256, class CH
         "\ta.b\ttype: A (host address)  class: IN (Internet)\tb\ttype: Unknown (256)  class: CH "
         "(CHAOS)\n", true, 0},
        {"address unsigned, RDLENGTH stepped over", 1,
         Answer(2, Concat({Record(kFirstName, 1, {255, 128, 0, 7, 5, 6}), A(1)})),
         a + "\tA\t255.128.0.7\n" + a + "\tA\t10.0.0.1\n", true, 2},
        {"TTL signed", 1,
         Answer(2, Concat({Record(kFirstName, 1, {1, 1, 1, 1}, 0xFFFFFFFF),
                           Record(kFirstName, 1, {1, 1, 1, 1}, 0x80000000)})),
         "\ta.b\t-1 \tA\t1.1.1.1\n\ta.b\t-2147483648 \tA\t1.1.1.1\n", true, 2},
        {"SOA numbers signed", 1, Answer(1, Record(kFirstName, 6, soa)),
         "\tSOA\tns.a.b\n\t\t\temail:\th.a.b\n\t\t\tserial:\t-1\n\t\t\trefresh:\t3600\n"
         "\t\t\tretry:\t-2147483648\n\t\t\texpire\t2147483647\n\t\t\tminimum\t0\n", true, 1},
        {"NULL empty and over 16 bytes", 1,
         Answer(2, Concat({Record(kFirstName, 10, {}), Record(kFirstName, 10, nullData)})),
         a + "\tNULL\n\t\t\n" + a +
             "\tNULL\n\t\t00 11 22 33 44 55 66 77 88 99 aa bb cc dd ee ff \n01 0a a0 ff \n",
         true, 2},
        {"strings with a zero byte, empty, first only; MX without exchange", 1,
         Answer(4, Concat({Record(kFirstName, 13, {3, 'x', '8', '6', 4, 'L', 0, 'i', 'n'}),
                           Record(kFirstName, 13, {0, 0}),
                           Record(kFirstName, 16, {2, 'a', 'b', 2, 'c', 'd'}),
                           Record(kFirstName, 15, {0xFF, 0xFF, 0x00})})),
         a + "\tHINFO\tCPU:x86  OS:Lin\n" + a + "\tHINFO\tCPU:  OS:\n" + a + "\tTXT\tab\n" + a +
             "\tMX  65535\t\n", true, 4},
        // Malformed messages: entries up to the last whole one, then the line.
        {"bytes behind the announced length", 1,
         Concat({Framed(Concat({Header(0x81, 0x80, 1, 1), kQuestionAB})), A(1)}),
         kQuestionLine + "> Answers:\n" + MalformedLine(), true, 0},
        // Transfers: headings, later questions, broken and empty messages.
        {"transfer mode: only the additional heading", kAxfrIndex,
         Framed(Concat({Header(0x84, 0, 1, 1, 1, 1), kQuestionAB, A(1), A(2), A(3)})),
         "\n> Answers:\n" + a + "\tA\t10.0.0.1\n" + a + "\tA\t10.0.0.2\n" +
             "> Additional information:\n" + a + "\tA\t10.0.0.3\n",
         false, 3},
        {"malformed message in the middle ends only itself", kAxfrIndex, middle,
         "\n> Answers:\n" + LineZ(1) + MalformedLine() + LineZ(4) + Summary(2, middle), true, 2},
        {"later questions stepped over, empty message", kAxfrIndex, later,
         "\n> Answers:\n" + LineZ(1) + MalformedLine() + LineZ(2) + Summary(2, later), true, 2},
        {"refused transfer lists its records without headings", kAxfrIndex,
         Framed(Concat({Header(0x84, 9, 1, 1), kQuestionZ, Z(5)})),
         "unknown error (9).\n\n" + LineZ(5), true, 1},
        {"ordinary reply: only the first message", 1,
         Stream({Concat({Header(0x84, 0, 0, 1), Z(1)}), Concat({Header(0x84, 0, 0, 1), Z(2)})}),
         "62 bytes recieved\n", false, 1},
    };
}

TEST(ReportEdgeCases, EachReplyGivesItsText) {
    for (const Row& row : Rows()) {
        SCOPED_TRACE(row.name);
        ReportState state(row.type);
        const std::string report = state.Received(row.reply);
        if (row.tail) {
            ASSERT_GE(report.size(), row.expected.size()) << report;
            EXPECT_EQ(report.substr(report.size() - row.expected.size()), row.expected) << report;
        } else {
            EXPECT_NE(report.find(row.expected), std::string::npos) << report;
        }
        if (row.records >= 0) {
            EXPECT_EQ(state.RecordCount, row.records);
        }
    }
}

// A long owner name that every other record points to: names of up to 255
// bytes are reported however often they recur, never cut by the name-text
// budget (which the decoder's own tests run out).
TEST(ReportEdgeCases, RecurringNamesOfUpTo255BytesAreAllReported) {
    Bytes owner;
    for (int i = 0; i < 4; ++i) {  // 256 wire bytes
        owner.push_back(63);
        owner.insert(owner.end(), 63, 'x');
    }
    owner.push_back(0x00);
    Bytes message = Concat({Header(0x81, 0x80, 0, 4000), Record(owner, 1, {10, 0, 0, 1})});
    const Bytes pointing = Record(kFirstName, 1, {10, 0, 0, 1});
    for (int i = 1; i < 4000; ++i) message.insert(message.end(), pointing.begin(), pointing.end());
    ReportState state;
    state.Received(Framed(message));
    EXPECT_EQ(state.RecordCount, 4000);
    EXPECT_EQ(state.ReportText.find(MalformedLine()), std::string::npos);
}
}  // namespace
