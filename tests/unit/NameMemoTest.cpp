// Names decoded one after another from one message with a memo of suffixes
// must come out exactly as without it: the same text, the same next
// position, the same error at the same name, the same reader position and
// the same name-text budget left.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "NameDecoding.h"
#include "NameMemo.h"
#include "ReplyReader.h"
#include "ReportTestSupport.h"

namespace {
// Twelve zero bytes behind a two-byte prefix: names under test start at 14.
const Bytes kPrefixAndHeader(14, 0);

struct Outcome {
    std::string name;
    int next;
    bool ok;
    std::size_t pos;
    std::size_t budgetLeft;
    bool operator==(const Outcome& o) const {
        return name == o.name && next == o.next && ok == o.ok && pos == o.pos &&
               budgetLeft == o.budgetLeft;
    }
};

std::vector<Outcome> DecodeInTurn(const Bytes& bytes, const std::vector<int>& positions,
                                  NameMemo* memo) {
    ReplyReader reply(bytes.data(), bytes.size());
    reply.SetNameMemo(memo);
    std::vector<Outcome> outcomes;
    for (int position : positions) {
        Outcome o;
        o.next = AppendName(o.name, reply, position);
        o.ok = reply.Ok();
        o.pos = reply.Pos();
        o.budgetLeft = reply.NameTextLeft();
        outcomes.push_back(o);
    }
    return outcomes;
}

// Decodes the names in turn with and without a memo and compares every
// outcome; returns the memo's outcomes for further checks.
std::vector<Outcome> ExpectSameWithMemo(const Bytes& bytes, const std::vector<int>& positions,
                                        NameMemo& memo) {
    const std::vector<Outcome> plain = DecodeInTurn(bytes, positions, nullptr);
    const std::vector<Outcome> remembered = DecodeInTurn(bytes, positions, &memo);
    for (std::size_t i = 0; i < positions.size(); ++i) {
        EXPECT_TRUE(plain[i] == remembered[i])
            << "name " << i << " at " << positions[i] << ": \"" << plain[i].name << "\" ok "
            << plain[i].ok << " next " << plain[i].next << " without the memo, \""
            << remembered[i].name << "\" ok " << remembered[i].ok << " next "
            << remembered[i].next << " with it";
    }
    return remembered;
}

// 14: "www.ex\0ample.org"; 31: "mail" + pointer to 18; 38: "ftp" + pointer
// to 31; 44: pointer to 18 alone; 46: pointer to 14.
const Bytes kShared = Concat({kPrefixAndHeader,
                              {0x03, 'w', 'w', 'w',                  // 14: "www"
                               0x07, 'e', 'x', 0x00, 'a', 'm', 'p', 'l',  // 18: zero inside
                               0x03, 'o', 'r', 'g',                  // 26: "org"
                               0x00,                                 // 30: end
                               0x04, 'm', 'a', 'i', 'l', 0xC0, 0x10,  // 31: "mail", to 18
                               0x03, 'f', 't', 'p', 0xC0, 0x1D,      // 38: "ftp", to 31
                               0xC0, 0x10,                           // 44: to 18
                               0xC0, 0x0C}});                        // 46: to 14

// --- Reuse ------------------------------------------------------------------

TEST(NameMemoReuse, SharedSuffixesComeOutAsWithoutTheMemo) {
    NameMemo memo;
    const auto outcomes = ExpectSameWithMemo(kShared, {31, 38, 44, 31, 46, 38, 44}, memo);
    EXPECT_EQ(outcomes[1].name, "ftp.mail.exampl.org");
    EXPECT_TRUE(outcomes.back().ok);
    EXPECT_NE(memo.Find(18), nullptr);  // the suffix was kept, so it was reused
    EXPECT_NE(memo.Find(31), nullptr);
}

TEST(NameMemoReuse, SuffixLongerThanAChunkIsDecodedInFullEachTime) {
    // 14: four labels of 63 bytes and one of 10 (over 255 characters of text);
    // then two names pointing to it.
    Bytes b = kPrefixAndHeader;
    for (int i = 0; i < 5; ++i) {
        const int length = i < 4 ? 63 : 10;
        b.push_back(static_cast<std::uint8_t>(length));
        b.insert(b.end(), static_cast<std::size_t>(length), static_cast<std::uint8_t>('a' + i));
    }
    b.push_back(0x00);
    const int first = static_cast<int>(b.size());
    b.insert(b.end(), {0x01, 'x', 0xC0, 0x0C, 0x01, 'y', 0xC0, 0x0C});
    NameMemo memo;
    const auto outcomes = ExpectSameWithMemo(b, {first, first + 4, first, first + 4}, memo);
    EXPECT_EQ(outcomes[3].name.size(), 2u + 4 * 64 + 10);
}

TEST(NameMemoReuse, LongNameBeforeAKnownSuffixComesOutWhole) {
    // 14: "a.b"; 19: a pointer to it (kept); 21: four labels of 63 bytes and
    // then a pointer to 14, more text than one chunk of a name.
    Bytes b = Concat({kPrefixAndHeader, {0x01, 'a', 0x01, 'b', 0x00, 0xC0, 0x0C}});
    for (int i = 0; i < 4; ++i) {
        b.push_back(63);
        b.insert(b.end(), 63, static_cast<std::uint8_t>('p' + i));
    }
    b.insert(b.end(), {0xC0, 0x0C});
    NameMemo memo;
    const auto outcomes = ExpectSameWithMemo(b, {19, 21, 21}, memo);
    EXPECT_EQ(outcomes[2].name.size(), 4u * 64 + 3);
}

// --- Checks that a known suffix must pass again -----------------------------

TEST(NameMemoChecks, PointerForwardToAKnownSuffixStillFails) {
    const Bytes b = Concat({kPrefixAndHeader,
                            {0x01, 'x', 0xC0, 0x12,  // 14: "x", pointer forward to 20
                             0x00, 0x00,             // 18: unused
                             0x01, 'a', 0x00,        // 20: "a"
                             0xC0, 0x12}});          // 23: pointer to 20 (kept)
    NameMemo memo;
    const auto outcomes = ExpectSameWithMemo(b, {23, 14}, memo);
    EXPECT_TRUE(outcomes[0].ok);
    EXPECT_FALSE(outcomes[1].ok);
}

TEST(NameMemoChecks, RunReachedFromInsideItsOwnLabelsStillFails) {
    // 14: one label whose bytes (at 15) read as a pointer back to 14; its run
    // ends at 19. 20: a pointer to 14 (fine, and kept). The pointer at 15 then
    // leads to a run that reads on past 15, which fails with or without memo.
    const Bytes b = Concat({kPrefixAndHeader,
                            {0x04, 0xC0, 0x0C, 'x', 'y',  // 14: label of four
                             0x00,                        // 19: end
                             0xC0, 0x0C}});               // 20: pointer to 14
    NameMemo memo;
    const auto outcomes = ExpectSameWithMemo(b, {20, 15}, memo);
    EXPECT_TRUE(outcomes[0].ok);
    EXPECT_FALSE(outcomes[1].ok);
}

TEST(NameMemoChecks, HopLimitCountsTheHopsOfAKnownSuffix) {
    // Shorter chains go first so that the memo knows most of the longer ones.
    const Bytes b = BackwardPointerChain(200);
    auto at = [](int hops) { return 15 + 2 * (hops - 1); };
    for (int last : {kMaxPointerHops, kMaxPointerHops + 1, kMaxPointerHops + 40}) {
        NameMemo memo;
        const auto outcomes =
            ExpectSameWithMemo(b, {at(10), at(60), at(100), at(last - 1), at(last)}, memo);
        EXPECT_EQ(outcomes.back().ok, last <= kMaxPointerHops) << last;
    }
}

TEST(NameMemoChecks, NameTextBudgetRunsOutAtTheSameName) {
    // 14: a suffix of 4 x 63 bytes; 270: a pointer to it, decoded over and
    // over until the reader's name-text budget runs out.
    Bytes b = kPrefixAndHeader;
    for (int i = 0; i < 4; ++i) {
        b.push_back(63);
        b.insert(b.end(), 63, static_cast<std::uint8_t>('k' + i));
    }
    b.push_back(0x00);
    const int pointer = static_cast<int>(b.size());
    b.insert(b.end(), {0xC0, 0x0C});
    const std::size_t budget = b.size() * ReplyReader::kNameTextPerByte + ReplyReader::kNameTextFloor;
    const std::size_t perName = 4 * 64;
    std::vector<int> positions(budget / perName + 2, pointer);
    NameMemo memo;
    const auto outcomes = ExpectSameWithMemo(b, positions, memo);
    EXPECT_TRUE(outcomes[budget / perName - 1].ok);
    EXPECT_FALSE(outcomes.back().ok);
}
}  // namespace
