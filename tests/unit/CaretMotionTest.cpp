// The keys' caret motion in the plain text view. Every character is 10
// pixels wide; tabs stop at 15 and 40, then every 25 pixels.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CaretMotion.h"

namespace {

using ui::Caret;
using ui::Motion;
using ui::MoveCaret;
using ui::TextLayout;

// Lines "abcdef", "ab" (CR LF before it), "abcd\tx", "" (the text ends in "\n").
const std::string kText = "abcdef\r\nab\nabcd\tx\n";

class CaretMotion : public ::testing::Test {
protected:
    CaretMotion() {
        layout_.SetText(kText);
        layout_.SetMetrics(TextLayout::CharWidths(256, 10), {15, 40}, 25);
    }
    // The offset reached from `offset` (its own column kept) by `motions`.
    std::size_t After(std::size_t offset, std::vector<Motion> motions, std::size_t page = 2) const {
        const std::size_t line = layout_.LineOf(offset);
        Caret caret{offset, layout_.XOf(line, offset - layout_.LineStart(line))};
        for (Motion motion : motions) caret = MoveCaret(layout_, caret, motion, page);
        return caret.offset;
    }

    TextLayout layout_;
};

TEST_F(CaretMotion, LeftAndRightCrossALineEndAsOneStepAndStopAtTheTextsEnds) {
    EXPECT_EQ(After(0, {Motion::Left}), 0u);
    EXPECT_EQ(After(5, {Motion::Right}), 6u);
    EXPECT_EQ(After(6, {Motion::Right}), 8u);  // over "\r\n" to "ab"
    EXPECT_EQ(After(8, {Motion::Left}), 6u);   // back before the "\r"
    EXPECT_EQ(After(10, {Motion::Right}), 11u);
    EXPECT_EQ(After(11, {Motion::Left}), 10u);
    EXPECT_EQ(After(kText.size(), {Motion::Right}), kText.size());
    EXPECT_EQ(After(kText.size(), {Motion::Left}), kText.size() - 1);
}

TEST_F(CaretMotion, UpAndDownKeepTheColumnPastAShorterLine) {
    EXPECT_EQ(After(5, {Motion::Down}), 10u);  // "ab" has only two columns
    EXPECT_EQ(After(5, {Motion::Down, Motion::Down}), 16u);
    EXPECT_EQ(After(5, {Motion::Down, Motion::Up}), 5u);
    // The tab starts at 40 pixels and ends at 50: before it is column 4
    // above, after it column 5.
    EXPECT_EQ(After(15, {Motion::Up, Motion::Up}), 4u);
    EXPECT_EQ(After(16, {Motion::Up, Motion::Up}), 5u);
    EXPECT_EQ(After(2, {Motion::Up}), 2u);
    EXPECT_EQ(After(kText.size(), {Motion::Down}), kText.size());
}

TEST_F(CaretMotion, PagesGoByThePageAndStopAtTheFirstAndLastLine) {
    EXPECT_EQ(After(1, {Motion::PageDown}), 12u);
    EXPECT_EQ(After(1, {Motion::PageDown}, 100), kText.size());
    EXPECT_EQ(After(12, {Motion::PageUp}, 100), 1u);
    EXPECT_EQ(After(12, {Motion::PageUp}, 0), 12u);
}

TEST_F(CaretMotion, HomeAndEndGoToTheLinesOrTheTextsEnds) {
    EXPECT_EQ(After(9, {Motion::LineStart}), 8u);
    EXPECT_EQ(After(9, {Motion::LineEnd}), 10u);
    EXPECT_EQ(After(3, {Motion::LineEnd}), 6u);  // before the "\r"
    EXPECT_EQ(After(9, {Motion::TextStart}), 0u);
    EXPECT_EQ(After(9, {Motion::TextEnd}), kText.size());
    // The column of Home and End is the one kept afterwards.
    EXPECT_EQ(After(1, {Motion::LineEnd, Motion::Down}), 10u);
    EXPECT_EQ(After(1, {Motion::LineEnd, Motion::Down, Motion::Down}), 17u);
}

TEST(CaretMotionEmpty, EveryMotionInAnEmptyTextStaysAtZero) {
    TextLayout layout;
    layout.SetText("");
    for (Motion motion : {Motion::Left, Motion::Right, Motion::Up, Motion::Down, Motion::PageUp, Motion::PageDown,
                          Motion::LineStart, Motion::LineEnd, Motion::TextStart, Motion::TextEnd})
        EXPECT_EQ(MoveCaret(layout, Caret{}, motion, 5).offset, 0u);
}

}  // namespace
