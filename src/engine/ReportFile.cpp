#include "ReportFile.h"

#include <cstdio>

std::string ToCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos;
         end = text.find('\n', start)) {
        out.append(text, start, end - start);
        if (end == 0 || text[end - 1] != '\r') out += '\r';
        out += '\n';
        start = end + 1;
    }
    out.append(text, start, std::string::npos);
    return out;
}

bool WriteReportFile(const std::string& path, const std::string& report) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const std::string data = ToCrLf(report);
    const bool written = std::fwrite(data.data(), 1, data.size(), file) == data.size();
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}
