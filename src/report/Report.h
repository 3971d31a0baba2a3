#pragma once
// The report library: turns received bytes into the report's text. It
// knows nothing of lookups, sockets or windows; what it needs of the lookup
// is this small context. Positions are offsets from a message's length
// prefix, and every byte is read through a ReplyReader.
#include <cstdint>
#include <string>

class ReplyReader;
class ReportBatch;
struct TimeToLiveText;

struct ReportContext {
    std::string& text;           // the report, replaced or appended to
    std::int32_t& recordCount;   // records reported since it was set to 0
    bool transfer;               // the lookup is a zone transfer
    const std::string& server;   // the server as the user named it
};

// Starts the report afresh with the header of the message at buffer (count
// bytes received from its prefix on). True when the header is whole and
// its RCODE is 0.
bool ReportHeader(ReportContext& report, const std::uint8_t* buffer, int count);

// Appends the questions and records of the one message at buffer, counting
// each record. Presumes a whole header (count of at least 14).
void ReportSections(ReportContext& report, const std::uint8_t* buffer, int count);

// Appends the time to live, type tag and data of the record whose type
// field stands at position; `ttl` keeps the text of the last time to live
// from record to record. A read past the bytes leaves the reader's error.
void ReportRecordData(ReportBatch& out, ReplyReader& reply, int position, TimeToLiveText& ttl);

// The dotted text of the encoded name at position, in place of what `name`
// held; returns the position behind the encoded name (see AppendName).
int DecodeName(std::string& name, ReplyReader& reply, int position);

// Appends each byte as "%02x ", with a line end after every 16th byte: the
// dump of record data, of a short header, and of a query.
void AppendHexDump(ReportBatch& out, const std::uint8_t* bytes, std::size_t count);
void AppendHexDump(std::string& out, const std::uint8_t* bytes, std::size_t count);
