// The query message: the name asked for, the exact bytes, and the names that
// are refused before anything could be sent.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "LookupState.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class QueryState : public LookupState {};

// Builds the query for `target` through PrepareQuery and returns the bytes
// that would be sent (prefix value + 2), or nothing when refused.
Bytes QueryFor(QueryState& state, const std::string& target) {
    state.Target = target;
    std::uint8_t buffer[LookupState::kQueryBufferSize + 16];
    for (std::uint8_t& b : buffer) b = 0xEE;  // guard beyond the 1000 bytes
    if (!state.PrepareQuery(buffer)) return {};
    for (int i = LookupState::kQueryBufferSize; i < static_cast<int>(sizeof buffer); ++i)
        EXPECT_EQ(buffer[i], 0xEE) << "written past the query buffer at " << i;
    const int count = ((buffer[0] << 8) | buffer[1]) + 2;
    return Bytes(buffer, buffer + count);
}

Bytes QueryFor(const std::string& target, std::int32_t typeIndex = 1, int recursive = 1,
               int inverse = 0) {
    QueryState state;
    state.QueryTypeIndex = typeIndex;
    state.Recursive = recursive;
    state.ReverseQuery = inverse;
    return QueryFor(state, target);
}

// The QNAME bytes of a query: between the header and the last 4 bytes.
Bytes NameOf(const Bytes& query) { return Bytes(query.begin() + 14, query.end() - 4); }

Bytes Encoded(const std::string& dottedLabels) {
    Bytes out;
    std::string label;
    for (char c : dottedLabels + ".") {
        if (c != '.') {
            label += c;
            continue;
        }
        out.push_back(static_cast<std::uint8_t>(label.size()));
        out.insert(out.end(), label.begin(), label.end());
        label.clear();
    }
    out.push_back(0);
    return out;
}

}  // namespace

TEST(QueryMessage, WorkedExamplesAreByteExact) {
    const Bytes recursiveA = {
        0x00, 0x16,              // length prefix: 22 bytes follow
        0x00, 0x00,              // ID 0
        0x01,                    // QR 0, OPCODE 0 (standard), RD 1
        0x00,                    // RA, Z, RCODE 0
        0x00, 0x01,              // QDCOUNT 1
        0x00, 0x00,              // ANCOUNT 0
        0x00, 0x00,              // NSCOUNT 0
        0x00, 0x00,              // ARCOUNT 0
        0x02, 'a', 'b',          // label "ab"
        0x01, 'c',               // label "c"
        0x00,                    // root
        0x00, 0x01,              // QTYPE 1 (A)
        0x00, 0x01,              // QCLASS 1 (IN)
    };
    EXPECT_EQ(QueryFor("ab.c", 1, 1, 0), recursiveA);

    // The same name as an inverse zone-transfer query without recursion.
    Bytes inverseAxfr = recursiveA;
    inverseAxfr[4] = 0x08;   // QR 0, OPCODE 1 (inverse), RD 0
    inverseAxfr[21] = 0xFC;  // QTYPE 252 (AXFR)
    EXPECT_EQ(QueryFor("ab.c", kAxfrIndex, 0, 1), inverseAxfr);
}

TEST(QueryMessage, FlagsByteTakesOnlyRecursionAndInverse) {
    EXPECT_EQ(QueryFor("x", 1, 0, 0)[4], 0x00);
    EXPECT_EQ(QueryFor("x", 1, 1, 0)[4], 0x01);
    EXPECT_EQ(QueryFor("x", 1, 0, 1)[4], 0x08);
    EXPECT_EQ(QueryFor("x", 1, 1, 1)[4], 0x09);
    for (const Bytes& q : {QueryFor("x", 0, 1, 1), QueryFor("x", 19, 0, 0)}) {
        EXPECT_EQ(q[2], 0);  // ID
        EXPECT_EQ(q[3], 0);
        EXPECT_EQ(q[5], 0);  // second flags byte
    }
}

TEST(QueryMessage, TypeIndexMapsToQtype) {
    auto qtype = [](std::int32_t index) {
        const Bytes q = QueryFor("x", index);
        return (q[q.size() - 4] << 8) | q[q.size() - 3];
    };
    for (int index = 1; index <= 16; ++index) EXPECT_EQ(qtype(index), index);
    EXPECT_EQ(qtype(0), 255);
    EXPECT_EQ(qtype(17), 252);
    EXPECT_EQ(qtype(18), 253);
    EXPECT_EQ(qtype(19), 254);
    EXPECT_EQ(qtype(-1), 65535);  // no line selected
}

