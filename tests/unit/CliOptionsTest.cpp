// vek-cli's command line: what each option sets, and every kind of bad usage.
#include <gtest/gtest.h>

#include <utility>
#include <string>
#include <vector>

#include "Options.h"
#include "Output.h"

namespace {

struct Parsed {
    bool ok;
    CliOptions options;
    std::string error;
};

Parsed Parse(const std::vector<const char*>& args) {
    std::vector<const char*> argv = {"vek-cli"};
    argv.insert(argv.end(), args.begin(), args.end());
    Parsed p;
    p.ok = ParseOptions(static_cast<int>(argv.size()), argv.data(), p.options, p.error);
    return p;
}

}  // namespace

TEST(CliOptions, DefaultsAskTheResolverForAnAddress) {
    const Parsed p = Parse({"example.com"});
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.options.target, "example.com");
    EXPECT_EQ(p.options.server, "");
    EXPECT_EQ(p.options.queryTypeIndex, 1);
    EXPECT_EQ(p.options.port, 53);
    EXPECT_EQ(p.options.recursive, 1);
    EXPECT_EQ(p.options.inverse, 0);
    EXPECT_EQ(p.options.detailedErrors, 0);
    EXPECT_FALSE(p.options.printQuery);
    EXPECT_FALSE(p.options.decode);
}

TEST(CliOptions, EveryOptionSetsItsMember) {
    const Parsed p = Parse({"-s", "127.0.0.2", "-t", "mx", "-p", "5300", "--no-recursive",
                            "--inverse", "--detailed-errors", "-o", "out.txt", "ab.c"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.options.server, "127.0.0.2");
    EXPECT_EQ(p.options.queryTypeIndex, 15);
    EXPECT_EQ(p.options.port, 5300);
    EXPECT_EQ(p.options.recursive, 0);
    EXPECT_EQ(p.options.inverse, 1);
    EXPECT_EQ(p.options.detailedErrors, 1);
    EXPECT_EQ(p.options.outputFile, "out.txt");
    EXPECT_EQ(Parse({"-d", "x"}).options.detailedErrors, 1);
    // Attached values, options after the target, "--" before a dashed target.
    const Parsed q = Parse({"x", "-tAXFR", "-s127.0.0.3"});
    EXPECT_EQ(q.options.queryTypeIndex, 17);
    EXPECT_EQ(q.options.server, "127.0.0.3");
    EXPECT_EQ(Parse({"--", "-odd"}).options.target, "-odd");
}

TEST(CliOptions, QueryTypesByNameOrIndex) {
    const char* names[] = {"ANY", "A",     "NS", "MD",  "MF",   "CNAME", "SOA",
                           "MB",  "MG",    "MR", "NULL", "WKS", "PTR",   "HINFO",
                           "MINFO", "MX", "TXT", "AXFR", "MAILB", "MAILA"};
    for (int i = 0; i < 20; ++i) {
        std::int32_t index = -5;
        EXPECT_TRUE(ParseQueryType(names[i], index));
        EXPECT_EQ(index, i);
        EXPECT_TRUE(ParseQueryType(std::to_string(i), index));
        EXPECT_EQ(index, i);
    }
    std::int32_t index = 0;
    EXPECT_TRUE(ParseQueryType("cName", index));
    EXPECT_EQ(index, 5);
    for (const char* bad : {"20", "-1", "AAAA", "", "1x", "00000000001"})
        EXPECT_FALSE(ParseQueryType(bad, index)) << bad;
}

TEST(CliOptions, BadUsageSaysWhatIsWrong) {
    const std::pair<std::vector<const char*>, const char*> cases[] = {
        {{}, "vek-cli: no target given"},
        {{""}, "vek-cli: the target is empty"},
        {{"a", "b"}, "vek-cli: more than one target ('a' and 'b')"},
        {{"-x", "a"}, "vek-cli: unknown option '-x'"},
        {{"--server", "a"}, "vek-cli: unknown option '--server'"},
        {{"a", "-s"}, "vek-cli: option -s needs a value"},
        {{"-t", "AAAA", "a"}, "vek-cli: unknown query type 'AAAA' (a name such as MX, or 0 to 19)"},
        {{"-p", "0", "a"}, "vek-cli: invalid port '0' (1 to 65535)"},
        {{"-p", "65536", "a"}, "vek-cli: invalid port '65536' (1 to 65535)"},
        {{"-p", "53x", "a"}, "vek-cli: invalid port '53x' (1 to 65535)"},
        {{"--decode"}, "vek-cli: option --decode needs a value"},
        {{"--decode", "f", "a"}, "vek-cli: --decode reads a file and takes no target"},
        {{"--decode", "f", "--print-query"}, "vek-cli: --decode and --print-query exclude each other"},
        {{"--print-query", "-o", "f", "a"}, "vek-cli: --print-query writes no report for -o to save"},
    };
    for (const auto& c : cases) {
        const Parsed p = Parse(c.first);
        EXPECT_FALSE(p.ok) << c.second;
        EXPECT_EQ(p.error, c.second);
    }
}

TEST(CliOptions, HelpVersionAndDecodeNeedNoTarget) {
    EXPECT_TRUE(Parse({"--help"}).options.help);
    EXPECT_TRUE(Parse({"--version"}).options.version);
    const Parsed p = Parse({"--decode", "reply.bin", "-s", "ns1", "-t", "17"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_TRUE(p.options.decode);
    EXPECT_EQ(p.options.decodeFile, "reply.bin");
    EXPECT_EQ(p.options.queryTypeIndex, 17);
}

TEST(CliOutput, QueryDumpIsSixteenGroupsToALine) {
    std::uint8_t bytes[18];
    for (int i = 0; i < 18; ++i) bytes[i] = static_cast<std::uint8_t>(i * 15);
    EXPECT_EQ(QueryDump(bytes, 18),
              "00 0f 1e 2d 3c 4b 5a 69 78 87 96 a5 b4 c3 d2 e1 \nf0 ff \n");
    EXPECT_EQ(QueryDump(bytes, 16), "00 0f 1e 2d 3c 4b 5a 69 78 87 96 a5 b4 c3 d2 e1 \n");
}
