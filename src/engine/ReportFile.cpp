#include "ReportFile.h"

#include <algorithm>
#include <cstring>

namespace {
// The most report bytes converted at a time.
constexpr std::size_t kPiece = 1 << 16;
}  // namespace

void CrLfConverter::Convert(const char* text, std::size_t size, std::string& out) {
    std::size_t start = 0;
    while (const void* found = std::memchr(text + start, '\n', size - start)) {
        const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(found) - text);
        out.append(text + start, at - start);
        const bool crBefore = at > 0 ? text[at - 1] == '\r' : afterCr_;
        if (!crBefore) out += '\r';
        out += '\n';
        start = at + 1;
    }
    out.append(text + start, size - start);
    if (size > 0) afterCr_ = text[size - 1] == '\r';
}

std::string ToCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    CrLfConverter().Convert(text.data(), text.size(), out);
    return out;
}

bool ReportFile::Open(const std::string& path) {
    Close();
    file_ = std::fopen(path.c_str(), "wb");
    written_ = file_ != nullptr;
    converter_ = CrLfConverter();
    return written_;
}

bool ReportFile::Write(const char* text, std::size_t size) {
    for (std::size_t begin = 0; begin < size && written_ && file_; begin += kPiece) {
        piece_.clear();
        converter_.Convert(text + begin, std::min(kPiece, size - begin), piece_);
        written_ = std::fwrite(piece_.data(), 1, piece_.size(), file_) == piece_.size();
    }
    return written_;
}

bool ReportFile::Close() {
    if (file_) {
        written_ = std::fclose(file_) == 0 && written_;
        file_ = nullptr;
    }
    return written_;
}

bool WriteReportFile(const std::string& path, const std::string& report) {
    ReportFile file;
    return file.Open(path) && file.Write(report.data(), report.size()) && file.Close();
}
