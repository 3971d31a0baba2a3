#pragma once
// Saving a report as a text file: Windows line ends, nothing but the report.
#include <string>

// Every line end becomes exactly one CR LF: a bare "\n" gains its "\r", an
// existing "\r\n" stays as it is (report text may come back from an output
// control in either form). Other carriage returns are left alone.
std::string ToCrLf(const std::string& text);

// Writes the report, converted with ToCrLf, as the whole content of the file
// at `path` (created or replaced). False when the file cannot be written.
bool WriteReportFile(const std::string& path, const std::string& report);
