#pragma once
// The text view's decisions that need no window: where it may scroll, how
// far it scrolls to bring the caret into sight, which character a point
// falls on, the selection's ends, which parts of a line are drawn selected,
// and the text a copy puts on the clipboard.
#include <array>
#include <cstddef>
#include <string>

#include "TextLayout.h"

namespace ui {

// Pixels between the view's left edge and the text.
constexpr int kTextMargin = 2;

// The part of the text in sight: the first line and the pixel column at the
// view's left edge.
struct Scroll {
    std::size_t top = 0;
    int left = 0;
    bool operator==(const Scroll& other) const { return top == other.top && left == other.left; }
};

// The size of the view: whole lines in sight, and pixels for text across
// (the client width less the margins).
struct Viewport {
    std::size_t lines = 1;
    int width = 1;
};

// The scroll position nearest to (top, left) that shows no room past the
// last line or the widest line's end.
Scroll ClampScroll(const TextLayout& layout, long long top, long long left, Viewport view);

// The least scroll from `scroll` that shows the caret at `caret`.
Scroll ScrollToShow(const TextLayout& layout, Scroll scroll, std::size_t caret, Viewport view);

// The caret's pixel position in its line, from the line's left edge.
int CaretX(const TextLayout& layout, std::size_t caret);

// The character boundary under point (x, y) of the view, for lines
// `lineHeight` pixels high; above or below the text, the first or last line.
std::size_t OffsetAt(const TextLayout& layout, Scroll scroll, int x, int y, int lineHeight);

// A selection from the anchor (where it began) to the caret (its moving end).
struct Selection {
    std::size_t anchor = 0;
    std::size_t caret = 0;
    std::size_t Begin() const { return anchor < caret ? anchor : caret; }
    std::size_t End() const { return anchor < caret ? caret : anchor; }
};

// The selection that EM_SETSEL(start, end) makes in a text of `size` bytes:
// a start of -1 drops the selection at the caret, an end of -1 or past the
// text reaches the end, and the ends may come in either order.
Selection SelectRange(long long start, long long end, std::size_t size, std::size_t caret);

// Characters [a, b) cut at the selection: [cut0, cut1) before it, [cut1,
// cut2) in it, [cut2, cut3) after it; any part may be empty.
std::array<std::size_t, 4> SelectionCuts(std::size_t a, std::size_t b, Selection selection);

// The selection's highlight on `line`, in pixels from the line's left edge:
// [first, second), empty when the selection does not touch the line. A
// selected line end adds a cell `lineEndWidth` pixels wide.
std::array<int, 2> HighlightSpan(const TextLayout& layout, std::size_t line, Selection selection,
                                 int lineEndWidth);

// The selected text as the clipboard takes it: every line end one CR LF.
std::string CopyText(const std::string& text, Selection selection);

}  // namespace ui
