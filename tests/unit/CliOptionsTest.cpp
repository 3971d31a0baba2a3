// vek-cli's command line: what each option sets, and every kind of bad usage.
#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <string>
#include <vector>

#include "Options.h"

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

TEST(CliOptions, EveryOptionSetsItsMember) {
    const Parsed d = Parse({"example.com"});
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(std::make_tuple(d.options.target, d.options.server, d.options.queryTypeIndex, d.options.port,
                              d.options.recursive, d.options.inverse, d.options.detailedErrors),
              std::make_tuple(std::string("example.com"), std::string(), 1, 53, 1, 0, 0));
    const Parsed p = Parse({"--detailed-errors", "-o", "out.txt", "ab.c"});
    EXPECT_EQ(std::make_tuple(p.options.detailedErrors, p.options.outputFile), std::make_tuple(1, std::string("out.txt")));
    // Attached values, options after the target, "--" before a dashed target.
    const Parsed q = Parse({"x", "-tAXFR", "-s127.0.0.3"});
    EXPECT_EQ(q.options.queryTypeIndex, 17);
    EXPECT_EQ(q.options.server, "127.0.0.3");
    EXPECT_EQ(Parse({"--", "-odd"}).options.target, "-odd");
    EXPECT_EQ(Parse({"-t", "19", "x"}).options.queryTypeIndex, 19);
    // Help, version and decoding need no target.
    EXPECT_TRUE(Parse({"--help"}).options.help && Parse({"--version"}).options.version);
    const Parsed r = Parse({"--decode", "reply.bin", "-s", "ns1", "-t", "17"});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(std::make_tuple(r.options.decode, r.options.decodeFile, r.options.queryTypeIndex),
              std::make_tuple(true, std::string("reply.bin"), 17));
    for (const char* bad : {"20", "-1", "", "1x", "00000000001"}) {
        std::int32_t index = 0;
        EXPECT_FALSE(ParseQueryType(bad, index)) << bad;
    }
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
