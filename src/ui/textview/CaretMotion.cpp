#include "CaretMotion.h"

#include <algorithm>

namespace ui {

namespace {

std::size_t LineEnd(const TextLayout& layout, std::size_t line) {
    return layout.LineStart(line) + layout.Line(line).size();
}

// The caret on `line` at the character boundary nearest to the kept column.
Caret OnLine(const TextLayout& layout, std::size_t line, int x) {
    return Caret{layout.LineStart(line) + layout.ColumnAt(line, x), x};
}

// A caret at `offset`, whose own column becomes the one kept.
Caret At(const TextLayout& layout, std::size_t offset) {
    const std::size_t line = layout.LineOf(offset);
    return Caret{offset, layout.XOf(line, offset - layout.LineStart(line))};
}

}  // namespace

Caret MoveCaret(const TextLayout& layout, Caret caret, Motion motion, std::size_t page) {
    const std::size_t last = layout.LineCount() - 1;
    const std::size_t offset = std::min(caret.offset, layout.Text().size());
    const std::size_t line = layout.LineOf(offset);
    switch (motion) {
    case Motion::Left:
        if (offset == layout.LineStart(line)) return At(layout, line == 0 ? 0 : LineEnd(layout, line - 1));
        return At(layout, offset - 1);
    case Motion::Right:
        if (offset >= LineEnd(layout, line)) return At(layout, line == last ? offset : layout.LineStart(line + 1));
        return At(layout, offset + 1);
    case Motion::Up: return OnLine(layout, line == 0 ? 0 : line - 1, caret.x);
    case Motion::Down: return OnLine(layout, std::min(line + 1, last), caret.x);
    case Motion::PageUp: return OnLine(layout, line - std::min(line, page), caret.x);
    case Motion::PageDown: return OnLine(layout, std::min(line + page, last), caret.x);
    case Motion::LineStart: return At(layout, layout.LineStart(line));
    case Motion::LineEnd: return At(layout, LineEnd(layout, line));
    case Motion::TextStart: return At(layout, 0);
    case Motion::TextEnd: return At(layout, layout.Text().size());
    }
    return caret;
}

}  // namespace ui
