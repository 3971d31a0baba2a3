#pragma once
// vek-cli's command line: what the user asked for, and the parser that
// turns the arguments into it.
#include <cstdint>
#include <string>

struct CliOptions {
    std::string server;             // -s; empty: ask the system resolver
    std::int32_t queryTypeIndex = 1;  // -t; line of the query-type list, A
    std::uint16_t port = 53;        // -p
    int recursive = 1;              // --no-recursive clears it
    int inverse = 0;                // --inverse
    int detailedErrors = 0;         // -d, --detailed-errors
    bool printQuery = false;        // --print-query
    bool decode = false;            // --decode FILE
    std::string decodeFile;
    std::string outputFile;         // -o FILE
    std::string keyText;            // -y [ALGORITHM:]NAME:SECRET
    std::string keyFile;            // -k FILE
    bool zoneFile = false;          // --zone
    bool stats = false;             // --stats
    std::string target;
    bool help = false;
    bool version = false;
};

// The list index of a query type given by name (any case) or by index 0 to
// 19; false when the text is neither.
bool ParseQueryType(const std::string& text, std::int32_t& index);

// Fills `options` from argv[1..argc-1]. On bad usage returns false and puts
// one line saying what is wrong into `error`.
bool ParseOptions(int argc, const char* const* argv, CliOptions& options, std::string& error);

// The usage line, and the full help text that --help prints.
const char* UsageText();
const char* HelpText();
