// The layout behind the plain text view: line index, tab expansion, hit
// testing; and the view's window-free decisions on it: scrolling, the caret
// in sight, the selection, its pieces and the copied text. Every character
// is 10 pixels wide unless a test says otherwise.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "TextLayout.h"
#include "ViewLogic.h"

namespace {

using ui::TextLayout;

TextLayout Layout(const std::string& text, std::vector<int> stops = {15, 40}, int defaultTab = 25) {
    TextLayout layout;
    layout.SetText(text);
    layout.SetMetrics(TextLayout::CharWidths(256, 10), std::move(stops), defaultTab);
    return layout;
}

TEST(TextLayout, LinesSplitAtLineFeedsWithoutCarriageReturns) {
    const TextLayout layout = Layout("one\ntwo\r\nthree");
    ASSERT_EQ(layout.LineCount(), 3u);
    EXPECT_EQ(std::make_tuple(layout.Line(0), layout.Line(1), layout.Line(2), layout.Line(3)),
              std::make_tuple("one", "two", "three", ""));
    EXPECT_EQ(std::make_pair(layout.LineStart(1), layout.LineStart(2)), std::make_pair(std::size_t{4}, std::size_t{9}));
    EXPECT_EQ(std::make_pair(Layout("").LineCount(), Layout("a\n").LineCount()), std::make_pair(std::size_t{1}, std::size_t{2}));
    EXPECT_EQ(Layout("\r").Line(0), "");
    const TextLayout blank = Layout("ab\ncd\n\nef");
    const std::size_t lineOf[] = {0, 0, 0, 1, 1, 1, 2, 3, 3, 3};  // line ends belong to their line
    for (std::size_t offset = 0; offset < 10; ++offset) EXPECT_EQ(blank.LineOf(offset), lineOf[offset]) << offset;
}

TEST(TextLayout, TabsGoToTheNextStopThenToMultiplesOfTheDefault) {
    const TextLayout layout = Layout("a\tb\tc\td");
    std::vector<std::tuple<std::size_t, int, std::size_t>> pieces;
    layout.ForEachPiece(0, [&](std::size_t column, int x, std::size_t length) { pieces.emplace_back(column, x, length); });
    // a at 0; tab to stop 15; b; tab to stop 40; c ends at 50; tab to 75.
    const std::vector<std::tuple<std::size_t, int, std::size_t>> expected = {
        {0, 0, 1}, {2, 15, 1}, {4, 40, 1}, {6, 75, 1}};
    EXPECT_EQ(pieces, expected);
    EXPECT_EQ(std::make_pair(layout.XOf(0, 7), layout.MaxWidth()), std::make_pair(85, 85));
    EXPECT_EQ(Layout("abc\tx", {30, 50}).XOf(0, 4), 50);  // text ending on a stop moves on
    EXPECT_EQ(Layout("\t\tx", {}).XOf(0, 2), 50);
    EXPECT_EQ(Layout("a\tb", {40, 15}).XOf(0, 2), 15);  // stops in any order
    pieces.clear();
    Layout("\t\tx\t").ForEachPiece(0, [&](std::size_t column, int x, std::size_t length) { pieces.emplace_back(column, x, length); });
    EXPECT_EQ(pieces, (std::vector<std::tuple<std::size_t, int, std::size_t>>{{2, 40, 1}}));  // no empty pieces
}

TEST(TextLayout, HitsRoundToTheNearestBoundaryAndWidthsArePerCode) {
    const TextLayout layout = Layout("ab\tc");  // the tab spans 20 to 40
    const std::pair<int, std::size_t> hits[] = {{-5, 0}, {4, 0}, {5, 1}, {15, 2}, {29, 2}, {30, 3}, {1000, 4}};
    for (const auto& [x, column] : hits) EXPECT_EQ(layout.ColumnAt(0, x), column) << x;
    EXPECT_EQ(layout.ColumnAt(5, 10), 0u);
    TextLayout wide;
    wide.SetText("\xE9\xE9\nabc");
    TextLayout::CharWidths widths(256, 10);
    widths[0xE9] = 30;
    wide.SetMetrics(widths, {}, 25);
    EXPECT_EQ(std::make_pair(wide.XOf(0, 2), wide.MaxWidth()), std::make_pair(60, 60));
    wide.SetText("a");
    EXPECT_EQ(wide.MaxWidth(), 10);
}

// ---- the view's logic ----

using ui::Scroll;
using ui::Selection;
using ui::Viewport;

// 10 lines "line0" .. "line9" (50 pixels), the widest "line7 wide" (100).
TextLayout Lines() {
    std::string text;
    for (int i = 0; i < 10; ++i) text += "line" + std::to_string(i) + (i == 7 ? " wide\n" : "\n");
    text.pop_back();
    return Layout(text);
}

// The view shows no room past the last line or the widest line's end (plus
// the margin) and never scrolls before the start; it brings the caret into
// sight with the least move, and none when it is in sight.
TEST(ViewScroll, ClampsToTheTextAndShowsTheCaret) {
    const TextLayout layout = Lines();
    const struct {
        long long top, left;
        Viewport view;
        Scroll want;
    } clamps[] = {
        {0, 0, {4, 60}, {0, 0}},       {-5, -9, {4, 60}, {0, 0}},     {6, 42, {4, 60}, {6, 42}},
        {7, 43, {4, 60}, {6, 42}},     {100, 100, {20, 200}, {0, 0}}, {3, 5, {10, 102}, {0, 0}},
    };
    for (const auto& row : clamps)
        EXPECT_EQ(ui::ClampScroll(layout, row.top, row.left, row.view), row.want) << row.top << "," << row.left;
    const std::size_t line8 = layout.LineStart(8), line7 = layout.LineStart(7);
    const struct {
        Scroll from;
        std::size_t caret;
        Scroll want;
    } carets[] = {
        {{0, 0}, 3, {0, 0}},          {{0, 0}, line8, {5, 0}},  {{6, 0}, 0, {0, 0}},
        {{2, 0}, line8 + 2, {5, 0}},  {{0, 0}, line7 + 9, {4, 31}}, {{4, 40}, line7 + 1, {4, 10}},
    };
    for (const auto& row : carets)
        EXPECT_EQ(ui::ScrollToShow(layout, row.from, row.caret, Viewport{4, 60}), row.want) << row.caret;
}

// Points map to character boundaries through the scroll and the margin;
// above the text the first line, below it the last.
TEST(ViewHits, PointsFallOnTheNearestBoundaryOfTheirLine) {
    const TextLayout layout = Lines();
    struct Row {
        Scroll scroll;
        int x, y;
        std::size_t want;
    } rows[] = {
        {{0, 0}, 0, 0, 0},          {{0, 0}, 17, 5, 2},    {{0, 0}, 1000, 33, layout.LineStart(2) + 5},
        {{3, 20}, 0, 16, layout.LineStart(4) + 2}, {{0, 0}, 5, -4, 0}, {{0, 0}, 5, 9999, layout.LineStart(9)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.x << "," << row.y);
        EXPECT_EQ(ui::OffsetAt(layout, row.scroll, row.x, row.y, 16), row.want);
    }
}

// EM_SETSEL's arguments as the view takes them, on a text of 10 bytes with
// the caret at 4.
TEST(ViewSelection, RangesAreNormalisedAsAnEditControlDoes) {
    struct Row {
        long long start, end;
        std::size_t anchor, caret, begin, finish;
    } rows[] = {
        {2, 6, 2, 6, 2, 6},  {6, 2, 6, 2, 2, 6},    {0, -1, 0, 10, 0, 10}, {3, 99, 3, 10, 3, 10},
        {-1, 7, 4, 4, 4, 4}, {50, 60, 10, 10, 10, 10},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.start << "," << row.end);
        const Selection got = ui::SelectRange(row.start, row.end, 10, 4);
        EXPECT_EQ(std::make_tuple(got.anchor, got.caret, got.Begin(), got.End()),
                  std::make_tuple(row.anchor, row.caret, row.begin, row.finish));
    }
}

