#include "Output.h"

#include <cstdio>

#include "Options.h"
#include "Report.h"

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

void ReportOutput::Write(const std::string& text) {
    if (!path_.empty() && !opened_) {
        file_.Open(path_);  // a failure shows when the file is closed
        opened_ = true;
    }
    if (text.empty()) return;
    std::fwrite(text.data(), 1, text.size(), stdout);
    if (!path_.empty()) file_.Write(text.data(), text.size());
    last_ = text.back();
}

bool ReportOutput::Finish() {
    Write(std::string());
    if (last_ != '\n') std::fputc('\n', stdout);
    std::fflush(stdout);
    if (path_.empty() || file_.Close()) return true;
    std::fprintf(stderr, "vek-cli: cannot write the report to '%s'\n", path_.c_str());
    return false;
}

std::string QueryDump(const std::uint8_t* bytes, int count) {
    std::string out;
    AppendHexDump(out, bytes, static_cast<std::size_t>(count));
    if (count % 16 != 0) out += '\n';
    return out;
}

void PrintUsageError(const std::string& what) {
    std::fprintf(stderr, "%s\n%s", what.c_str(), UsageText());
}
