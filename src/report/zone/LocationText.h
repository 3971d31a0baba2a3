#pragma once
// The data of a LOC record in its zone-file text: latitude, longitude,
// altitude, size and precisions. Data of another version, or sizes that are
// no power of ten, fail the reader.
#include <string>

class ReplyReader;

void AppendLocation(std::string& out, ReplyReader& data);
