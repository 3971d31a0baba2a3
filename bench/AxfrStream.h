#pragma once
// A zone-transfer stream built in memory, as a server would send it: DNS
// messages of about 16 KB, each behind its two-byte length prefix, with
// names compressed against earlier names of the same message. The records
// mix SOA, A, NS, CNAME, MX, TXT, PTR and HINFO like the zones of the
// transfer benchmark.
#include <cstddef>
#include <cstdint>
#include <vector>

struct AxfrStream {
    std::vector<std::uint8_t> bytes;  // every message, length prefixes included
    std::size_t records = 0;          // the closing SOA included
    std::size_t messages = 0;
};

// A stream of `records` records (at least 2: the opening and closing SOA).
AxfrStream BuildAxfrStream(std::size_t records);