// A run of characters [10, 20) cut before, in and after the selection; and
// the highlight of a line, with the cell of a selected line end.
TEST(ViewSelection, LinesSplitIntoSelectedAndUnselectedPieces) {
    using Cuts = std::array<std::size_t, 4>;
    EXPECT_EQ(ui::SelectionCuts(10, 20, {12, 15}), (Cuts{10, 12, 15, 20}));
    EXPECT_EQ(ui::SelectionCuts(10, 20, {15, 5}), (Cuts{10, 10, 15, 20}));
    EXPECT_EQ(ui::SelectionCuts(10, 20, {25, 30}), (Cuts{10, 20, 20, 20}));
    EXPECT_EQ(ui::SelectionCuts(10, 20, {0, 3}), (Cuts{10, 10, 10, 20}));
    const TextLayout layout = Layout("ab\tc\nde\nf");
    using Span = std::array<int, 2>;
    EXPECT_EQ(ui::HighlightSpan(layout, 0, {1, 3}, 4), (Span{10, 40}));   // "b" and the tab
    EXPECT_EQ(ui::HighlightSpan(layout, 0, {3, 6}, 4), (Span{40, 54}));   // "c", its line end
    EXPECT_EQ(ui::HighlightSpan(layout, 1, {0, 11}, 4), (Span{0, 24}));   // the whole line
    EXPECT_EQ(ui::HighlightSpan(layout, 2, {0, 11}, 4), (Span{0, 10}));   // the last: no line end
    EXPECT_EQ(ui::HighlightSpan(layout, 1, {0, 2}, 4), (Span{0, 0}));     // not on it
}

// The clipboard gets every line end of the selection as one CR LF.
TEST(ViewSelection, CopiedTextHasCrLfLineEnds) {
    const std::string text = "ab\ncd\r\ne\n";
    const std::tuple<Selection, std::string> rows[] = {
        {{0, 11}, "ab\r\ncd\r\ne\r\n"}, {{5, 3}, "cd"}, {{2, 4}, "\r\nc"},
        {{6, 7}, "\r\n"}, {{4, 4}, ""}, {{7, 99}, "e\r\n"},
    };
    for (const auto& [selection, want] : rows) {
        SCOPED_TRACE(testing::Message() << selection.anchor << "," << selection.caret);
        EXPECT_EQ(ui::CopyText(text, selection), want);
    }
}

}  // namespace
