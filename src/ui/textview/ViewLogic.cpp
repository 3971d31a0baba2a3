#include "ViewLogic.h"

#include <algorithm>

#include "ReportFile.h"

namespace ui {

Scroll ClampScroll(const TextLayout& layout, long long top, long long left, Viewport view) {
    const long long lastTop = static_cast<long long>(layout.LineCount()) - static_cast<long long>(view.lines);
    const long long lastLeft = static_cast<long long>(layout.MaxWidth()) + kTextMargin - view.width;
    top = std::max(0LL, std::min(top, lastTop));
    left = std::max(0LL, std::min(left, lastLeft));
    return Scroll{static_cast<std::size_t>(top), static_cast<int>(left)};
}

int CaretX(const TextLayout& layout, std::size_t caret) {
    const std::size_t line = layout.LineOf(caret);
    return layout.XOf(line, caret - layout.LineStart(line));
}

Scroll ScrollToShow(const TextLayout& layout, Scroll scroll, std::size_t caret, Viewport view) {
    const std::size_t line = layout.LineOf(caret);
    long long top = static_cast<long long>(scroll.top);
    if (line < scroll.top) top = static_cast<long long>(line);
    if (line >= scroll.top + view.lines) top = static_cast<long long>(line + 1 - view.lines);
    const int x = CaretX(layout, caret);
    long long left = scroll.left;
    if (x < scroll.left) left = x;
    if (x >= scroll.left + view.width) left = static_cast<long long>(x) - view.width + 1;
    return ClampScroll(layout, top, left, view);
}

std::size_t OffsetAt(const TextLayout& layout, Scroll scroll, int x, int y, int lineHeight) {
    long long line = static_cast<long long>(scroll.top) + (y >= 0 ? y / std::max(lineHeight, 1) : -1);
    line = std::max(0LL, std::min(line, static_cast<long long>(layout.LineCount()) - 1));
    const auto index = static_cast<std::size_t>(line);
    return layout.LineStart(index) + layout.ColumnAt(index, x - kTextMargin + scroll.left);
}

Selection SelectRange(long long start, long long end, std::size_t size, std::size_t caret) {
    const auto last = static_cast<long long>(size);
    if (start < 0) start = end = static_cast<long long>(std::min(caret, size));
    if (end < 0 || end > last) end = last;
    return Selection{static_cast<std::size_t>(std::min(start, last)), static_cast<std::size_t>(end)};
}

std::array<std::size_t, 4> SelectionCuts(std::size_t a, std::size_t b, Selection selection) {
    return {a, std::clamp(selection.Begin(), a, b), std::clamp(selection.End(), a, b), b};
}

std::array<int, 2> HighlightSpan(const TextLayout& layout, std::size_t line, Selection selection,
                                 int lineEndWidth) {
    const std::size_t start = layout.LineStart(line);
    const std::size_t end = start + layout.Line(line).size();
    const bool lineEndSelected =
        selection.Begin() <= end && end < selection.End() && line + 1 < layout.LineCount();
    return {layout.XOf(line, std::clamp(selection.Begin(), start, end) - start),
            layout.XOf(line, std::clamp(selection.End(), start, end) - start) + (lineEndSelected ? lineEndWidth : 0)};
}

std::string CopyText(const std::string& text, Selection selection) {
    const std::size_t begin = std::min(selection.Begin(), text.size());
    const std::size_t end = std::min(selection.End(), text.size());
    return ToCrLf(text.substr(begin, end - begin));
}

}  // namespace ui
