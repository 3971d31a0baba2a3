// The query message: the name asked for, the exact bytes, and the names that
// are refused before anything could be sent.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "LookupState.h"

namespace {
using Bytes = std::vector<std::uint8_t>;

// The bytes PrepareQuery builds for `target` (prefix value + 2), nothing when
// refused; checks that nothing is written past the query buffer.
Bytes QueryFor(LookupState& state, const std::string& target) {
    state.Target = target;
    std::uint8_t buffer[LookupState::kQueryBufferSize + 16];
    for (std::uint8_t& b : buffer) b = 0xEE;
    if (!state.PrepareQuery(buffer)) return {};
    for (int i = LookupState::kQueryBufferSize; i < static_cast<int>(sizeof buffer); ++i)
        EXPECT_EQ(buffer[i], 0xEE) << "written past the query buffer at " << i;
    return Bytes(buffer, buffer + ((buffer[0] << 8) | buffer[1]) + 2);
}

Bytes QueryFor(const std::string& target, std::int32_t typeIndex = 1, int recursive = 1, int inverse = 0) {
    LookupState state;
    state.QueryTypeIndex = typeIndex;
    state.Recursive = recursive;
    state.ReverseQuery = inverse;
    return QueryFor(state, target);
}

// The QNAME bytes of a query: between the header and the last 4 bytes.
Bytes NameOf(const Bytes& query) { return Bytes(query.begin() + 14, query.end() - 4); }
}  // namespace

TEST(Query, WorkedExamplesAreByteExact) {
    const Bytes recursiveA = {
        0x00, 0x16,              // length prefix: 22 bytes follow
        0x00, 0x00,              // ID 0
        0x01, 0x00,              // RD only; RA, Z, RCODE 0
        0x00, 0x01, 0x00, 0x00,  // QDCOUNT 1, ANCOUNT 0
        0x00, 0x00, 0x00, 0x00,  // NSCOUNT 0, ARCOUNT 0
        0x02, 'a', 'b', 0x01, 'c', 0x00,  // ab.c
        0x00, 0x01, 0x00, 0x01,  // QTYPE A, QCLASS IN
    };
    EXPECT_EQ(QueryFor("ab.c", 1, 1, 0), recursiveA);
    EXPECT_EQ(QueryFor("ab.c."), recursiveA);  // a final dot changes nothing
    Bytes inverseAxfr = recursiveA;
    inverseAxfr[4] = 0x08;   // OPCODE 1 (inverse), RD 0
    inverseAxfr[21] = 0xFC;  // QTYPE 252 (AXFR)
    EXPECT_EQ(QueryFor("ab.c", kAxfrIndex, 0, 1), inverseAxfr);
    EXPECT_EQ(QueryFor("x", 1, 1, 1)[4], 0x09);
    const Bytes none = QueryFor("x", -1);  // no line of the type list selected
    EXPECT_EQ((none[none.size() - 4] << 8) | none[none.size() - 3], 65535);
    EXPECT_EQ(NameOf(QueryFor(".")), Bytes{0x00});
}

TEST(Query, AddressesAreAskedUnderTheirReverseName) {
    const std::pair<const char*, const char*> rows[] = {
        {"0x7f.1", "1.0.0.127.IN-ADDR.ARPA"}, {"1.2.3.4 trailing words", "4.3.2.1.IN-ADDR.ARPA"},
        {"255.255.255.255", "255.255.255.255"},  // no address: asked as typed
    };
    for (const auto& [target, name] : rows) {
        LookupState state;
        state.Target = target;
        EXPECT_EQ(state.ChooseQueryName(), name) << target;
    }
}

// The guards: names that cannot be sent are refused with their reason.
TEST(Query, NamesThatCannotBeSentAreRefused) {
    // 980 characters without a final dot: 980 + 2 name bytes + 18 = 1000.
    std::string longest(10, 'z');
    for (int i = 0; i < 97; ++i) longest += "." + std::string(9, static_cast<char>('a' + i % 26));
    ASSERT_EQ(longest.size(), 980u);
    EXPECT_EQ(QueryFor(longest).size(), 1000u);
    EXPECT_EQ(QueryFor(longest + ".").size(), 1000u);
    const Bytes longLabel = QueryFor(std::string(255, 'a') + ".b");
    ASSERT_FALSE(longLabel.empty());
    EXPECT_EQ(longLabel[14], 255);  // unchecked against 63

    const std::string emptyLabel =
        "> has an empty label.\n\tRemove the leading dot or the doubled dots and try again.";
    const std::pair<std::string, std::string> rows[] = {
        {longest + "x", "Lookup refused: the query name is too long (981 characters).\n\tA query can carry "
                        "a name of at most 980 characters, a final dot not counted."},
        {std::string(100000, 'a'), "Lookup refused: the query name is too long (100000 characters)."},
        {std::string(256, 'a') + ".b", "Lookup refused: the query name has a label of 256 characters.\n\tA "
                                       "label can hold at most 255 characters."},
        {".ab.c", "Lookup refused: the query name <.ab.c" + emptyLabel},
        {"ab..c", "Lookup refused: the query name <ab..c" + emptyLabel},
        {"ab.c..", "Lookup refused: the query name <ab.c.." + emptyLabel},
        {"..", "Lookup refused: the query name <.." + emptyLabel},
    };
    for (const auto& [target, text] : rows) {
        SCOPED_TRACE(target.substr(0, 20));
        LookupState state;
        EXPECT_TRUE(QueryFor(state, target).empty());
        EXPECT_TRUE(state.LookupFailed);
        EXPECT_EQ(state.ReportText.rfind(text, 0), 0u) << state.ReportText;
    }
}
