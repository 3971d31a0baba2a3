#include "TextLayout.h"

#include <algorithm>
#include <utility>

namespace ui {

void TextLayout::SetText(std::string text) {
    text_ = std::move(text);
    starts_.assign(1, 0);
    // Offsets are kept in 32 bits: a text beyond 4 GiB is cut there, far
    // past anything a report reaches.
    if (text_.size() > UINT32_MAX - 1) text_.resize(UINT32_MAX - 1);
    for (std::size_t at = text_.find('\n'); at != std::string::npos; at = text_.find('\n', at + 1))
        starts_.push_back(static_cast<std::uint32_t>(at + 1));
    Measure();
}

void TextLayout::SetMetrics(CharWidths widths, std::vector<int> tabStops, int defaultTab) {
    if (widths.size() == 256) widths_ = std::move(widths);
    tabStops_ = std::move(tabStops);
    std::sort(tabStops_.begin(), tabStops_.end());
    defaultTab_ = std::max(defaultTab, 1);
    Measure();
}

std::size_t TextLayout::LineStart(std::size_t line) const {
    if (line >= starts_.size()) return text_.size() + 1;
    return starts_[line];
}

std::string_view TextLayout::Line(std::size_t line) const {
    if (line >= starts_.size()) return {};
    std::size_t begin = starts_[line];
    std::size_t end = line + 1 < starts_.size() ? starts_[line + 1] - 1 : text_.size();
    if (end > begin && text_[end - 1] == '\r') --end;
    return std::string_view(text_).substr(begin, end - begin);
}

std::size_t TextLayout::LineOf(std::size_t offset) const {
    auto after = std::upper_bound(starts_.begin(), starts_.end(), offset);
    return static_cast<std::size_t>(after - starts_.begin()) - 1;
}

int TextLayout::Advance(int x, char c) const {
    return c == '\t' ? NextTab(x) : x + widths_[static_cast<unsigned char>(c)];
}

int TextLayout::NextTab(int x) const {
    auto stop = std::upper_bound(tabStops_.begin(), tabStops_.end(), x);
    if (stop != tabStops_.end()) return *stop;
    return (x / defaultTab_ + 1) * defaultTab_;
}

int TextLayout::XOf(std::size_t line, std::size_t column) const {
    const std::string_view shown = Line(line);
    int x = 0;
    for (std::size_t i = 0; i < column && i < shown.size(); ++i) x = Advance(x, shown[i]);
    return x;
}

std::size_t TextLayout::ColumnAt(std::size_t line, int x) const {
    const std::string_view shown = Line(line);
    int left = 0;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        int right = Advance(left, shown[i]);
        if (x < (left + right + 1) / 2) return i;
        left = right;
    }
    return shown.size();
}

void TextLayout::Measure() {
    maxWidth_ = 0;
    for (std::size_t line = 0; line < starts_.size(); ++line)
        maxWidth_ = std::max(maxWidth_, XOf(line, std::string::npos));
}

}  // namespace ui
