#pragma once
// Signs a query with a TSIG key.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "TsigKey.h"

// Appends the TSIG record to the framed query (length prefix first) in a
// buffer of `capacity` bytes, raising the additional count and the prefix.
// Returns the query's MAC, which the verification of the reply needs, or
// an empty one when the record does not fit (the query is left as it was).
std::vector<std::uint8_t> SignQuery(const TsigKey& key, std::uint8_t* framed,
                                    std::size_t capacity, std::uint64_t now);
