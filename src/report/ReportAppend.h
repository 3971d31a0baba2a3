#pragma once
// Cheap appends for the report writers. A zone transfer reports a record per
// few dozen received bytes, so the per-record path formats numbers by hand
// instead of going through printf.
#include <cstdint>
#include <initializer_list>
#include <string>

class ReportBatch;

// Room for the decimal text of any 64-bit value, sign included.
constexpr std::size_t kDecimalDigits = 20;

// Writes the decimal text of value ("%d") at at, at most kDecimalDigits
// characters, and returns the end of it.
char* WriteDecimal(char* at, std::int64_t value);

// Writes the decimal text of an address byte and a dot behind it at at (four
// bytes, whatever the length of the text) and returns the end of the text.
char* WriteOctetAndDot(char* at, std::uint8_t octet);

// Appends a numbered text whose only conversions are "%d" (filled in order
// from values) and "%%"; a missing value prints as 0.
void AppendFormatted(ReportBatch& out, const char* format,
                     std::initializer_list<std::int64_t> values);
void AppendFormatted(std::string& out, const char* format,
                     std::initializer_list<std::int64_t> values);


// Ends the report of a message whose bytes run out or do not add up: starts
// a fresh line if needed and writes the one line that says so.
void AppendMalformedLine(ReportBatch& out);
