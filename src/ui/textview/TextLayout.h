#pragma once
// The layout of a plain text for a view that shows it line by line, without
// wrapping: where each line starts, how wide each character is, where the
// tab stops fall. Free of any window, so that it is cheap for any text size
// (a few bytes a line) and can be checked on its own.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class TextLayout {
public:
    // Pixel widths of the 256 character codes in the view's font.
    using CharWidths = std::vector<int>;

    // Takes the text; lines end at "\n", and a "\r" before it is not shown.
    void SetText(std::string text);
    // Widths of the characters, and tab stops in pixels from the left edge;
    // past the last stop, tabs go to the next multiple of `defaultTab`.
    void SetMetrics(CharWidths widths, std::vector<int> tabStops, int defaultTab);

    const std::string& Text() const { return text_; }
    std::size_t LineCount() const { return starts_.size(); }
    // Offset of the first character of `line`; LineCount() gives the end.
    std::size_t LineStart(std::size_t line) const;
    // The shown characters of `line` (no line end).
    std::string_view Line(std::size_t line) const;
    std::size_t LineOf(std::size_t offset) const;

    // Pixel position of character `column` of `line` (tabs expanded).
    int XOf(std::size_t line, std::size_t column) const;
    // The character boundary of `line` nearest to pixel position `x`.
    std::size_t ColumnAt(std::size_t line, int x) const;
    // The width of the widest line.
    int MaxWidth() const { return maxWidth_; }

    // Calls `piece(column, x, length)` for each run of characters of `line`
    // between tabs, with the pixel position the run starts at.
    template <typename Piece>
    void ForEachPiece(std::size_t line, Piece&& piece) const;

private:
    int Advance(int x, char c) const;
    int NextTab(int x) const;
    void Measure();

    std::string text_;
    std::vector<std::uint32_t> starts_{0};
    CharWidths widths_ = CharWidths(256, 1);
    std::vector<int> tabStops_;
    int defaultTab_ = 32;
    int maxWidth_ = 0;
};

template <typename Piece>
void TextLayout::ForEachPiece(std::size_t line, Piece&& piece) const {
    const std::string_view shown = Line(line);
    int x = 0;
    std::size_t begin = 0;
    for (std::size_t i = 0; i <= shown.size(); ++i) {
        if (i < shown.size() && shown[i] != '\t') continue;
        if (i > begin) piece(begin, x, i - begin);
        for (std::size_t k = begin; k < i; ++k) x = Advance(x, shown[k]);
        if (i < shown.size()) x = NextTab(x);
        begin = i + 1;
    }
}

}  // namespace ui
