#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ReportTestSupport.h"

namespace {
// Header of a reply: id, flags (answer, RD, RA, RCODE 0) and the counts.
Bytes HeaderWith(std::uint16_t qd, std::uint16_t an, std::uint16_t ns, std::uint16_t ar) {
    auto hi = [](std::uint16_t v) { return static_cast<std::uint8_t>(v >> 8); };
    auto lo = [](std::uint16_t v) { return static_cast<std::uint8_t>(v & 0xFF); };
    return {0x00, 0x01,             // id
            0x81, 0x80,             // flags
            hi(qd), lo(qd),         // question count
            hi(an), lo(an),         // answer count
            hi(ns), lo(ns),         // authority count
            hi(ar), lo(ar)};        // additional count
}

const Bytes kQuestionAB = {0x01, 'a', 0x01, 'b', 0x00,  // name a.b (buffer 14)
                           0x00, 0x01,                  // type A
                           0x00, 0x01};                 // class IN

// A record owned by a.b (pointer to buffer 14) with TTL 300.
Bytes RecordAB(std::uint16_t type, const Bytes& rdata) {
    Bytes r = {0xC0, 0x0C,                                   // owner: pointer to a.b
               static_cast<std::uint8_t>(type >> 8),
               static_cast<std::uint8_t>(type & 0xFF),      // type
               0x00, 0x01,                                   // class IN
               0x00, 0x00, 0x01, 0x2C,                       // TTL 300
               static_cast<std::uint8_t>(rdata.size() >> 8),
               static_cast<std::uint8_t>(rdata.size() & 0xFF)};  // RDLENGTH
    for (std::uint8_t b : rdata) r.push_back(b);
    return r;
}

std::string Sections(ReportState& state, const Bytes& framed) {
    state.ReportText.clear();
    state.ReportSections(framed.data(), static_cast<int>(framed.size()));
    return state.ReportText;
}

// The record line of a single answer of the given type and data.
std::string RecordLine(std::uint16_t type, const Bytes& rdata) {
    ReportState state;
    const std::string all = Sections(
        state, Framed(Concat({HeaderWith(1, 1, 0, 0), kQuestionAB, RecordAB(type, rdata)})));
    const std::string lead = "> Answers:\n\ta.b\t300 ";
    const std::size_t at = all.find(lead);
    return at == std::string::npos ? all : all.substr(at + lead.size());
}

// --- Questions ----------------------------------------------------------------

TEST(SectionQuestions, OneQuestionAndOneAnswer) {
    ReportState state;
    EXPECT_EQ(Sections(state, Framed(Concat({HeaderWith(1, 1, 0, 0), kQuestionAB,
                                             RecordAB(1, {192, 0, 2, 1})}))),
              "> Questions:\n\ta.b\ttype: A (host address)  class: IN (Internet)\n"
              "> Answers:\n\ta.b\t300 \tA\t192.0.2.1\n");
    EXPECT_EQ(state.RecordCount, 1);
}

TEST(SectionQuestions, NoQuestionsStillEndTheLineAndRecordsStartAt14) {
    ReportState state;
    const Bytes answer = {0x00,                    // owner: root (buffer 14)
                          0x00, 0x01,              // type A
                          0x00, 0x01,              // class IN
                          0x00, 0x00, 0x00, 0x05,  // TTL 5
                          0x00, 0x04,              // RDLENGTH
                          10, 0, 0, 1};            // 10.0.0.1
    EXPECT_EQ(Sections(state, Framed(Concat({HeaderWith(0, 1, 0, 0), answer}))),
              "\n> Answers:\n\t\t5 \tA\t10.0.0.1\n");
}

TEST(SectionQuestions, TwoQuestionsShareOneLine) {
    ReportState state;
    const Bytes second = {0xC0, 0x0E,   // name: pointer to "b" (buffer 16)
                          0x00, 0xFC,   // type AXFR
                          0x00, 0x03};  // class CH
    EXPECT_EQ(Sections(state, Framed(Concat({HeaderWith(2, 0, 0, 0), kQuestionAB, second}))),
              "> Questions:\n\ta.b\ttype: A (host address)  class: IN (Internet)"
              "\tb\ttype: AXFR (transfer of an entire zone)  class: CH (CHAOS)\n");
}

TEST(SectionQuestions, EveryTypeAndClassText) {
    const struct {
        std::uint16_t type;
        const char* text;
    } types[] = {{1, "A (host address)"},
                 {2, "NS (authoritative name server)"},
                 {3, "MD (mail destination)"},
                 {4, "MF (mail forwarder)"},
                 {5, "CNAME (the canonical name for an alias)"},
                 {6, "SOA (start of a zone of authority)"},
                 {7, "MB (mailbox domain name)"},
                 {8, "MG (mail group member)"},
                 {9, "MR (mail rename domain name)"},
                 {10, "NULL (null RR)"},
                 {11, "WKS (well known service description)"},
                 {12, "PTR (domain name pointer)"},
                 {13, "HINFO (host information)"},
                 {14, "MINFO (mailbox or mail list information)"},
                 {15, "MX (mail exchange)"},
                 {16, "TXT (text strings)"},
                 {252, "AXFR (transfer of an entire zone)"},
                 {253, "MAILB (mailbox-related RRs (MB, MG or MR))"},
                 {254, "MAILA (mail agent RRs)"},
                 {255, "ANY (all records)"},
                 {0, "Unknown (0)"},
                 {17, "Unknown (17)"},
                 {28, "Unknown (28)"},
                 {251, "Unknown (251)"},
                 {256, "Unknown (256)"},
                 {65535, "Unknown (65535)"}};
    const struct {
        std::uint16_t cls;
        const char* text;
    } classes[] = {{1, "IN (Internet)"}, {2, "CS (CSNET)"},      {3, "CH (CHAOS)"},
                   {4, "HS (Hesiod)"},   {0, "Unknown (0)"},    {255, "Unknown (255)"},
                   {65535, "Unknown (65535)"}};
    for (const auto& t : types) {
        for (const auto& c : classes) {
            const Bytes question = {0x00,  // root
                                    static_cast<std::uint8_t>(t.type >> 8),
                                    static_cast<std::uint8_t>(t.type & 0xFF),  // type
                                    static_cast<std::uint8_t>(c.cls >> 8),
                                    static_cast<std::uint8_t>(c.cls & 0xFF)};  // class
            ReportState state;
            EXPECT_EQ(Sections(state, Framed(Concat({HeaderWith(1, 0, 0, 0), question}))),
                      std::string("> Questions:\n\t\ttype: ") + t.text + "  class: " + c.text +
                          "\n");
        }
    }
}

// --- Records ---------------------------------------------------------------------

TEST(SectionRecords, SingleNameTypes) {
    const Bytes target = {0x02, 'n', 's', 0xC0, 0x0C};  // ns.a.b
    const struct {
        std::uint16_t type;
        const char* tag;
    } cases[] = {{2, "NS"}, {3, "MD"}, {4, "MF"}, {5, "CNAME"},
                 {7, "MB"}, {8, "MG"}, {9, "MR"}, {12, "PTR"}};
    for (const auto& c : cases)
        EXPECT_EQ(RecordLine(c.type, target), std::string("\t") + c.tag + "\tns.a.b\n");
}

TEST(SectionRecords, AddressBytesAreUnsignedAndRdlengthIsNotConsulted) {
    EXPECT_EQ(RecordLine(1, {255, 128, 0, 7}), "\tA\t255.128.0.7\n");
    // RDLENGTH 6: the address is the first four bytes, the rest is stepped over.
    EXPECT_EQ(RecordLine(1, {1, 2, 3, 4, 5, 6}), "\tA\t1.2.3.4\n");
}

TEST(SectionRecords, EveryAddressByteValue) {
    for (int b = 0; b < 256; ++b) {
        const auto v = static_cast<std::uint8_t>(b);
        const std::string n = std::to_string(b);
        EXPECT_EQ(RecordLine(1, {v, v, v, v}), "\tA\t" + n + "." + n + "." + n + "." + n + "\n");
    }
}

TEST(SectionRecords, TimesToLiveAtEveryDigitCount) {
    ReportState state;
    Bytes record = RecordAB(1, {1, 1, 1, 1});
    std::vector<std::int64_t> ttls = {0, 2147483647, -2147483647 - 1};
    for (std::int64_t power = 1; power <= 1000000000; power *= 10)
        for (std::int64_t ttl : {power - 1, power, power + 1, -power, -power - 1}) ttls.push_back(ttl);
    for (std::int64_t ttl : ttls) {
        const auto bits = static_cast<std::uint32_t>(ttl);
        for (int i = 0; i < 4; ++i) record[6 + i] = static_cast<std::uint8_t>(bits >> (24 - 8 * i));
        const std::string line = "\ta.b\t" + std::to_string(ttl) + " \tA\t1.1.1.1\n";
        EXPECT_NE(Sections(state, Framed(Concat({HeaderWith(1, 1, 0, 0), kQuestionAB, record})))
                      .find(line),
                  std::string::npos)
            << ttl;
    }
}

TEST(SectionRecords, EachRecordOfAMessageHasItsOwnTimeToLive) {
    auto withTtl = [](std::uint32_t ttl) {
        Bytes record = RecordAB(1, {10, 0, 0, 1});
        for (int i = 0; i < 4; ++i) record[6 + i] = static_cast<std::uint8_t>(ttl >> (24 - 8 * i));
        return record;
    };
    ReportState state;
    const std::string all =
        Sections(state, Framed(Concat({HeaderWith(1, 4, 0, 0), kQuestionAB, withTtl(300),
                                       withTtl(86400), withTtl(86400), withTtl(7)})));
    EXPECT_NE(all.find("\ta.b\t300 \tA\t10.0.0.1\n\ta.b\t86400 \tA\t10.0.0.1\n"
                       "\ta.b\t86400 \tA\t10.0.0.1\n\ta.b\t7 \tA\t10.0.0.1\n"),
              std::string::npos)
        << all;
}

TEST(SectionRecords, SoaNumbersAreSigned) {
    const Bytes soa = {0x02, 'n', 's', 0xC0, 0x0C,    // primary ns.a.b
                       0x01, 'h', 0xC0, 0x0C,         // mailbox h.a.b
                       0xFF, 0xFF, 0xFF, 0xFF,        // serial 4294967295
                       0x00, 0x00, 0x0E, 0x10,        // refresh 3600
                       0x80, 0x00, 0x00, 0x00,        // retry
                       0x7F, 0xFF, 0xFF, 0xFF,        // expire
                       0x00, 0x00, 0x00, 0x00};       // minimum
    EXPECT_EQ(RecordLine(6, soa),
              "\tSOA\tns.a.b\n\t\t\temail:\th.a.b\n\t\t\tserial:\t-1\n\t\t\trefresh:\t3600\n"
              "\t\t\tretry:\t-2147483648\n\t\t\texpire\t2147483647\n\t\t\tminimum\t0\n");
}

TEST(SectionRecords, NullDumpsBreakEvery16Bytes) {
    EXPECT_EQ(RecordLine(10, {}), "\tNULL\n\t\t\n");
    Bytes sixteen(16);
    for (int i = 0; i < 16; ++i) sixteen[i] = static_cast<std::uint8_t>(i * 17);
    EXPECT_EQ(RecordLine(10, sixteen),
              "\tNULL\n\t\t00 11 22 33 44 55 66 77 88 99 aa bb cc dd ee ff \n\n");
    Bytes twenty = sixteen;
    for (std::uint8_t b : {0x01, 0x0A, 0xA0, 0xFF}) twenty.push_back(b);
    EXPECT_EQ(RecordLine(10, twenty),
              "\tNULL\n\t\t00 11 22 33 44 55 66 77 88 99 aa bb cc dd ee ff \n01 0a a0 ff \n");
}

TEST(SectionRecords, WksIsNotDecoded) {
    EXPECT_EQ(RecordLine(11, {192, 0, 2, 1, 6, 0x40}), "\tWKS\t unparsed\n");
}

TEST(SectionRecords, CharacterStrings) {
    EXPECT_EQ(RecordLine(13, {0x03, 'x', '8', '6',        // CPU "x86"
                              0x04, 'L', 0x00, 'i', 'n'}),  // OS with a zero byte
              "\tHINFO\tCPU:x86  OS:Lin\n");
    EXPECT_EQ(RecordLine(13, {0x00, 0x00}), "\tHINFO\tCPU:  OS:\n");
    EXPECT_EQ(RecordLine(16, {0x02, 'a', 'b', 0x02, 'c', 'd'}), "\tTXT\tab\n");
    EXPECT_EQ(RecordLine(16, {0x00}), "\tTXT\t\n");
}

TEST(SectionRecords, MinfoAndMx) {
    EXPECT_EQ(RecordLine(14, {0x01, 'r', 0xC0, 0x0C,    // responsible r.a.b
                              0x01, 'e', 0xC0, 0x0C}),  // errors e.a.b
              "\tMINFO\tRMAILBX: r.a.b EMAILBX: e.a.b\n");
    EXPECT_EQ(RecordLine(15, {0x01, 0x00,               // preference 256
                              0x02, 'm', 'x', 0xC0, 0x0C}),
              "\tMX  256\tmx.a.b\n");
    EXPECT_EQ(RecordLine(15, {0xFF, 0xFF, 0x00}), "\tMX  65535\t\n");
}

TEST(SectionRecords, UnknownTypesAreDumped) {
    const char* const dumped = "\tunknown type: raw dump here\n20 01 0d b8 \n";
    for (std::uint16_t type : {0, 17, 28, 252, 255, 65535})
        EXPECT_EQ(RecordLine(type, {0x20, 0x01, 0x0D, 0xB8}), dumped) << type;
}

TEST(SectionRecords, TtlIsSigned) {
    ReportState state;
    Bytes record = RecordAB(1, {1, 1, 1, 1});
    record[6] = 0xFF;  // TTL FF FF FF FF
    record[7] = 0xFF;
    record[8] = 0xFF;
    record[9] = 0xFF;
    EXPECT_NE(Sections(state, Framed(Concat({HeaderWith(1, 1, 0, 0), kQuestionAB, record})))
                  .find("\ta.b\t-1 \tA\t1.1.1.1\n"),
              std::string::npos);
    record[6] = 0x80;  // TTL 80 00 00 00
    record[7] = record[8] = record[9] = 0x00;
    EXPECT_NE(Sections(state, Framed(Concat({HeaderWith(1, 1, 0, 0), kQuestionAB, record})))
                  .find("\ta.b\t-2147483648 \tA\t"),
              std::string::npos);
}

TEST(SectionRecords, AllSectionsWithHeadingsAndCounting) {
    Bytes message = Concat({HeaderWith(1, 2, 3, 4), kQuestionAB});
    std::string expected = "> Questions:\n\ta.b\ttype: A (host address)  class: IN (Internet)\n";
    const char* const headings[] = {"> Answers:\n", "> Authoritative name servers:\n",
                                    "> Additional information:\n"};
    for (int section = 0, n = 2; section < 3; ++section, ++n) {
        expected += headings[section];
        for (int i = 0; i < n; ++i) {
            const std::uint8_t last = static_cast<std::uint8_t>(10 * section + i);
            message = Concat({message, RecordAB(1, {10, 0, 0, last})});
            expected += "\ta.b\t300 \tA\t10.0.0." + std::to_string(last) + "\n";
        }
    }
    ReportState state;
    state.RecordCount = 0;
    EXPECT_EQ(Sections(state, Framed(message)), expected);
    EXPECT_EQ(state.RecordCount, 9);
}

TEST(SectionRecords, TransferModeSkipsQuestionsAndHeadingsButTheAdditional) {
    ReportState state(kAxfrIndex);
    const Bytes message = Concat({HeaderWith(1, 1, 1, 1), kQuestionAB, RecordAB(1, {1, 0, 0, 1}),
                                  RecordAB(1, {1, 0, 0, 2}), RecordAB(1, {1, 0, 0, 3})});
    EXPECT_EQ(Sections(state, Framed(message)),
              "\ta.b\t300 \tA\t1.0.0.1\n\ta.b\t300 \tA\t1.0.0.2\n"
              "> Additional information:\n\ta.b\t300 \tA\t1.0.0.3\n");
    EXPECT_EQ(state.RecordCount, 3);
}

// --- Truncated and malformed messages -----------------------------------------------

TEST(SectionMalformed, RecordCutShortIsTakenBackAndTheLineSaysSo) {
    Bytes message = Concat({HeaderWith(1, 2, 0, 0), kQuestionAB, RecordAB(1, {1, 2, 3, 4}),
                            RecordAB(16, {0x05, 'h', 'e', 'l', 'l', 'o'})});
    message.pop_back();  // the TXT string runs past the end
    ReportState state;
    EXPECT_EQ(Sections(state, Framed(message)),
              std::string("> Questions:\n\ta.b\ttype: A (host address)  class: IN (Internet)\n"
                          "> Answers:\n\ta.b\t300 \tA\t1.2.3.4\n") + MalformedLine());
    EXPECT_EQ(state.RecordCount, 1);
}

TEST(SectionMalformed, RdlengthBeyondTheMessageStopsIt) {
    Bytes record = RecordAB(1, {1, 2, 3, 4});
    record[11] = 0x40;  // RDLENGTH 64, far beyond the data
    ReportState state;
    EXPECT_EQ(Sections(state, Framed(Concat({HeaderWith(1, 1, 0, 0), kQuestionAB, record}))),
              std::string("> Questions:\n\ta.b\ttype: A (host address)  class: IN (Internet)\n"
                          "> Answers:\n") + MalformedLine());
    EXPECT_EQ(state.RecordCount, 0);
}

TEST(SectionMalformed, CountsBeyondTheDataStopAfterTheLastWholeEntry) {
    ReportState state;
    EXPECT_EQ(Sections(state, Framed(Concat({HeaderWith(2, 0, 0, 0), kQuestionAB}))),
              std::string("> Questions:\n\ta.b\ttype: A (host address)  class: IN (Internet)\n") +
                  MalformedLine());
}

TEST(SectionMalformed, BytesBehindTheAnnouncedLengthAreNotPartOfTheMessage) {
    // The prefix announces the header and the question only; the answer
    // record that follows belongs to no message.
    Bytes framed = Framed(Concat({HeaderWith(1, 1, 0, 0), kQuestionAB}));
    const Bytes extra = RecordAB(1, {1, 2, 3, 4});
    for (std::uint8_t b : extra) framed.push_back(b);
    ReportState state;
    EXPECT_EQ(Sections(state, framed),
              std::string("> Questions:\n\ta.b\ttype: A (host address)  class: IN (Internet)\n"
                          "> Answers:\n") + MalformedLine());
}

// A message whose first record owns a long name and whose other records all
// point to it: names of up to 255 bytes are reported however often they
// recur, but a longer one repeated many times runs out of name budget.
Bytes RepeatedOwner(int labels, std::uint16_t records) {
    Bytes message = HeaderWith(0, records, 0, 0);
    for (int i = 0; i < labels; ++i) {  // 14: the long name, labels of 63 bytes
        message.push_back(63);
        message.insert(message.end(), 63, 'x');
    }
    message.push_back(0x00);
    const Bytes fixed = {0x00, 0x01,              // type A
                         0x00, 0x01,              // class IN
                         0x00, 0x00, 0x00, 0x3C,  // TTL 60
                         0x00, 0x04,              // RDLENGTH
                         10, 0, 0, 1};            // 10.0.0.1
    message.insert(message.end(), fixed.begin(), fixed.end());
    for (std::uint16_t i = 1; i < records; ++i) {
        message.push_back(0xC0);  // owner: pointer to the long name
        message.push_back(0x0C);
        message.insert(message.end(), fixed.begin(), fixed.end());
    }
    return Framed(message);
}

TEST(SectionMalformed, NamesUpTo255BytesAreReportedHoweverOftenTheyRecur) {
    ReportState state;
    Sections(state, RepeatedOwner(4, 4000));  // 4 labels: 256 wire bytes
    EXPECT_EQ(state.RecordCount, 4000);
    EXPECT_EQ(state.ReportText.find(MalformedLine()), std::string::npos);
}

TEST(SectionMalformed, RepeatedLongNamesStopAtTheNameBudget) {
    ReportState state;
    const Bytes framed = RepeatedOwner(60, 3000);  // 60 labels: 3841 wire bytes
    Sections(state, framed);
    EXPECT_GT(state.RecordCount, 100);
    EXPECT_LT(state.RecordCount, 3000);
    EXPECT_LE(state.ReportText.size(), framed.size() * 70);
    const std::string line = MalformedLine();
    EXPECT_EQ(state.ReportText.compare(state.ReportText.size() - line.size(), line.size(), line), 0);
}

TEST(SectionMalformed, ShortHeaderGivesOnlyTheLine) {
    ReportState state;
    const Bytes framed = {0x00, 0x05, 0x00, 0x01, 0x81, 0x80, 0x00};  // 5 header bytes
    EXPECT_EQ(Sections(state, framed), MalformedLine());
}
}  // namespace
