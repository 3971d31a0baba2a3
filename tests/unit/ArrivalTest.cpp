#include <gtest/gtest.h>

#include <vector>

#include "Arrival.h"
#include "ReportTestSupport.h"

namespace {
Bytes Message(std::uint8_t rcode, std::uint8_t answers, const Bytes& records) {
    return Concat({Header(0x84, rcode, 0, answers), records});
}
const Bytes kSoa = Record({0}, 6, {10, 0, 0, 1}), kA = Record({0}, 1, {10, 0, 0, 1});

class ArrivalChunks : public ::testing::TestWithParam<std::size_t> {};

// Where each kind of reply stops, whatever the chunking: the bytes behind
// the stop (a second message, or the rest of a stream after the closing
// SOA) are never needed.
TEST_P(ArrivalChunks, StopsWhereTheReplyIsComplete) {
    const Bytes ordinary = Framed(Message(0, 1, kA));
    const Bytes transfer = Stream({Message(0, 2, Concat({kSoa, kA})), Message(0, 1, kA),
                                   Message(0, 1, kSoa)});
    const Bytes refused = Framed(Message(5, 0, {}));
    const Bytes tooShort = Framed({0x00, 0x00, 0x84});  // shorter than a header
    const struct {
        const char* name;
        std::int32_t type;
        Bytes bytes;
        Stop stop;
    } rows[] = {
        {"ordinary", 1, Concat({ordinary, ordinary}), {ordinary.size(), ReceiveEnd::Complete}},
        {"transfer", kAxfrIndex, Concat({transfer, Framed(Message(0, 1, kA))}),
         {transfer.size(), ReceiveEnd::Complete}},
        {"refused transfer", kAxfrIndex, Concat({refused, refused}),
         {refused.size(), ReceiveEnd::Complete}},
        {"transfer message too short", kAxfrIndex, Concat({tooShort, tooShort}),
         {tooShort.size(), ReceiveEnd::Complete}},
    };
    const std::size_t chunk = GetParam();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ReportState state(row.type);
        Arrival arrival(state);
        const Stop stop = Feed(arrival, row.bytes, chunk);
        // A chunk may carry bytes beyond the stop; the stop is in the chunk
        // that completes the reply.
        const std::size_t expected =
            row.stop.at == 0 ? 0 : std::min(row.bytes.size(), (row.stop.at + chunk - 1) / chunk * chunk);
        EXPECT_EQ(stop.at, expected);
        EXPECT_EQ(stop.end, row.stop.end);
    }
}

// Each whole message reaches the lookup's hook once, in order, as far as
// reading goes, whatever the chunking.
TEST_P(ArrivalChunks, HandsOverEachWholeMessageOnce) {
    struct Watching final : ReportState {
        using ReportState::ReportState;
        std::vector<Bytes> seen;
        void MessageArrived(const std::uint8_t* framed, int size) override {
            seen.emplace_back(framed, framed + size);
        }
    };
    const Bytes first = Framed(Message(0, 2, Concat({kSoa, kA})));
    const Bytes second = Framed(Message(0, 1, kA));
    const Bytes last = Framed(Message(0, 1, kSoa));
    struct Row {
        const char* name;
        std::int32_t type;
        Bytes bytes;
        std::vector<Bytes> seen;
    } rows[] = {
        {"ordinary", 1, Concat({second, second}), {second}},
        {"transfer", kAxfrIndex, Concat({first, second, last}), {first, second, last}},
        {"transfer cut mid-message", kAxfrIndex, Concat({first, second, Bytes(last.begin(), last.end() - 1)}),
         {first, second}},
    };
    for (Row& row : rows) {
        SCOPED_TRACE(row.name);
        Watching state(row.type);
        Arrival arrival(state);
        Feed(arrival, row.bytes, GetParam());
        EXPECT_EQ(state.seen, row.seen);
    }
}

// The lookup's limit stops reading, and the report says where.
TEST_P(ArrivalChunks, StopsAtTheLimit) {
    ReportState state(kAxfrIndex);
    state.MaxReceived = 40;
    const Bytes stream = Stream({Message(0, 1, kSoa), Message(0, 1, kA), Message(0, 1, kA)});
    Arrival arrival(state);
    const Stop stop = Feed(arrival, stream, GetParam());
    EXPECT_EQ(stop.end, ReceiveEnd::SizeLimit);
    EXPECT_EQ(stop.at, std::min<std::size_t>(stream.size(), (40 + GetParam() - 1) / GetParam() * GetParam()));
    arrival.Report(stop.end);
    EXPECT_EQ(state.ReportText.substr(state.ReportText.rfind('\n')),
              "\nReading stopped at 40 bytes: a lookup receives no more than that.");
}

// A transfer reported message by message as it arrives, in chunks of any
// size, reads exactly as the same bytes reported at once, for every prefix.
TEST_P(ArrivalChunks, ReportsEveryPrefixAsTheBytesAtOnce) {
    const std::size_t chunk = GetParam();
    for (const char* name : {"bind-axfr", "knot-axfr"}) {
        const Bytes full = CapturedReply(name);
        for (std::size_t n = 0; n <= full.size(); ++n) {
            const Bytes prefix(full.begin(), full.begin() + static_cast<long>(n));
            ReportState atOnce(kAxfrIndex), state(kAxfrIndex);
            const std::string expected = atOnce.Received(prefix);
            ASSERT_EQ(state.ReceivedInChunks(prefix, chunk), expected) << name << " " << n;
            EXPECT_EQ(state.RecordCount, atOnce.RecordCount) << n;
            if (n > 0) {
                EXPECT_EQ(state.textAtRefresh, "Data recieved, decoding...") << n;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Chunks, ArrivalChunks, ::testing::Values(1, 5, 13, 14, 512, 65536));
}  // namespace
