#pragma once
// The binary-to-text encodings of zone files and key files.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

void AppendBase64(std::string& out, const std::uint8_t* bytes, std::size_t size);
// Base 32 with the extended hex alphabet, without padding (NSEC3 hashes).
void AppendBase32Hex(std::string& out, const std::uint8_t* bytes, std::size_t size);
// Upper-case hexadecimal, two characters a byte.
void AppendHex(std::string& out, const std::uint8_t* bytes, std::size_t size);

// Decodes base64 text (white space between groups allowed, padding
// required to whole groups); false on anything else.
bool DecodeBase64(const std::string& text, std::vector<std::uint8_t>& bytes);
