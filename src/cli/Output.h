#pragma once
// What vek-cli writes to its standard streams.
#include <cstddef>
#include <cstdint>
#include <string>

// Standard output passes every byte unchanged ("\n" stays "\n" on Windows).
void UseBinaryStdout();

// The report from byte `from` on (what an earlier part left), then a line
// end unless it ends with one; one write, so that a huge transfer report
// costs no more than its bytes.
void PrintReport(const std::string& report, std::size_t from = 0);
// The report from byte `from` on, as it stands; returns the bytes printed
// up to now, the report's size.
std::size_t PrintReportPart(const std::string& report, std::size_t from);

// The query bytes as "%02x " groups, 16 to a line.
std::string QueryDump(const std::uint8_t* bytes, int count);

// "vek-cli: ..." and the usage line on standard error.
void PrintUsageError(const std::string& what);
