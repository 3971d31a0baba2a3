#include <gtest/gtest.h>

#include "ReportTestSupport.h"

namespace {
// A header with the given flag bytes and counts, framed.
Bytes Header(std::uint8_t flags, std::uint8_t flags2, Bytes counts = Bytes(8, 0)) {
    Bytes message = {0x12, 0x34,      // id
                     flags, flags2};  // QR opcode AA TC RD / RA z RCODE
    for (std::uint8_t byte : counts) message.push_back(byte);  // QD AN NS AR
    return Framed(message);
}

bool Report(ReportState& state, const Bytes& bytes) {
    return state.ReportHeader(bytes.data(), static_cast<int>(bytes.size()));
}

const char* const kCountsNone =
    "Contains 0 question entries, 0 answer entries, 0 nameserver records and 0 additional "
    "records.\n\n";

// --- Incomplete header -----------------------------------------------------

TEST(HeaderIncomplete, ThirteenBytesAreDumpedAndParsingSkipped) {
    const Bytes b = {0x00, 0x0B,              // prefix
                     0xAB, 0xCD,              // id
                     0x81, 0x80,              // flags
                     0x00, 0x01, 0x00, 0x01,  // QD AN
                     0x00, 0x00, 0x00};       // NS and half of AR
    ReportState state(1, "ns.test");
    EXPECT_FALSE(Report(state, b));
    EXPECT_EQ(state.ReportText,
              "Reply from ns.test : 13 bytes recieved\nheader is incomplete - parsing skipped\n"
              "raw header data dump:\t00 0b ab cd 81 80 00 01 00 01 00 00 00 \n\n");
}

TEST(HeaderIncomplete, OneByteAndNoByte) {
    ReportState state;
    const Bytes one = {0xFF};  // half a prefix
    EXPECT_FALSE(Report(state, one));
    EXPECT_EQ(state.ReportText,
              "Reply from 127.0.0.1 : 1 bytes recieved\nheader is incomplete - parsing "
              "skipped\nraw header data dump:\tff \n\n");
    EXPECT_FALSE(state.ReportHeader(nullptr, 0));
}

TEST(HeaderIncomplete, ReplacesAnEarlierReport) {
    ReportState state;
    state.ReportText = "earlier";
    Report(state, {0x00});
    EXPECT_EQ(state.ReportText.find("earlier"), std::string::npos);
}

// --- Complete header ---------------------------------------------------------

TEST(HeaderComplete, FourteenBytesGiveTheWholeReport) {
    ReportState state(1, "192.0.2.1");
    EXPECT_TRUE(Report(state, Header(0x81, 0x80)));  // answer, RD, RA, RCODE 0
    EXPECT_EQ(state.ReportText,
              std::string("Reply from 192.0.2.1 : 14 bytes recieved\n"
                          "Direct non-authoritative answer: recursion desired; recursion "
                          "available; result: succesful.\n") + kCountsNone);
}

TEST(HeaderComplete, EveryOpcodeHasItsText) {
    const char* const named[] = {"Direct ", "Inverse ", "Status "};
    for (unsigned opcode = 0; opcode < 16; ++opcode) {
        ReportState state;
        Report(state, Header(static_cast<std::uint8_t>(opcode << 3), 0x00));
        const std::string expected =
            opcode < 3 ? named[opcode] : "Unknown (" + std::to_string(opcode) + ") ";
        EXPECT_EQ(state.ReportText.substr(state.ReportText.find('\n') + 1,
                                          expected.size() + 17),
                  expected + "non-authoritative")
            << opcode;
    }
}

TEST(HeaderComplete, EveryResultCodeHasItsTextAndOnlyZeroSucceeds) {
    const char* const named[] = {"succesful.",      "format error.",
                                 "server failure.", "name is not found.",
                                 "not implemented.", "refused due to policy reasons."};
    for (unsigned rcode = 0; rcode < 16; ++rcode) {
        ReportState state;
        const bool ok = Report(state, Header(0x80, static_cast<std::uint8_t>(0x70 | rcode)));
        const std::string expected =
            rcode < 6 ? named[rcode] : "unknown error (" + std::to_string(rcode) + ").";
        EXPECT_NE(state.ReportText.find("; result: " + expected + "\n"), std::string::npos)
            << rcode;
        EXPECT_EQ(ok, rcode == 0) << rcode;
    }
}

TEST(HeaderComplete, FlagWords) {
    const struct {
        std::uint8_t flags, flags2;
        const char* line;
    } cases[] = {
        {0x00, 0x00,
         "Direct non-authoritative question: recursion not desired; recursion not available; "},
        {0x84, 0x80,
         "Direct authoritative answer: recursion not desired; recursion available; "},
        // TC and RD set, RA clear.
        {0x83, 0x00,
         "Direct non-authoritative answer: recursion desired; recursion not "
         "available; truncated message; "},
    };
    for (const auto& c : cases) {
        ReportState state;
        Report(state, Header(c.flags, c.flags2));
        EXPECT_NE(state.ReportText.find(std::string("\n") + c.line + "result: succesful.\n"),
                  std::string::npos)
            << state.ReportText;
    }
}

TEST(HeaderComplete, CountsPrintUnsignedInFull) {
    ReportState state;
    Report(state, Header(0x80, 0x00,
                         {0x01, 0x00,     // QD 256
                          0x80, 0x00,     // AN 32768
                          0xFF, 0xFF,     // NS 65535
                          0x01, 0x02}));  // AR 258
    EXPECT_NE(state.ReportText.find("Contains 256 question entries, 32768 answer entries, "
                                    "65535 nameserver records and 258 additional records.\n\n"),
              std::string::npos);
}

// --- Transfer mode ------------------------------------------------------------

TEST(HeaderTransfer, SuccessHasNoByteCountAndNoCountsLine) {
    ReportState state(kAxfrIndex, "127.0.0.1");
    Bytes b = Header(0x84, 0x00, {0x00, 0x01, 0x00, 0x05, 0x00, 0x00, 0x00, 0x00});
    b.resize(40, 0);  // more data behind the header
    EXPECT_TRUE(Report(state, b));
    EXPECT_EQ(state.ReportText,
              "Reply from 127.0.0.1 :\nDirect authoritative answer: recursion not desired; "
              "recursion not available; result: succesful.\n\n");
}

TEST(HeaderTransfer, RefusedKeepsTheByteCountAndStillNoCountsLine) {
    ReportState state(kAxfrIndex, "127.0.0.1");
    EXPECT_FALSE(Report(state, Header(0x84, 0x05)));
    EXPECT_EQ(state.ReportText,
              "Reply from 127.0.0.1 : 14 bytes recieved\nDirect authoritative answer: recursion "
              "not desired; recursion not available; result: refused due to policy reasons.\n\n");
}
}  // namespace
