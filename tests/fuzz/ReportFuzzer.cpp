// libFuzzer target over the decoding of received bytes. The first input byte
// picks an entry from kEntries; the rest is handed to it. New entries (other
// parsers of outside input) are added to the table.
#include <cstddef>
#include <cstdint>
#include <string>

#include "LookupState.h"
#include "ReplyReader.h"

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

void ReportOrdinary(const std::uint8_t* data, std::size_t size) { ReportAs(1, data, size); }

void ReportTransfer(const std::uint8_t* data, std::size_t size) {
    ReportAs(LookupState::kAxfrIndex, data, size);
}

// Two bytes of start position, then the bytes the name is read from.
void DecodeOneName(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return;
    const int position = data[0] << 8 | data[1];
    LookupState state;
    ReplyReader reply(data + 2, size - 2);
    std::string name;
    const int next = state.DecodeName(name, reply, position);
    if (reply.ok()) Require(next > position && static_cast<std::size_t>(next) <= reply.size());
}

const Entry kEntries[] = {ReportOrdinary, ReportTransfer, DecodeOneName};
constexpr std::size_t kEntryCount = sizeof kEntries / sizeof kEntries[0];
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    kEntries[data[0] % kEntryCount](data + 1, size - 1);
    return 0;
}
