// The layout behind the plain text view: line index, tab expansion, hit
// testing. Every character is 10 pixels wide unless a test says otherwise.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "TextLayout.h"

namespace {

using ui::TextLayout;

TextLayout Layout(const std::string& text, std::vector<int> stops = {15, 40}, int defaultTab = 25) {
    TextLayout layout;
    layout.SetText(text);
    layout.SetMetrics(TextLayout::CharWidths(256, 10), std::move(stops), defaultTab);
    return layout;
}

TEST(TextLayoutLines, SplitAtLineFeedsWithoutShowingCarriageReturns) {
    const TextLayout layout = Layout("one\ntwo\r\nthree");
    ASSERT_EQ(layout.LineCount(), 3u);
    EXPECT_EQ(layout.Line(0), "one");
    EXPECT_EQ(layout.Line(1), "two");
    EXPECT_EQ(layout.Line(2), "three");
    EXPECT_EQ(layout.LineStart(1), 4u);
    EXPECT_EQ(layout.LineStart(2), 9u);
    EXPECT_EQ(layout.Line(3), "");
}

TEST(TextLayoutLines, EmptyTextAndTrailingLineFeedGiveAnEmptyLastLine) {
    EXPECT_EQ(Layout("").LineCount(), 1u);
    EXPECT_EQ(Layout("").Line(0), "");
    const TextLayout layout = Layout("a\n");
    ASSERT_EQ(layout.LineCount(), 2u);
    EXPECT_EQ(layout.Line(1), "");
    EXPECT_EQ(Layout("\r").Line(0), "");
}

TEST(TextLayoutLines, OffsetsMapToTheirLinesIncludingLineEnds) {
    const TextLayout layout = Layout("ab\ncd\n\nef");
    const std::size_t expected[] = {0, 0, 0, 1, 1, 1, 2, 3, 3, 3};
    for (std::size_t offset = 0; offset < 10; ++offset) EXPECT_EQ(layout.LineOf(offset), expected[offset]) << offset;
}

TEST(TextLayoutTabs, TabsGoToTheNextStopThenToMultiplesOfTheDefault) {
    const TextLayout layout = Layout("a\tb\tc\td");
    std::vector<std::tuple<std::size_t, int, std::size_t>> pieces;
    layout.ForEachPiece(0, [&](std::size_t column, int x, std::size_t length) { pieces.emplace_back(column, x, length); });
    // a at 0; tab to stop 15; b; tab to stop 40; c ends at 50; tab to 75.
    const std::vector<std::tuple<std::size_t, int, std::size_t>> expected = {
        {0, 0, 1}, {2, 15, 1}, {4, 40, 1}, {6, 75, 1}};
    EXPECT_EQ(pieces, expected);
    EXPECT_EQ(layout.XOf(0, 7), 85);
    EXPECT_EQ(layout.MaxWidth(), 85);
}

TEST(TextLayoutTabs, TextEndingOnAStopMovesOnToTheNextOne) {
    // "abc" followed by a tab at x 30 with a stop at 30: the tab still
    // advances, to the following stop.
    EXPECT_EQ(Layout("abc\tx", {30, 50}).XOf(0, 4), 50);
    EXPECT_EQ(Layout("\t\tx", {}).XOf(0, 2), 50);
    // Stops may arrive in any order.
    EXPECT_EQ(Layout("a\tb", {40, 15}).XOf(0, 2), 15);
}

TEST(TextLayoutTabs, ConsecutiveTabsAndLeadingTabsMakeNoEmptyPieces) {
    int pieces = 0;
    Layout("\t\tx\t").ForEachPiece(0, [&](std::size_t column, int x, std::size_t length) {
        ++pieces;
        EXPECT_EQ(column, 2u);
        EXPECT_EQ(x, 40);
        EXPECT_EQ(length, 1u);
    });
    EXPECT_EQ(pieces, 1);
}

TEST(TextLayoutHits, PositionsRoundToTheNearestCharacterBoundary) {
    const TextLayout layout = Layout("ab\tc");
    EXPECT_EQ(layout.ColumnAt(0, -5), 0u);
    EXPECT_EQ(layout.ColumnAt(0, 4), 0u);
    EXPECT_EQ(layout.ColumnAt(0, 5), 1u);
    EXPECT_EQ(layout.ColumnAt(0, 15), 2u);
    // The tab spans 20 to 40.
    EXPECT_EQ(layout.ColumnAt(0, 29), 2u);
    EXPECT_EQ(layout.ColumnAt(0, 30), 3u);
    EXPECT_EQ(layout.ColumnAt(0, 1000), 4u);
    EXPECT_EQ(layout.ColumnAt(5, 10), 0u);
}

TEST(TextLayoutWidths, EachCharacterCodeHasItsOwnWidthAndWidestLineCounts) {
    TextLayout layout;
    layout.SetText("\xE9\xE9\nabc");
    TextLayout::CharWidths widths(256, 10);
    widths[0xE9] = 30;
    layout.SetMetrics(widths, {}, 25);
    EXPECT_EQ(layout.XOf(0, 2), 60);
    EXPECT_EQ(layout.MaxWidth(), 60);
    layout.SetText("a");
    EXPECT_EQ(layout.MaxWidth(), 10);
}

}  // namespace
