#pragma once
// Zone-file lines: one record of a received message in presentation form,
// driven by the record layouts.
#include <string>

class ReplyReader;
struct WireRecord;

// Appends "OWNER\tTTL\tCLASS\tTYPE\tDATA\n" for the record. Data that its
// type's layout does not read exactly, and every type without a layout, is
// written in the generic form (TYPEnnn \# LEN HEX), so that every record
// survives. Fails the reader only where the record itself is cut short.
void AppendZoneRecord(std::string& out, ReplyReader& message, const WireRecord& record);
