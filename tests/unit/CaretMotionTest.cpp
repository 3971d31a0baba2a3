// The keys' caret motion in the plain text view. Every character is 10
// pixels wide; tabs stop at 15 and 40, then every 25 pixels.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CaretMotion.h"

namespace {
using ui::Motion;

TEST(CaretMotion, EachKeySequenceEndsWhereItShould) {
    // Lines "abcdef", "ab" (CR LF before it), "abcd\tx", "" (the text ends in "\n").
    const std::string text = "abcdef\r\nab\nabcd\tx\n";
    const std::size_t end = text.size();
    ui::TextLayout layout;
    layout.SetText(text);
    layout.SetMetrics(ui::TextLayout::CharWidths(256, 10), {15, 40}, 25);
    const struct {
        std::size_t from;
        std::vector<Motion> motions;
        std::size_t page, want;
    } rows[] = {
        {0, {Motion::Left}, 2, 0}, {5, {Motion::Right}, 2, 6},
        {6, {Motion::Right}, 2, 8}, {8, {Motion::Left}, 2, 6},  // CR LF is one step
        {10, {Motion::Right}, 2, 11}, {11, {Motion::Left}, 2, 10},
        {end, {Motion::Right}, 2, end}, {end, {Motion::Left}, 2, end - 1},
        {5, {Motion::Down}, 2, 10},  // "ab" has only two columns
        {5, {Motion::Down, Motion::Down}, 2, 16}, {5, {Motion::Down, Motion::Up}, 2, 5},
        {15, {Motion::Up, Motion::Up}, 2, 4},  // the tab spans 40 to 50 pixels
        {16, {Motion::Up, Motion::Up}, 2, 5}, {2, {Motion::Up}, 2, 2}, {end, {Motion::Down}, 2, end},
        {1, {Motion::PageDown}, 2, 12}, {1, {Motion::PageDown}, 100, end},
        {12, {Motion::PageUp}, 100, 1}, {12, {Motion::PageUp}, 0, 12},
        {9, {Motion::LineStart}, 2, 8}, {9, {Motion::LineEnd}, 2, 10}, {3, {Motion::LineEnd}, 2, 6},
        {9, {Motion::TextStart}, 2, 0}, {9, {Motion::TextEnd}, 2, end},
        {1, {Motion::LineEnd, Motion::Down}, 2, 10},  // End's column is kept afterwards
        {1, {Motion::LineEnd, Motion::Down, Motion::Down}, 2, 17},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "from " << row.from << ", " << row.motions.size() << " keys");
        const std::size_t line = layout.LineOf(row.from);
        ui::Caret caret{row.from, layout.XOf(line, row.from - layout.LineStart(line))};
        for (Motion motion : row.motions) caret = ui::MoveCaret(layout, caret, motion, row.page);
        EXPECT_EQ(caret.offset, row.want);
    }
    ui::TextLayout empty;
    empty.SetText("");
    for (Motion motion : {Motion::Left, Motion::Right, Motion::Up, Motion::Down, Motion::PageUp, Motion::PageDown,
                          Motion::LineStart, Motion::LineEnd, Motion::TextStart, Motion::TextEnd})
        EXPECT_EQ(ui::MoveCaret(empty, ui::Caret{}, motion, 5).offset, 0u);
}
}  // namespace
