#pragma once
// A report as a text file: Windows line ends, nothing but the report. Both
// front ends write through this; the report is converted in pieces, never
// copied whole.
#include <cstddef>
#include <cstdio>
#include <string>

// Turns line ends into CR LF, piece after piece: every bare "\n" gains its
// "\r", an existing "\r\n" stays as it is (report text may come back from an
// output control in either form), also when its "\r" ended the last piece.
// Other carriage returns are left alone.
class CrLfConverter {
public:
    // Appends text[0, size) converted to `out`.
    void Convert(const char* text, std::size_t size, std::string& out);

private:
    bool afterCr_ = false;
};

// The whole text converted at once (for the clipboard).
std::string ToCrLf(const std::string& text);

// A report file written piece by piece as the report grows.
class ReportFile {
public:
    ReportFile() = default;
    ~ReportFile() { Close(); }
    ReportFile(const ReportFile&) = delete;
    ReportFile& operator=(const ReportFile&) = delete;

    // Creates or replaces the file at `path`; false when it cannot.
    bool Open(const std::string& path);
    // Appends report text; false once a write has failed.
    bool Write(const char* text, std::size_t size);
    // True when every byte reached the file.
    bool Close();

private:
    std::FILE* file_ = nullptr;
    bool written_ = true;
    CrLfConverter converter_;
    std::string piece_;
};

// The whole report as the file's content. False when it cannot be written.
bool WriteReportFile(const std::string& path, const std::string& report);
