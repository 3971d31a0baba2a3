// Saving a report: CR LF line ends exactly once, nothing else in the file.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "ReportFile.h"

TEST(ReportFile, EveryLineEndBecomesOneCrLf) {
    EXPECT_EQ(ToCrLf(""), "");
    EXPECT_EQ(ToCrLf("no line end"), "no line end");
    EXPECT_EQ(ToCrLf("a\nb\n"), "a\r\nb\r\n");
    EXPECT_EQ(ToCrLf("\n\n"), "\r\n\r\n");
    EXPECT_EQ(ToCrLf("a\r\nb\r\n"), "a\r\nb\r\n");  // already converted: unchanged
    EXPECT_EQ(ToCrLf("mixed\r\nand\nbare"), "mixed\r\nand\r\nbare");
    EXPECT_EQ(ToCrLf("lone\rcr\n"), "lone\rcr\r\n");
    EXPECT_EQ(ToCrLf("\t> Answers:\n\tx\t3600\n"), "\t> Answers:\r\n\tx\t3600\r\n");
}

TEST(ReportFile, WritesTheReportAndNothingElse) {
    const std::string path = ::testing::TempDir() + "vek-report-file-test.txt";
    ASSERT_TRUE(WriteReportFile(path, "Reply from x :\n\tline\n"));
    ASSERT_TRUE(WriteReportFile(path, "short\nreport"));  // replaces, never appends
    std::ifstream in(path, std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content, "short\r\nreport");
    in.close();
    std::remove(path.c_str());
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
    const std::string path = ::testing::TempDir() + "vek-report-file-large.txt";
    ASSERT_TRUE(WriteReportFile(path, report));
    std::ifstream in(path, std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(content == ToCrLf(report));
    in.close();
    std::remove(path.c_str());
}
