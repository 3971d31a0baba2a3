#pragma once
// The pieces of a TSIG record and of the data its MAC covers.
#include <cstdint>
#include <string>
#include <vector>

#include "TsigKey.h"
#include "Wire.h"

constexpr std::uint16_t kDefaultFudge = 300;

// The canonical (lower-case, uncompressed) wire form of a dotted name;
// false when a label is empty or longer than 63 bytes, or the name longer
// than 255.
bool NameToWire(const std::string& text, std::vector<std::uint8_t>& wire);

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t value);
void PutU48(std::vector<std::uint8_t>& out, std::uint64_t value);

// The TSIG variables that a MAC covers behind the message: all of them
// for a query and the first message of a reply, ...
std::vector<std::uint8_t> AllVariables(const TsigKey& key, std::uint64_t timeSigned,
                                       std::uint16_t fudge, std::uint16_t error,
                                       const std::uint8_t* other, std::uint16_t otherSize);
// ... the timers alone for the later messages of a reply.
std::vector<std::uint8_t> TimerVariables(std::uint64_t timeSigned, std::uint16_t fudge);
