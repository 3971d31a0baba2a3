// The name decoder's rules (labels, backward pointers only, the hop cap, the
// name-text budget), and the memo of suffixes, which must change no outcome.
#include <gtest/gtest.h>

#include <tuple>

#include "NameDecoding.h"
#include "NameMemo.h"
#include "ReplyReader.h"
#include "Report.h"
#include "ReportTestSupport.h"

namespace {
// Names under test start at 14, behind a prefix and a header of zeros.
Bytes At14(const Bytes& tail) { return Concat({Bytes(14, 0), tail}); }
// 14: "cd.ef" (17: "ef"), 21: free for the name under test.
Bytes AfterCdEf(const Bytes& tail) { return At14(Concat({{2, 'c', 'd', 2, 'e', 'f', 0}, tail})); }
// `count` labels of 63 bytes, the first one `first`, the next `first` + 1...
Bytes LongLabels(int count, char first) {
    Bytes b;
    for (int i = 0; i < count; ++i) {
        b.push_back(63);
        b.insert(b.end(), 63, static_cast<std::uint8_t>(first + i));
    }
    return b;
}

// Twelve zero bytes behind the prefix, the root at 14, then from 15 on count
// pointers, each leading to the one before it (the first to the root): the
// pointer at 15 + 2k makes k + 1 hops.
inline Bytes BackwardPointerChain(int count) {
    Bytes b(14, 0);
    b.push_back(0x00);
    for (int k = 0; k < count; ++k) {
        const int targetInMessage = (k == 0 ? 14 : 15 + 2 * (k - 1)) - 2;
        b.push_back(static_cast<std::uint8_t>(0xC0 | targetInMessage >> 8));
        b.push_back(static_cast<std::uint8_t>(targetInMessage & 0xFF));
    }
    return b;
}

struct Outcome {
    std::string name;
    int next;
    bool ok;
    std::size_t pos, budgetLeft;
    auto Key() const { return std::tie(name, next, ok, pos, budgetLeft); }
};

// The names at `positions` decoded in turn from one reader.
std::vector<Outcome> DecodeInTurn(const Bytes& bytes, const std::vector<int>& positions, NameMemo* memo) {
    ReplyReader reply(bytes.data(), bytes.size());
    reply.SetNameMemo(memo);
    std::vector<Outcome> outcomes;
    for (int position : positions) {
        Outcome o{"left over", 0, false, 0, 0};  // the decoder clears it first
        o.next = DecodeName(o.name, reply, position);
        o.ok = reply.Ok();
        o.pos = reply.Pos();
        o.budgetLeft = reply.NameTextLeft();
        outcomes.push_back(o);
    }
    return outcomes;
}

struct Row {
    const char* what;
    Bytes bytes;
    int at;
    const char* name;  // nullptr: the reader's error is set
    int next;
};

TEST(NameDecoding, EachNameDecodesOrFails) {
    const std::string tenLabels = [] {
        std::string s;
        for (int i = 0; i < 10; ++i) s += (i ? "." : "") + std::string(63, static_cast<char>('a' + i));
        return s;
    }();
    Bytes highTarget(2 + 0x100 + 12, 0);  // message offset 0x10C: "q", then a pointer to it
    highTarget.insert(highTarget.end(), {0x01, 'q', 0x00, 0xC1, 0x0C});
    const Row rows[] = {
        {"root", At14({0x00}), 14, "", 15},
        {"bytes kept but zero bytes", At14({3, 'a', '.', 'b', 4, 0x80, 0xFF, ' ', '\t', 3, 'x', 0, 'y', 0}), 14,
         "a.b.\x80\xFF \t.xy", 28},
        {"640 bytes of name", At14(Concat({LongLabels(10, 'a'), {0}})), 14, tenLabels.c_str(), 655},
        {"chain, first pointer ends it", AfterCdEf({1, 'x', 0xC0, 0x0C, 1, 'y', 0xC0, 0x13}), 25, "y.x.cd.ef", 29},
        {"pointer to pointer", AfterCdEf({0xC0, 0x0C, 1, 'z', 0xC0, 0x13}), 23, "z.cd.ef", 27},
        {"pointer to the root keeps its dot", At14({0, 2, 'a', 'b', 0xC0, 0x0C}), 15, "ab.", 20},
        {"label type 01 is a pointer", AfterCdEf({0x40, 0x0C, 0x80, 0x0F}), 21, "cd.ef", 23},
        {"label type 10 is a pointer", AfterCdEf({0x40, 0x0C, 0x80, 0x0F}), 23, "ef", 25},
        {"high six bits of a target", highTarget, 0x111, "q", 0x113},
        {"no bytes", At14({}), 14, nullptr, 0},
        {"label without its end", At14({2, 'a', 'b'}), 14, nullptr, 0},
        {"label longer than the data", At14({5, 'a', 'b'}), 14, nullptr, 0},
        {"pointer cut in half", At14({1, 'a', 0xC0}), 14, nullptr, 0},
        {"pointer beyond the data", At14({0xC0, 0x40}), 14, nullptr, 0},
        {"pointer to itself", At14({0xC0, 0x0C}), 14, nullptr, 0},
        {"pointer forward", At14({0xC0, 0x0E, 0, 0}), 14, nullptr, 0},
        {"pointer into its own labels", At14({1, 'a', 0xC0, 0x0C}), 14, nullptr, 0},
        {"pointers taking turns", At14({1, 'a', 0xC0, 0x0F, 1, 'b', 0xC0, 0x0C}), 18, nullptr, 0},
        {"target run overlapping its source", At14({4, 'a', 'b', 'c', 0xC0, 0x0C, 0}), 18, nullptr, 0},
        {"position before the data", AfterCdEf({}), -1, nullptr, 0},
        {"position at the end", AfterCdEf({}), 21, nullptr, 0},
        {"position far beyond", AfterCdEf({}), 100000, nullptr, 0},
        {"hop cap reached", BackwardPointerChain(200), 15 + 2 * (kMaxPointerHops - 1), "", 15 + 2 * kMaxPointerHops},
        {"hop cap passed", BackwardPointerChain(200), 15 + 2 * kMaxPointerHops, nullptr, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const Outcome o = DecodeInTurn(row.bytes, {row.at}, nullptr).front();
        EXPECT_EQ(o.ok, row.name != nullptr);
        if (row.name == nullptr) continue;
        EXPECT_EQ(o.name, row.name);
        EXPECT_EQ(o.next, row.next);
    }
}

// Names decoded one after another with the memo come out exactly as without
// it: the same text, next position, error, reader position and budget left.
TEST(NameDecoding, MemoChangesNoOutcome) {
    // 14: "www.ex\0ampl.org"; 31: "mail" + pointer to 18; 38: "ftp" +
    // pointer to 31; 44: pointer to 18; 46: pointer to 14.
    const Bytes shared = At14({3, 'w', 'w', 'w', 7, 'e', 'x', 0, 'a', 'm', 'p', 'l', 3, 'o', 'r', 'g', 0,
                               4, 'm', 'a', 'i', 'l', 0xC0, 0x10, 3, 'f', 't', 'p', 0xC0, 0x1D, 0xC0, 0x10,
                               0xC0, 0x0C});
    // 14: over 255 characters of suffix; 282 and 286: names pointing to it.
    const Bytes longSuffix =
        At14(Concat({LongLabels(4, 'a'), {10}, Bytes(10, 'e'), {0, 1, 'x', 0xC0, 0x0C, 1, 'y', 0xC0, 0x0C}}));
    // 14: "a.b"; 19: a pointer to it; 21: 252 bytes of labels, then a pointer to 14.
    const Bytes longPrefix = At14(Concat({{1, 'a', 1, 'b', 0, 0xC0, 0x0C}, LongLabels(4, 'p'), {0xC0, 0x0C}}));
    // 14: "x" + pointer forward to 20; 20: "a"; 23: a pointer to 20 (kept).
    const Bytes forward = At14({1, 'x', 0xC0, 0x12, 0, 0, 1, 'a', 0, 0xC0, 0x12});
    // 14: a label whose bytes at 15 read as a pointer back to 14; 20: pointer to 14.
    const Bytes inside = At14({4, 0xC0, 0x0C, 'x', 'y', 0, 0xC0, 0x0C});
    // 14: 4 x 63 bytes; 271: a pointer to it, decoded until the budget runs out.
    const Bytes budget = At14(Concat({LongLabels(4, 'k'), {0, 0xC0, 0x0C}}));
    const std::size_t perName = 4 * 64;
    const std::size_t names =
        (budget.size() * ReplyReader::kNameTextPerByte + ReplyReader::kNameTextFloor) / perName + 2;
    const Bytes chain = BackwardPointerChain(200);
    auto hops = [](int n) { return 15 + 2 * (n - 1); };
    const struct {
        const char* what;
        Bytes bytes;
        std::vector<int> positions;
        bool lastOk;
    } rows[] = {
        {"shared suffixes", shared, {31, 38, 44, 31, 46, 38, 44}, true},
        {"suffix longer than a chunk", longSuffix, {282, 286, 282, 286}, true},
        {"long name before a known suffix", longPrefix, {19, 21, 21}, true},
        {"pointer forward to a known suffix", forward, {23, 14}, false},
        {"run reached from inside its own labels", inside, {20, 15}, false},
        {"known suffix within the hop cap", chain, {hops(10), hops(60), hops(100), hops(127), hops(128)}, true},
        {"known suffix past the hop cap", chain, {hops(10), hops(60), hops(100), hops(128), hops(129)}, false},
        {"name-text budget", budget, std::vector<int>(names, 271), false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        NameMemo memo;
        const std::vector<Outcome> plain = DecodeInTurn(row.bytes, row.positions, nullptr);
        const std::vector<Outcome> remembered = DecodeInTurn(row.bytes, row.positions, &memo);
        for (std::size_t i = 0; i < plain.size(); ++i)
            EXPECT_TRUE(plain[i].Key() == remembered[i].Key()) << "name " << i << ": \"" << plain[i].name << "\" ok "
                                                   << plain[i].ok << " without the memo, \""
                                                   << remembered[i].name << "\" ok " << remembered[i].ok;
        EXPECT_EQ(remembered.back().ok, row.lastOk);
        if (row.bytes == shared) {
            EXPECT_NE(memo.Find(18), nullptr);  // kept, so reused
        }
    }
}
}  // namespace
