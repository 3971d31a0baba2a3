#include <gtest/gtest.h>

#include "ReportTestSupport.h"

namespace {
std::string WithoutMalformedLines(std::string text) {
    const std::string line = MalformedLine();
    for (std::size_t at; (at = text.find(line)) != std::string::npos;) text.erase(at, line.size());
    return text;
}

std::string AfterFirstLine(const std::string& text) { return text.substr(text.find('\n') + 1); }

// Every prefix of a valid reply gives a clean report: the raw dump of a short
// header, or the header and the entries that arrived whole, each exactly as
// in the full report, and at most the malformed line where the bytes ran out.
void SweepPrefixes(const Bytes& full, std::int32_t typeIndex) {
    ReportState whole(typeIndex);
    const std::string fullBody = AfterFirstLine(whole.Received(full));
    ASSERT_EQ(fullBody.find(MalformedLine()), std::string::npos);
    for (std::size_t n = 0; n < full.size(); ++n) {
        ReportState state(typeIndex);
        const Bytes prefix(full.begin(), full.begin() + static_cast<long>(n));
        const std::string report = state.Received(prefix);
        if (n < 14) {
            const std::string expected =
                n == 0 ? "Lookup failed: no data recieved"
                       : "Reply from 127.0.0.1 : " + std::to_string(n) +
                             " bytes recieved\nheader is incomplete";
            EXPECT_EQ(report.compare(0, expected.size(), expected), 0) << n;
            continue;
        }
        std::string body = WithoutMalformedLines(AfterFirstLine(report));
        if (typeIndex == kAxfrIndex) {
            const std::string summary = "\nRecieved " + std::to_string(state.RecordCount) +
                                        " records (" + std::to_string(n) + " bytes)";
            ASSERT_NE(report.find(summary), std::string::npos) << n;
            body = body.substr(0, body.rfind(summary));
        } else if (body.size() > 1 && body.back() == '\n' && fullBody.compare(0, body.size(), body) != 0) {
            body.pop_back();  // the line end put before the malformed line
        }
        EXPECT_EQ(fullBody.compare(0, body.size(), body), 0) << n << "\n" << report;
        EXPECT_LE(state.RecordCount, whole.RecordCount) << n;
    }
}

TEST(TruncationSweep, EveryPrefixOfEveryCapturedReply) {
    for (const std::string& name : CapturedNames(false)) {  // CapturedReplies checks they are all there
        if (name.find("refused") != std::string::npos) continue;  // one message, no walk
        SCOPED_TRACE(name);
        SweepPrefixes(CapturedReply(name), CapturedType(name));
    }
}
}  // namespace
