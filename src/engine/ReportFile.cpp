#include "ReportFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// The file is written in pieces of this many report bytes, so that saving a
// huge report needs no second copy of it.
constexpr std::size_t kPiece = 1 << 16;

// Appends text[begin, end) to `out` with every bare "\n" turned into CR LF.
// Looks at the whole text, so that a CR just before `begin` counts.
void AppendCrLf(const std::string& text, std::size_t begin, std::size_t end, std::string& out) {
    std::size_t start = begin;
    while (const void* found = std::memchr(text.data() + start, '\n', end - start)) {
        const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
        out.append(text, start, at - start);
        if (at == 0 || text[at - 1] != '\r') out += '\r';
        out += '\n';
        start = at + 1;
    }
    out.append(text, start, end - start);
}

}  // namespace

std::string ToCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    AppendCrLf(text, 0, text.size(), out);
    return out;
}

bool WriteReportFile(const std::string& path, const std::string& report) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    std::string piece;
    piece.reserve(2 * kPiece);
    bool written = true;
    for (std::size_t begin = 0; begin < report.size() && written; begin += kPiece) {
        piece.clear();
        AppendCrLf(report, begin, std::min(report.size(), begin + kPiece), piece);
        written = std::fwrite(piece.data(), 1, piece.size(), file) == piece.size();
    }
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}
