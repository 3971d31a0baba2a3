#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "TransferEnd.h"
#include "Wire.h"

namespace {
using Bytes = std::vector<std::uint8_t>;

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// A length prefix in front of a message body.
Bytes Framed(const Bytes& body) {
    return Join({{std::uint8_t(body.size() >> 8), std::uint8_t(body.size())}, body});
}

// Header of a transfer message with the given question and answer counts.
Bytes Header(std::uint8_t questions, std::uint8_t answers, std::uint8_t authority = 0) {
    return {
        0x00, 0x00,        // ID
        0x84, 0x00,        // flags: answer, authoritative, RCODE 0
        0x00, questions,   // QDCOUNT
        0x00, answers,     // ANCOUNT
        0x00, authority,   // NSCOUNT
        0x00, 0x00,        // ARCOUNT
    };
}

const Bytes kQuestion = {
    0x02, 'z', 't', 0x00,  // zt.
    0x00, 0xFC,            // type AXFR
    0x00, 0x01,            // class IN
};

// A record of `type` owned by the name behind the question (a pointer to
// message offset 12), with four bytes of data.
Bytes Record(std::uint8_t type) {
    return {
        0xC0, 0x0C,              // owner: pointer to zt.
        0x00, type,              // type
        0x00, 0x01,              // class IN
        0x00, 0x00, 0x0E, 0x10,  // TTL 3600
        0x00, 0x04,              // RDLENGTH
        0x0A, 0x00, 0x00, 0x01,  // data
    };
}

const Bytes kSoa = Record(6), kA = Record(1);

// A record whose owner is written out in labels.
const Bytes kLabelledA = {
    0x03, 'w', 'w', 'w', 0x02, 'z', 't', 0x00,  // www.zt.
    0x00, 0x01, 0x00, 0x01,                      // type A, class IN
    0x00, 0x00, 0x00, 0x3C,                      // TTL 60
    0x00, 0x04, 0x7F, 0x00, 0x00, 0x01,          // RDLENGTH 4, 127.0.0.1
};

// Hands the stream's whole messages to a scanner in order; returns the
// offset behind the message at which the scanner saw the end, or -1.
int EndSeenAt(const Bytes& stream) {
    TransferEnd end;
    for (std::size_t at = 0, next; (next = wire::NextMessage(stream.data(), stream.size(), at)) != 0;
         at = next)
        if (end.OnMessage(stream.data() + at, next - at)) return static_cast<int>(next);
    return -1;
}
}  // namespace

TEST(TransferEnd, EndsWithTheMessageThatCarriesTheClosingSoa) {
    const Bytes oneMessage = Framed(Join({Header(1, 3), kQuestion, kSoa, kA, kSoa}));
    EXPECT_EQ(EndSeenAt(oneMessage), int(oneMessage.size()));

    const Bytes first = Framed(Join({Header(1, 2), kQuestion, kSoa, kLabelledA}));
    const Bytes last = Framed(Join({Header(0, 2), kA, kSoa}));
    const Bytes stream = Join({first, last});
    EXPECT_EQ(EndSeenAt(stream), int(stream.size()));

    // A zone of nothing but its SOA: the opening and closing SOA apart.
    const Bytes soaOnly = Join({Framed(Join({Header(1, 1), kQuestion, kSoa})),
                                Framed(Join({Header(0, 1), kSoa}))});
    EXPECT_EQ(EndSeenAt(soaOnly), int(soaOnly.size()));
}

TEST(TransferEnd, GoesOnWithoutAClosingSoaInTheAnswers) {
    // The opening SOA alone, and an SOA in the authority section.
    EXPECT_EQ(EndSeenAt(Framed(Join({Header(1, 2), kQuestion, kSoa, kA}))), -1);
    EXPECT_EQ(EndSeenAt(Join({Framed(Join({Header(0, 1), kSoa})),
                              Framed(Join({Header(0, 1, 1), kA, kSoa}))})),
              -1);
    // A closing SOA in a message that has not fully arrived.
    const Bytes cut = Framed(Join({Header(0, 3), kSoa, kA, kSoa}));
    EXPECT_EQ(EndSeenAt(Bytes(cut.begin(), cut.end() - 1)), -1);
}

TEST(TransferEnd, MalformedMessageDoesNotEndTheTransferButLaterOnesCount) {
    Bytes badLabel = Join({Header(0, 2), kSoa, kA});
    badLabel[12 + kSoa.size()] = 0x40;  // owner of the second record: label kind 01
    Bytes overrun = Join({Header(0, 2), kSoa, kA});
    overrun.resize(overrun.size() - 2);  // RDLENGTH 4 with 2 bytes of data
    const Bytes closing = Framed(Join({Header(0, 1), kSoa}));
    for (const Bytes& bad : {badLabel, overrun}) {
        const Bytes stream = Join({Framed(bad), closing});
        EXPECT_EQ(EndSeenAt(Framed(bad)), -1);
        EXPECT_EQ(EndSeenAt(stream), int(stream.size()));
    }
    // Counts that promise more records than the message holds.
    EXPECT_EQ(EndSeenAt(Framed(Join({Header(0xFF, 0xFF), kSoa}))), -1);
}

TEST(TransferEnd, EmptyAndHeaderOnlyMessagesAreSteppedOver) {
    const Bytes stream = Join({Framed({}), Framed(Header(0, 0)),
                               Framed(Join({Header(0, 1), kSoa})),
                               Framed(Join({Header(0, 1), kSoa}))});
    EXPECT_EQ(EndSeenAt(stream), int(stream.size()));
}
