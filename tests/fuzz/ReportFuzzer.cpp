// libFuzzer target over the decoding of received bytes, the query builder
// and vek-cli's argument parser. The first input byte picks an entry from
// kEntries; the rest is handed to it. New entries (other parsers of outside
// input) are added to the table.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "LookupState.h"
#include "Options.h"
#include "ReplyReader.h"
#include "TsigKey.h"
#include "TsigVerifier.h"
#include "Wire.h"
#include "zone/RecordWalk.h"
#include "zone/ZoneWriter.h"

namespace {
using Entry = void (*)(const std::uint8_t* data, std::size_t size);

// Stops the run where an outcome breaks the report's promises.
void Require(bool holds) {
    if (!holds) __builtin_trap();
}

// The report of everything received, as the TCP lookup writes it.
void ReportAs(std::int32_t queryTypeIndex, const std::uint8_t* data, std::size_t size) {
    LookupState state;
    state.Server = "127.0.0.1";
    state.QueryTypeIndex = queryTypeIndex;
    state.ReportReceived(data, static_cast<int>(size));
    Require(state.RecordCount >= 0);
    Require(!state.ReportText.empty());
    Require(state.LookupFailed == (size == 0));
}

// Two bytes of start position, then the bytes the name is read from.
void DecodeOneName(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return;
    const int position = data[0] << 8 | data[1];
    LookupState state;
    ReplyReader reply(data + 2, size - 2);
    std::string name;
    const int next = state.DecodeName(name, reply, position);
    if (reply.Ok()) Require(next > position && static_cast<std::size_t>(next) <= reply.size());
}

// A byte of query-type index (taken as signed, so -1 and indices past the
// list come too), a byte of check boxes, then the target.
void PrepareOneQuery(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return;
    LookupState state;
    state.QueryTypeIndex = static_cast<std::int8_t>(data[0]);
    state.Recursive = data[1] & 1;
    state.ReverseQuery = (data[1] >> 1) & 1;
    state.Target.assign(reinterpret_cast<const char*>(data + 2), size - 2);
    std::uint8_t query[LookupState::kQueryBufferSize];
    if (!state.PrepareQuery(query)) {
        Require(state.LookupFailed && !state.ReportText.empty());
        return;
    }
    // A query that is sent fits its buffer and holds one question whose
    // labels end with the root right before its type and class. (Labels
    // are walked by their length bytes: one of 64 or more is sent as typed.)
    const int length = (query[0] << 8 | query[1]) + 2;
    Require(length >= 18 && length <= LookupState::kQueryBufferSize);
    ReplyReader reply(query, static_cast<std::size_t>(length));
    reply.Seek(6);
    Require(reply.U16() == 1);
    reply.Seek(14);
    for (std::uint8_t label = reply.U8(); label != 0 && reply.Ok(); label = reply.U8())
        reply.Bytes(label);
    Require(reply.Ok() && reply.Pos() == static_cast<std::size_t>(length - 4));
}

// vek-cli's arguments, separated by zero bytes.
void ParseArguments(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> words{"vek-cli", ""};
    for (std::size_t i = 0; i < size && words.size() < 64; ++i) {
        if (data[i] != 0) words.back() += static_cast<char>(data[i]);
        else words.emplace_back();
    }
    std::vector<const char*> argv;
    for (const std::string& w : words) argv.push_back(w.c_str());
    CliOptions options;
    std::string error;
    if (!ParseOptions(static_cast<int>(argv.size()), argv.data(), options, error)) {
        Require(error.compare(0, 9, "vek-cli: ") == 0);
        return;
    }
    Require(error.empty());
    Require(options.help || options.version || options.decode || !options.target.empty());
    Require(options.queryTypeIndex >= 0 && options.queryTypeIndex <= 19);
}

// Framed messages (length prefix first) one after another, as they arrive.
template <typename Each>
void EachMessage(const std::uint8_t* data, std::size_t size, Each each) {
    for (std::size_t at = 0, next; (next = wire::NextMessage(data, size, at)) != 0; at = next)
        each(data + at, next - at);
}

// Every message through the TSIG verifier with a fixed key; whatever it
// says, it names a failure in words and never the secret.
void VerifyMessages(const std::uint8_t* data, std::size_t size) {
    TsigKey key;
    std::string error;
    Require(ParseKeyOption("hmac-sha256:fuzz-key:c2VjcmV0LXNlY3JldC1zZWNyZXQ=", key, error));
    TsigVerifier verifier(key, std::vector<std::uint8_t>(32, 7));
    EachMessage(data, size, [&verifier](const std::uint8_t* framed, std::size_t length) {
        verifier.Feed(framed, length, 1700000000);
    });
    if (!verifier.End()) Require(!verifier.Failure().empty());
    Require(verifier.Failure().find("c2VjcmV0") == std::string::npos);
}

// The text of a key file; a refusal names its reason and never the secret.
void ParseOneKeyFile(const std::uint8_t* data, std::size_t size) {
    TsigKey key;
    std::string error;
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (ParseKeyFile(text, key, error)) Require(!key.name.empty() && !key.secret.empty());
    else Require(!error.empty());
}

// Every record of every message as zone-file lines: each ends its line.
void WriteZoneLines(const std::uint8_t* data, std::size_t size) {
    EachMessage(data, size, [](const std::uint8_t* framed, std::size_t length) {
        ReplyReader message(framed, length);
        RecordWalk walk(message);
        WireRecord record;
        std::string out;
        while (walk.Next(record)) {
            const std::size_t before = out.size();
            AppendZoneRecord(out, message, record);
            Require(out.size() == before || out.back() == '\n');
        }
    });
}

const Entry kEntries[] = {
    [](const std::uint8_t* data, std::size_t size) { ReportAs(1, data, size); },
    [](const std::uint8_t* data, std::size_t size) { ReportAs(LookupState::kAxfrIndex, data, size); },
    DecodeOneName, PrepareOneQuery, ParseArguments, VerifyMessages, ParseOneKeyFile, WriteZoneLines};
constexpr std::size_t kEntryCount = sizeof kEntries / sizeof kEntries[0];
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    kEntries[data[0] % kEntryCount](data + 1, size - 1);
    return 0;
}
