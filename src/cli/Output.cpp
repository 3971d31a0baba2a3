#include "Output.h"

#include <algorithm>
#include <cstdio>

#include "Options.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

void UseBinaryStdout() {
#ifdef _WIN32
    // Text mode would turn every "\n" into CR LF; output goes out as it is.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
}

std::size_t PrintReportPart(const std::string& report, std::size_t from) {
    from = std::min(from, report.size());
    std::fwrite(report.data() + from, 1, report.size() - from, stdout);
    return report.size();
}

void PrintReport(const std::string& report, std::size_t from) {
    PrintReportPart(report, from);
    if (report.empty() || report.back() != '\n') std::fputc('\n', stdout);
    std::fflush(stdout);
}

std::string QueryDump(const std::uint8_t* bytes, int count) {
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    for (int i = 0; i < count; ++i) {
        out += kHex[bytes[i] >> 4];
        out += kHex[bytes[i] & 15];
        out += ' ';
        if (i % 16 == 15 || i + 1 == count) out += '\n';
    }
    return out;
}

void PrintUsageError(const std::string& what) {
    std::fprintf(stderr, "%s\n%s", what.c_str(), UsageText());
}
