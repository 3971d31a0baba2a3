#pragma once
// Helpers for the report tests: a lookup state that records its hooks, and
// byte vectors in the TCP framing (length prefix first).
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Arrival.h"
#include "LookupState.h"

using Bytes = std::vector<std::uint8_t>;

class ReportState : public LookupState {
public:
    explicit ReportState(std::int32_t queryTypeIndex = 1) {
        QueryTypeIndex = queryTypeIndex;
        Server = "127.0.0.1";
    }
    std::string textAtRefresh;

    // Runs the report of everything received, as the TCP lookup does.
    std::string Received(const Bytes& bytes) {
        ReportReceived(bytes.data(), static_cast<int>(bytes.size()));
        return ReportText;
    }
    // The same bytes arriving `chunk` at a time, through the arrival of a
    // TCP lookup, and reported as it reports them. Checks on the way that
    // the report only grows.
    std::string ReceivedInChunks(const Bytes& bytes, std::size_t chunk);

    std::string grown;  // the report as it stood when it last grew

protected:
    void RefreshControls() override { textAtRefresh = ReportText; }
    void ReportGrew() override {
        CheckGrown();
        grown = ReportText;
    }
    void CheckGrown() const {
        if (ReportText.compare(0, grown.size(), grown) != 0) ADD_FAILURE() << "the report shrank";
    }
};

// Feeds `bytes` to the arrival `chunk` at a time: the count at which it
// first says stop, and why; 0 and Closed when it never does.
struct Stop {
    std::size_t at;
    ReceiveEnd end;
};
inline Stop Feed(Arrival& arrival, const Bytes& bytes, std::size_t chunk) {
    for (std::size_t at = 0; at < bytes.size(); at += chunk) {
        const std::size_t n = std::min(chunk, bytes.size() - at);
        if (arrival.OnBytes(bytes.data() + at, n)) return {at + n, arrival.End()};
    }
    return {0, ReceiveEnd::Closed};
}

inline std::string ReportState::ReceivedInChunks(const Bytes& bytes, std::size_t chunk) {
    Arrival arrival(*this);
    arrival.Report(Feed(arrival, bytes, chunk).end);
    CheckGrown();
    return ReportText;
}

inline Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

// The message with its two-byte big-endian length prefix in front.
inline Bytes Framed(const Bytes& m) {
    return Concat({{static_cast<std::uint8_t>(m.size() >> 8), static_cast<std::uint8_t>(m.size() & 0xFF)}, m});
}

// The framed messages one after the other, as a zone transfer streams them.
inline Bytes Stream(std::initializer_list<Bytes> messages) {
    Bytes stream;
    for (const Bytes& m : messages) stream = Concat({stream, Framed(m)});
    return stream;
}

// A message header: id 1, the two flag bytes, then the four counts.
inline Bytes Header(std::uint8_t flags, std::uint8_t flags2, std::uint16_t qd, std::uint16_t an,
                    std::uint16_t ns = 0, std::uint16_t ar = 0) {
    Bytes h = {0x00, 0x01, flags, flags2};
    for (std::uint16_t count : {qd, an, ns, ar}) {
        h.push_back(static_cast<std::uint8_t>(count >> 8));
        h.push_back(static_cast<std::uint8_t>(count & 0xFF));
    }
    return h;
}

// A record: owner in wire form, type, class IN, TTL, RDLENGTH and the data.
inline Bytes Record(const Bytes& owner, std::uint16_t type, const Bytes& rdata,
                    std::uint32_t ttl = 300) {
    Bytes r = owner;
    for (std::uint32_t v : {std::uint32_t{type} << 16 | 1u, ttl}) {
        for (int shift = 24; shift >= 0; shift -= 8) r.push_back(static_cast<std::uint8_t>(v >> shift));
    }
    r.push_back(static_cast<std::uint8_t>(rdata.size() >> 8));
    r.push_back(static_cast<std::uint8_t>(rdata.size() & 0xFF));
    r.insert(r.end(), rdata.begin(), rdata.end());
    return r;
}

// A pointer to message offset 12: the first name behind the header.
inline const Bytes kFirstName = {0xC0, 0x0C};

// The line that ends the report of a message whose bytes run out.
inline const char* MalformedLine() {
    return "Reply truncated or malformed: the rest of this message is not decoded.\n";
}

// A file of tests/data (captured replies and their expected reports).
inline std::string ReadDataFile(const std::string& name) {
    std::ifstream in(std::string(VEK_TEST_DATA_DIR) + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The names of the captured replies (NAME.bin), the hand-made edge cases
// ("edge-...") left out unless asked for.
inline std::vector<std::string> CapturedNames(bool withEdges) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(VEK_TEST_DATA_DIR)) {
        const std::string name = entry.path().stem().string();
        if (entry.path().extension() == ".bin" && (withEdges || name.rfind("edge-", 0) != 0))
            names.push_back(name);
    }
    return names;
}

// The query type a capture answers: files whose name holds "axfr" are
// zone-transfer streams.
inline std::int32_t CapturedType(const std::string& name) {
    return name.find("axfr") != std::string::npos ? kAxfrIndex : 1;
}

inline Bytes CapturedReply(const std::string& name) {
    const std::string bytes = ReadDataFile(name + ".bin");
    return Bytes(bytes.begin(), bytes.end());
}
