#pragma once
// The bytes of a file saved from a TCP exchange, for --decode.
#include <cstdint>
#include <string>
#include <vector>

// Reads the whole file. False, with one line saying why in `error`, when it
// cannot be read or is too large for the report (more than 2^31 - 1 bytes).
bool ReadReplyFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error);