TEST(QueryName, AddressesAreAskedUnderTheirReverseName) {
    QueryState state;
    state.Target = "10.20.30.40";
    EXPECT_EQ(state.ChooseQueryName(), "40.30.20.10.IN-ADDR.ARPA");
    state.Target = "10.1";  // shortened form: 10.0.0.1
    EXPECT_EQ(state.ChooseQueryName(), "1.0.0.10.IN-ADDR.ARPA");
    state.Target = "0x7f.1";  // hexadecimal parts are accepted too
    EXPECT_EQ(state.ChooseQueryName(), "1.0.0.127.IN-ADDR.ARPA");
    state.Target = "1.2.3.4 trailing words";  // the parse stops at white space
    EXPECT_EQ(state.ChooseQueryName(), "4.3.2.1.IN-ADDR.ARPA");
    EXPECT_EQ(NameOf(QueryFor("10.1")), Encoded("1.0.0.10.IN-ADDR.ARPA"));
}

TEST(QueryName, TextsThatAreNoAddressStayAsTyped) {
    QueryState state;
    for (const char* target : {"255.255.255.255", "1.2.3.256", "1.2.3.4.", "1.2.3.4x",
                               " 1.2.3.4", "08.1.1.1", "Example.COM", "a.b"}) {
        state.Target = target;
        EXPECT_EQ(state.ChooseQueryName(), target);
    }
    EXPECT_EQ(NameOf(QueryFor("255.255.255.255")), Encoded("255.255.255.255"));
}

TEST(QueryName, TrailingDotRootAndSingleLabel) {
    EXPECT_EQ(QueryFor("ab.c."), QueryFor("ab.c"));
    EXPECT_EQ(NameOf(QueryFor(".")), Bytes{0x00});
    const Bytes single = QueryFor("abc");
    EXPECT_EQ(NameOf(single), (Bytes{0x03, 'a', 'b', 'c', 0x00}));
    EXPECT_EQ(single[0], 0x00);
    EXPECT_EQ(single[1], 0x15);
}

TEST(QueryName, EmptyLabelsAreRefusedWithNothingBuilt) {
    for (const char* target : {".ab.c", "ab..c", "ab.c..", ".."}) {
        QueryState state;
        EXPECT_TRUE(QueryFor(state, target).empty()) << target;
        EXPECT_TRUE(state.LookupFailed);
        EXPECT_EQ(state.ReportText,
                  std::string("Lookup refused: the query name <") + target +
                      "> has an empty label.\n\tRemove the leading dot or the doubled dots and "
                      "try again.");
    }
}

TEST(QueryName, LongestNameThatFitsAndFirstThatDoesNot) {
    // 980 characters without a final dot: 980 + 2 name bytes + 18 = 1000.
    std::string name(10, 'z');
    for (int i = 0; i < 97; ++i) name += "." + std::string(9, static_cast<char>('a' + i % 26));
    ASSERT_EQ(name.size(), 980u);
    EXPECT_EQ(QueryFor(name).size(), 1000u);
    EXPECT_EQ(QueryFor(name + ".").size(), 1000u);

    QueryState state;
    EXPECT_TRUE(QueryFor(state, name + "x").empty());
    EXPECT_TRUE(state.LookupFailed);
    EXPECT_EQ(state.ReportText,
              "Lookup refused: the query name is too long (981 characters).\n\tA query can "
              "carry a name of at most 980 characters, a final dot not counted.");
    EXPECT_TRUE(QueryFor(std::string(100000, 'a')).empty());
}

TEST(QueryName, LabelsBeyondWhatOneLengthByteCountsAreRefused) {
    const Bytes fits = QueryFor(std::string(255, 'a') + ".b");
    ASSERT_FALSE(fits.empty());
    EXPECT_EQ(fits[14], 255);  // the label's length byte, unchecked against 63

    QueryState state;
    EXPECT_TRUE(QueryFor(state, std::string(256, 'a') + ".b").empty());
    EXPECT_EQ(state.ReportText,
              "Lookup refused: the query name has a label of 256 characters.\n\tA label can "
              "hold at most 255 characters.");
}
