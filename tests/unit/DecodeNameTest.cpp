#include <gtest/gtest.h>

#include "NameDecoding.h"
#include "ReplyReader.h"
#include "ReportTestSupport.h"

namespace {
// Twelve zero bytes behind a two-byte prefix: names under test start at 14.
const Bytes kPrefixAndHeader(14, 0);

struct Decoded {
    std::string name;
    int next;
    bool ok;
};

Decoded Decode(const Bytes& bytes, int position) {
    LookupState state;
    ReplyReader reply(bytes.data(), bytes.size());
    Decoded d;
    d.next = state.DecodeName(d.name, reply, position);
    d.ok = reply.Ok();
    return d;
}

// --- Labels ---------------------------------------------------------------

TEST(DecodeNameLabels, RootIsEmptyAndEndsBehindItsZeroByte) {
    const Bytes b = Concat({kPrefixAndHeader, {0x00}});  // 14: root
    const Decoded d = Decode(b, 14);
    EXPECT_EQ(d.name, "");
    EXPECT_EQ(d.next, 15);
    EXPECT_TRUE(d.ok);
}

TEST(DecodeNameLabels, ThreeLabelsJoinWithDotsAndNoTrailingDot) {
    const Bytes b = Concat({kPrefixAndHeader,
                            {0x02, 'a', 'b',    // 14: label "ab"
                             0x02, 'c', 'd',    // 17: label "cd"
                             0x02, 'e', 'f',    // 20: label "ef"
                             0x00}});           // 23: end
    const Decoded d = Decode(b, 14);
    EXPECT_EQ(d.name, "ab.cd.ef");
    EXPECT_EQ(d.next, 24);
    EXPECT_TRUE(d.ok);
}

TEST(DecodeNameLabels, BytesAreCopiedUnchangedExceptZeroBytes) {
    const Bytes b = Concat({kPrefixAndHeader,
                            {0x03, 'a', '.', 'b',        // 14: one label "a.b"
                             0x04, 0x80, 0xFF, ' ', '\t',  // 18: high bytes, blank, tab
                             0x03, 'x', 0x00, 'y',       // 23: zero byte inside a label
                             0x00}});                    // 27: end
    const Decoded d = Decode(b, 14);
    EXPECT_EQ(d.name, std::string("a.b.\x80\xFF \t.xy"));
    EXPECT_EQ(d.next, 28);
}

TEST(DecodeNameLabels, LongNameInsideTheDataIsDecodedInFull) {
    Bytes b = kPrefixAndHeader;
    std::string expected;
    for (int i = 0; i < 10; ++i) {  // 10 labels of 63 bytes: 640 wire bytes
        b.push_back(63);
        b.insert(b.end(), 63, static_cast<std::uint8_t>('a' + i));
        expected += (i ? "." : "") + std::string(63, static_cast<char>('a' + i));
    }
    b.push_back(0x00);
    const Decoded d = Decode(b, 14);
    EXPECT_TRUE(d.ok);
    EXPECT_EQ(d.name, expected);
    EXPECT_EQ(d.next, static_cast<int>(b.size()));
}

TEST(DecodeNameLabels, OutputIsClearedFirst) {
    const Bytes b = Concat({kPrefixAndHeader, {0x01, 'x', 0x00}});  // 14: "x"
    LookupState state;
    ReplyReader reply(b.data(), b.size());
    std::string name = "left over";
    state.DecodeName(name, reply, 14);
    EXPECT_EQ(name, "x");
}

// --- Pointers -------------------------------------------------------------

// 14: "cd.ef", then at 21 the name under test.
const Bytes kTarget = Concat({kPrefixAndHeader,
                              {0x02, 'c', 'd',     // 14: label "cd"
                               0x02, 'e', 'f',     // 17: label "ef"
                               0x00}});            // 20: end

TEST(DecodeNamePointers, LabelThenPointerEndsBehindThePointer) {
    const Bytes b = Concat({kTarget,
                            {0x02, 'a', 'b',   // 21: label "ab"
                             0xC0, 0x0C}});    // 24: pointer to message 12 = buffer 14
    const Decoded d = Decode(b, 21);
    EXPECT_EQ(d.name, "ab.cd.ef");
    EXPECT_EQ(d.next, 26);
    EXPECT_TRUE(d.ok);
}

TEST(DecodeNamePointers, LonePointerEndsTwoBytesOn) {
    const Bytes b = Concat({kTarget, {0xC0, 0x0F}});  // 21: pointer to buffer 17 ("ef")
    const Decoded d = Decode(b, 21);
    EXPECT_EQ(d.name, "ef");
    EXPECT_EQ(d.next, 23);
}

TEST(DecodeNamePointers, ChainIsFollowedAndTheFirstPointerGivesTheResult) {
    const Bytes b = Concat({kTarget,
                            {0x01, 'x', 0xC0, 0x0C,   // 21: "x" then pointer to 14
                             0x01, 'y', 0xC0, 0x13}}); // 25: "y" then pointer to 21
    const Decoded d = Decode(b, 25);
    EXPECT_EQ(d.name, "y.x.cd.ef");
    EXPECT_EQ(d.next, 29);
    EXPECT_TRUE(d.ok);
}

TEST(DecodeNamePointers, PointerToPointerAddsNoSecondDot) {
    const Bytes b = Concat({kTarget,
                            {0xC0, 0x0C,           // 21: pointer to 14
                             0x01, 'z', 0xC0, 0x13}});  // 23: "z", pointer to 21
    const Decoded d = Decode(b, 23);
    EXPECT_EQ(d.name, "z.cd.ef");
    EXPECT_EQ(d.next, 27);
}

TEST(DecodeNamePointers, LabelThenPointerToRootKeepsItsDot) {
    const Bytes b = Concat({kPrefixAndHeader,
                            {0x00,                    // 14: root
                             0x02, 'a', 'b',          // 15: label "ab"
                             0xC0, 0x0C}});           // 18: pointer to 14
    const Decoded d = Decode(b, 15);
    EXPECT_EQ(d.name, "ab.");
    EXPECT_EQ(d.next, 20);
}

TEST(DecodeNamePointers, ReservedLabelTypesAreFollowedAsPointers) {
    // 0x40 and 0x80 keep their low six bits: 0x40 0x0C and 0x80 0x0F lead
    // to buffer 14 and 17.
    const Bytes b = Concat({kTarget,
                            {0x40, 0x0C,      // 21: type 01, target message 12
                             0x80, 0x0F}});   // 23: type 10, target message 15
    EXPECT_EQ(Decode(b, 21).name, "cd.ef");
    EXPECT_EQ(Decode(b, 21).next, 23);
    EXPECT_EQ(Decode(b, 23).name, "ef");
}

TEST(DecodeNamePointers, HighSixBitsOfTheTargetCount) {
    Bytes b(2 + 0x100 + 12, 0);  // target message 0x10C = buffer 0x10E
    const Bytes tail = {0x01, 'q', 0x00,   // 0x10E: "q"
                        0xC1, 0x0C};       // 0x111: pointer to message 0x10C
    b.insert(b.end(), tail.begin(), tail.end());
    const Decoded d = Decode(b, 0x111);
    EXPECT_EQ(d.name, "q");
    EXPECT_EQ(d.next, 0x113);
}

// --- Malformed names --------------------------------------------------------

TEST(DecodeNameMalformed, EveryWayOfRunningOutSetsTheReadersError) {
    const struct {
        const char* what;
        Bytes tail;  // at 14
    } cases[] = {
        {"no bytes at all", {}},
        {"label without its end", {0x02, 'a', 'b'}},
        {"label longer than the data", {0x05, 'a', 'b'}},
        {"pointer missing its second byte", {0x01, 'a', 0xC0}},
        {"pointer beyond the data", {0xC0, 0x40}},
        {"pointer to itself", {0xC0, 0x0C}},
        {"pointer forward", {0xC0, 0x0E, 0x00, 0x00}},
        {"pointer back into its own labels", {0x01, 'a', 0xC0, 0x0C}},
    };
    for (const auto& c : cases) {
        const Decoded d = Decode(Concat({kPrefixAndHeader, c.tail}), 14);
        EXPECT_FALSE(d.ok) << c.what;
    }
}

TEST(DecodeNameMalformed, PositionOutsideTheDataFails) {
    EXPECT_FALSE(Decode(kTarget, -1).ok);
    EXPECT_FALSE(Decode(kTarget, static_cast<int>(kTarget.size())).ok);
    EXPECT_FALSE(Decode(kTarget, 100000).ok);
}

TEST(DecodeNameMalformed, TwoPointersTakingTurnsCannotLoop) {
    const Bytes b = Concat({kPrefixAndHeader,
                            {0x01, 'a', 0xC0, 0x0F,    // 14: "a", pointer to 17
                             0x01, 'b', 0xC0, 0x0C}}); // 18: "b", pointer to 14
    EXPECT_FALSE(Decode(b, 18).ok);
}

TEST(DecodeNameMalformed, RunReachedByPointerMayNotOverlapTheRunItCameFrom) {
    // The target run at 14 reads on through the name's own start at 17.
    const Bytes b = Concat({kPrefixAndHeader,
                            {0x04, 'a', 'b', 'c',     // 14: label of 4, covering 17
                             0xC0, 0x0C,              // 18: (inside it) pointer
                             0x00}});
    EXPECT_FALSE(Decode(b, 18).ok);
}

TEST(DecodeNameMalformed, LongBackwardChainStopsAtTheHopLimit) {
    const Bytes b = BackwardPointerChain(200);
    EXPECT_TRUE(Decode(b, 15 + 2 * (kMaxPointerHops - 1)).ok);
    EXPECT_FALSE(Decode(b, 15 + 2 * kMaxPointerHops).ok);
}
}  // namespace
