#pragma once
// Names and character-strings in zone-file text, escaped so that a zone
// file reader takes back exactly the bytes they hold.
#include <cstddef>
#include <cstdint>
#include <string>

class ReplyReader;

// Appends the absolute name at `position` of the framed message ("." for
// the root), label by label, and returns the position behind its encoding.
// Compression pointers are followed under the rules of the report's name
// decoding (strictly backwards, at most kMaxPointerHops of them); a name
// that breaks them, or is longer than 255 bytes, fails the reader.
std::size_t AppendZoneName(std::string& out, ReplyReader& message, std::size_t position);

// Appends bytes as one quoted character-string: '"' and '\' escaped, bytes
// outside printable ASCII as \DDD.
void AppendQuoted(std::string& out, const std::uint8_t* bytes, std::size_t size);
