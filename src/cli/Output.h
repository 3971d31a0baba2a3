#pragma once
// What vek-cli writes to its standard streams.
#include <cstdint>
#include <string>

// Standard output passes every byte unchanged ("\n" stays "\n" on Windows).
void UseBinaryStdout();

// The report exactly, then a line end unless it ends with one; one write,
// so that a huge transfer report costs no more than its bytes.
void PrintReport(const std::string& report);

// The query bytes as "%02x " groups, 16 to a line.
std::string QueryDump(const std::uint8_t* bytes, int count);

// "vek-cli: ..." and the usage line on standard error.
void PrintUsageError(const std::string& what);
