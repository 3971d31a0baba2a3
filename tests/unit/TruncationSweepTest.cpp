#include <gtest/gtest.h>

#include "ReportTestSupport.h"

namespace {
// A reply with a question and records of many kinds, compressed names included.
const Bytes kRichReply = Framed({
    0xBE, 0xEF,                                  // id
    0x85, 0x80,                                  // answer, AA, RD, RA, RCODE 0
    0x00, 0x01, 0x00, 0x05, 0x00, 0x01, 0x00, 0x01,  // 1 question, 5 answers, 1 ns, 1 ar
    0x02, 'e', 'x', 0x00, 0x00, 0xFF, 0x00, 0x01,  // 14: question ex ANY IN
    // answer 1: ex SOA
    0xC0, 0x0C, 0x00, 0x06, 0x00, 0x01, 0x00, 0x00, 0x0E, 0x10, 0x00, 0x1D,  // owner, type, class, TTL, RDLENGTH 29
    0x02, 'n', 's', 0xC0, 0x0C,                  // primary ns.ex
    0x01, 'h', 0xC0, 0x0C,                       // mailbox h.ex
    0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x0E, 0x10, 0x00, 0x00, 0x02, 0x58,  // serial refresh retry
    0x00, 0x09, 0x3A, 0x80, 0x00, 0x00, 0x01, 0x2C,  // expire minimum
    // answer 2: ex MX 10 mx.ex
    0xC0, 0x0C, 0x00, 0x0F, 0x00, 0x01, 0x00, 0x00, 0x0E, 0x10, 0x00, 0x07,
    0x00, 0x0A, 0x02, 'm', 'x', 0xC0, 0x0C,      // preference 10, exchange mx.ex
    // answer 3: ex TXT "hi" "yo"
    0xC0, 0x0C, 0x00, 0x10, 0x00, 0x01, 0x00, 0x00, 0x0E, 0x10, 0x00, 0x06,
    0x02, 'h', 'i', 0x02, 'y', 'o',              // two strings
    // answer 4: ex HINFO "c" "o"
    0xC0, 0x0C, 0x00, 0x0D, 0x00, 0x01, 0x00, 0x00, 0x0E, 0x10, 0x00, 0x04,
    0x01, 'c', 0x01, 'o',                        // CPU, OS
    // answer 5: ex NULL 18 bytes
    0xC0, 0x0C, 0x00, 0x0A, 0x00, 0x01, 0x00, 0x00, 0x0E, 0x10, 0x00, 0x12,
    0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17,  // data
    // authority: ex NS ns.ex (pointer into the SOA)
    0xC0, 0x0C, 0x00, 0x02, 0x00, 0x01, 0x00, 0x00, 0x0E, 0x10, 0x00, 0x02,
    0xC0, 0x20,                                  // ns.ex at message offset 32
    // additional: ns.ex A 127.0.0.1
    0xC0, 0x20, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x0E, 0x10, 0x00, 0x04,
    127, 0, 0, 1,                                // address
});

// Three transfer messages; the first carries the question.
const Bytes kTransfer = Stream({
    {0x00, 0x02, 0x84, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00,  // header: 1 q, 1 an
     0x01, 'z', 0x00, 0x00, 0xFC, 0x00, 0x01,                                 // question z AXFR IN
     0xC0, 0x0C, 0x00, 0x02, 0x00, 0x01, 0x00, 0x00, 0x00, 0x3C, 0x00, 0x05,  // z NS, TTL 60
     0x02, 'n', 's', 0xC0, 0x0C},                                             // ns.z
    {0x00, 0x02, 0x84, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00,  // header: 2 an
     0x01, 'a', 0x01, 'z', 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0x3C,
     0x00, 0x04, 10, 0, 0, 1,                                                 // a.z A 10.0.0.1
     0x01, 'b', 0xC0, 0x0E, 0x00, 0x05, 0x00, 0x01, 0x00, 0x00, 0x00, 0x3C,
     0x00, 0x02, 0xC0, 0x0C},                                                 // b.z CNAME a.z
    {0x00, 0x02, 0x84, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00,  // header: 1 an
     0x01, 'z', 0x00, 0x00, 0x10, 0x00, 0x01, 0x00, 0x00, 0x00, 0x3C,
     0x00, 0x03, 0x02, 'o', 'k'},                                             // z TXT "ok"
});

std::string WithoutMalformedLines(std::string text) {
    const std::string line = MalformedLine();
    for (std::size_t at; (at = text.find(line)) != std::string::npos;) text.erase(at, line.size());
    return text;
}

std::string AfterFirstLine(const std::string& text) { return text.substr(text.find('\n') + 1); }

// Every prefix of a valid reply gives a clean report: the raw dump of a short
// header, or the header and the entries that arrived whole, each exactly as
// in the full report, and at most the malformed line where the bytes ran out.
void SweepPrefixes(const Bytes& full, std::int32_t typeIndex) {
    ASSERT_GE(full.size(), 14u);
    ReportState whole(typeIndex);
    const std::string fullBody = AfterFirstLine(whole.Received(full));
    ASSERT_EQ(fullBody.find(MalformedLine()), std::string::npos);
    for (std::size_t n = 0; n < full.size(); ++n) {
        ReportState state(typeIndex);
        const Bytes prefix(full.begin(), full.begin() + static_cast<long>(n));
        const std::string report = state.Received(prefix);
        if (n < 14) {
            const std::string expected =
                n == 0 ? "Lookup failed: no data recieved"
                       : "Reply from 127.0.0.1 : " + std::to_string(n) +
                             " bytes recieved\nheader is incomplete";
            EXPECT_EQ(report.compare(0, expected.size(), expected), 0) << n;
            continue;
        }
        std::string body = WithoutMalformedLines(AfterFirstLine(report));
        if (typeIndex == kAxfrIndex) {
            const std::string summary = "\nRecieved " + std::to_string(state.RecordCount) +
                                        " records (" + std::to_string(n) + " bytes)";
            ASSERT_NE(report.find(summary), std::string::npos) << n;
            body = body.substr(0, body.rfind(summary));
        } else if (body.size() > 1 && body.back() == '\n' && fullBody.compare(0, body.size(), body) != 0) {
            body.pop_back();  // the line end put before the malformed line
        }
        EXPECT_EQ(fullBody.compare(0, body.size(), body), 0) << n << "\n" << report;
        EXPECT_LE(state.RecordCount, whole.RecordCount) << n;
    }
}

TEST(TruncationSweep, EveryPrefixOfAnOrdinaryReply) { SweepPrefixes(kRichReply, 1); }

TEST(TruncationSweep, EveryPrefixOfAZoneTransfer) {
    SweepPrefixes(kTransfer, kAxfrIndex);
}

TEST(TruncationSweep, EveryPrefixOfCapturedReplies) {
    for (const char* name : {"bind-any", "knot-nxdomain", "bind-soa", "knot-null"})
        SweepPrefixes(CapturedReply(name), 1);
    for (const char* name : {"bind-axfr", "knot-axfr"})
        SweepPrefixes(CapturedReply(name), kAxfrIndex);
}

TEST(TruncationSweep, FullReportsAreAsExpected) {
    ReportState ordinary;
    EXPECT_EQ(AfterFirstLine(ordinary.Received(kRichReply)),
              "Direct authoritative answer: recursion desired; recursion available; result: "
              "succesful.\nContains 1 question entries, 5 answer entries, 1 nameserver records "
              "and 1 additional records.\n\n"
              "> Questions:\n\tex\ttype: ANY (all records)  class: IN (Internet)\n"
              "> Answers:\n"
              "\tex\t3600 \tSOA\tns.ex\n\t\t\temail:\th.ex\n\t\t\tserial:\t1\n\t\t\trefresh:\t3600"
              "\n\t\t\tretry:\t600\n\t\t\texpire\t604800\n\t\t\tminimum\t300\n"
              "\tex\t3600 \tMX  10\tmx.ex\n"
              "\tex\t3600 \tTXT\thi\n"
              "\tex\t3600 \tHINFO\tCPU:c  OS:o\n"
              "\tex\t3600 \tNULL\n\t\t00 01 02 03 04 05 06 07 08 09 0a 0b 0c 0d 0e 0f \n10 11 \n"
              "> Authoritative name servers:\n\tex\t3600 \tNS\tns.ex\n"
              "> Additional information:\n\tns.ex\t3600 \tA\t127.0.0.1\n");
    EXPECT_EQ(ordinary.RecordCount, 7);
    ReportState transfer(kAxfrIndex);
    EXPECT_EQ(AfterFirstLine(transfer.Received(kTransfer)),
              "Direct authoritative answer: recursion not desired; recursion not available; "
              "result: succesful.\n\n> Answers:\n\tz\t60 \tNS\tns.z\n\ta.z\t60 \tA\t10.0.0.1\n"
              "\tb.z\t60 \tCNAME\ta.z\n\tz\t60 \tTXT\tok\n\nRecieved 4 records (" +
                  std::to_string(kTransfer.size()) + " bytes) in reply to AXFR request.");
}
}  // namespace
