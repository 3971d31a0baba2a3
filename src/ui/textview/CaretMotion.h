#pragma once
// Where the keys of a read-only text move its caret: by a character, a line,
// a page, to either end of a line or of the text. Free of any window, like
// the layout it works on.
#include <cstddef>

#include "TextLayout.h"

namespace ui {

enum class Motion { Left, Right, Up, Down, PageUp, PageDown, LineStart, LineEnd, TextStart, TextEnd };

struct Caret {
    std::size_t offset = 0;
    // The pixel column that up and down keep to, so that a short line on
    // the way does not pull the caret to the left for good.
    int x = 0;
};

// The caret after `motion` from `caret`; page motions go `page` lines.
// Left and right cross a line end as one step, whether "\n" or "\r\n".
Caret MoveCaret(const TextLayout& layout, Caret caret, Motion motion, std::size_t page);

}  // namespace ui
