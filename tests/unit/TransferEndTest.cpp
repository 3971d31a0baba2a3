// The closing SOA of a zone transfer, seen message by message.
#include <gtest/gtest.h>

#include "ReportTestSupport.h"
#include "TransferEnd.h"
#include "Wire.h"

namespace {
const Bytes kQuestion = {0x02, 'z', 't', 0x00, 0x00, 0xFC, 0x00, 0x01};  // zt. AXFR IN
const Bytes kSoa = Record(kFirstName, 6, {10, 0, 0, 1}), kA = Record(kFirstName, 1, {10, 0, 0, 1});
const Bytes kLabelledA = Record({3, 'w', 'w', 'w', 2, 'z', 't', 0}, 1, {127, 0, 0, 1});

// A transfer message: answers, and the authority records behind them.
Bytes Message(const Bytes& question, const std::vector<Bytes>& answers, const Bytes& authority = {}) {
    Bytes m = Header(0x84, 0, question.empty() ? 0 : 1, static_cast<std::uint16_t>(answers.size()),
                     authority.empty() ? 0 : 1);
    m = Concat({m, question});
    for (const Bytes& a : answers) m = Concat({m, a});
    return Framed(Concat({m, authority}));
}

// Hands the stream's whole messages to a scanner in order; returns the
// offset behind the message at which the scanner saw the end, or -1.
int EndSeenAt(const Bytes& stream) {
    TransferEnd end;
    for (std::size_t at = 0, next; (next = wire::NextMessage(stream.data(), stream.size(), at)) != 0;
         at = next)
        if (end.OnMessage(stream.data() + at, next - at)) return static_cast<int>(next);
    return -1;
}

TEST(TransferEnd, EndsAtTheMessageWithTheClosingSoaOnly) {
    Bytes badLabel = Message({}, {kSoa, kA});
    badLabel[14 + kSoa.size()] = 0x40;  // owner of the second record: label kind 01
    Bytes overrun = Message({}, {kSoa, kA});
    overrun.resize(overrun.size() - 2);  // RDLENGTH 4 with 2 bytes of data
    overrun[1] -= 2;
    const Bytes closing = Message({}, {kSoa});
    const Bytes cut = Message({}, {kSoa, kA, kSoa});
    const struct {
        const char* what;
        Bytes stream;
        bool ends;
    } rows[] = {
        {"one message", Message(kQuestion, {kSoa, kA, kSoa}), true},
        {"two messages", Concat({Message(kQuestion, {kSoa, kLabelledA}), Message({}, {kA, kSoa})}), true},
        {"SOA only", Concat({Message(kQuestion, {kSoa}), closing}), true},
        {"opening SOA alone", Message(kQuestion, {kSoa, kA}), false},
        {"SOA in the authority section", Concat({Message({}, {kSoa}), Message({}, {kA}, kSoa)}), false},
        {"closing message not yet whole", Bytes(cut.begin(), cut.end() - 1), false},
        {"bad label", badLabel, false},
        {"bad label, then the closing SOA", Concat({badLabel, closing}), true},
        {"data overrun", overrun, false},
        {"data overrun, then the closing SOA", Concat({overrun, closing}), true},
        {"counts beyond the data", Framed(Concat({Header(0x84, 0, 0xFF, 0xFF), kSoa})), false},
        {"empty and header-only messages", Concat({Framed({}), Framed(Header(0x84, 0, 0, 0)), closing, closing}), true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(EndSeenAt(row.stream), row.ends ? static_cast<int>(row.stream.size()) : -1);
    }
}
}  // namespace
