#pragma once
// What vek-cli writes to its standard streams and its report file.
#include <cstddef>
#include <cstdint>
#include <string>

#include "ReportFile.h"

// Standard output passes every byte unchanged ("\n" stays "\n" on Windows).
void UseBinaryStdout();

// The report, written as it grows: to standard output as it is, and to the
// -o file (when one is named) with CR LF line ends. Nothing of it is kept.
class ReportOutput {
public:
    explicit ReportOutput(std::string path) : path_(std::move(path)) {}
    void Write(const std::string& text);
    // Ends the report with a line end on standard output unless it has one,
    // and closes the file. False, with the reason on standard error, when
    // the file could not be written whole.
    bool Finish();

private:
    std::string path_;
    ReportFile file_;
    bool opened_ = false;
    char last_ = 0;
};

// The query bytes as "%02x " groups, 16 to a line.
std::string QueryDump(const std::uint8_t* bytes, int count);

// "vek-cli: ..." and the usage line on standard error.
void PrintUsageError(const std::string& what);
