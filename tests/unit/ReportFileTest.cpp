// Saving a report: CR LF line ends exactly once, nothing else in the file,
// however the text falls on the pieces it is written in.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "ReportFile.h"

namespace {
std::string Saved(const std::string& name, const std::string& report) {
    const std::string path = ::testing::TempDir() + name;
    EXPECT_TRUE(WriteReportFile(path, "an earlier report, longer than the next\n"));
    EXPECT_TRUE(WriteReportFile(path, report));  // replaces, never appends
    std::ifstream in(path, std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    std::remove(path.c_str());
    return content;
}
}  // namespace

TEST(ReportFile, EveryLineEndBecomesOneCrLf) {
    const std::pair<const char*, const char*> rows[] = {
        {"", ""}, {"no line end", "no line end"}, {"a\nb\n", "a\r\nb\r\n"}, {"\n\n", "\r\n\r\n"},
        {"a\r\nb\r\n", "a\r\nb\r\n"}, {"mixed\r\nand\nbare", "mixed\r\nand\r\nbare"}, {"lone\rcr\n", "lone\rcr\r\n"},
    };
    for (const auto& [text, crlf] : rows) EXPECT_EQ(ToCrLf(text), crlf) << text;
    EXPECT_EQ(Saved("vek-report-file-small.txt", "short\nreport"), "short\r\nreport");
    EXPECT_FALSE(WriteReportFile(::testing::TempDir() + "no-such-dir/x/report.txt", "x"));
}

TEST(ReportFile, LargeReportsMatchTheWholeConversion) {
    // Line ends at every distance from the file's internal piece boundaries,
    // CR LF pairs among them, and a long stretch without any line end.
    std::string report = std::string(65535, 'a') + "\r\n";  // a pair split by the first boundary
    for (int i = 0; report.size() < 300000; ++i) {
        report += std::string(static_cast<std::size_t>(i % 97), 'x');
        report += i % 3 ? "\n" : "\r\n";
    }
    report += std::string(200000, 'y') + "\nend";
    EXPECT_TRUE(Saved("vek-report-file-large.txt", report) == ToCrLf(report));
}
