#include "Cli.h"

#include <cstdio>
#include <vector>

#include "CliLookup.h"
#include "DecodeFile.h"
#include "InterruptibleRun.h"
#include "Options.h"
#include "Output.h"
#include "Texts.h"
#include "Version.h"
#include "Wire.h"

namespace {

constexpr int kExitReply = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

int PrintQuery(CliLookup& lookup, ReportOutput& output) {
    std::uint8_t buffer[LookupState::kQueryBufferSize];
    if (!lookup.PrepareQuery(buffer)) {
        lookup.FlushReport();
        output.Finish();
        return kExitFailure;
    }
    const int count = static_cast<int>(wire::AnnouncedSize(buffer, wire::kPrefixSize, 0));
    const std::string dump = QueryDump(buffer, count);
    std::fwrite(dump.data(), 1, dump.size(), stdout);
    return kExitReply;
}

// Reports the bytes of a saved exchange as if they had just arrived.
int Decode(CliLookup& lookup, const std::string& path) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ReadReplyFile(path, bytes, error)) {
        PrintUsageError(error);
        return kExitUsage;
    }
    lookup.ReportReceived(bytes.data(), static_cast<int>(bytes.size()));
    return kExitReply;
}

// Runs the lookup the options ask for, as the window's TCP lookup button
// does: over TCP with a server, through the system resolver without one.
int Lookup(CliLookup& lookup, const CliOptions& options) {
    if (options.decode) return Decode(lookup, options.decodeFile);
    lookup.Busy = 1;
    if (lookup.Server.empty()) lookup.ResolverLookup();
    else RunInterruptible(lookup);
    return kExitReply;
}

// Writes the rest of the report, closes the -o file, and gives the exit
// status.
int Finish(CliLookup& lookup, ReportOutput& output) {
    lookup.FlushReport();
    if (!output.Finish()) return kExitFailure;
    return lookup.LookupFailed ? kExitFailure : kExitReply;
}

}  // namespace

int RunCli(int argc, char** argv) {
    UseBinaryStdout();
    CliOptions options;
    std::string error;
    if (!ParseOptions(argc, argv, options, error)) {
        PrintUsageError(error);
        return kExitUsage;
    }
    if (options.help) {
        std::printf("%s\n%s", UsageText(), HelpText());
        return kExitReply;
    }
    if (options.version) {
        std::printf("vek-cli %s\n", VEK_VERSION);
        return kExitReply;
    }
    int major = 0, minor = 0;
    if (!net::Startup(major, minor)) {
        std::fprintf(stderr, "%s\n", TextOf(kSocketsInitFailed));
        return kExitFailure;
    }
    ReportOutput output(options.outputFile);
    CliLookup lookup(options, output);
    const int status = options.printQuery ? PrintQuery(lookup, output) : Lookup(lookup, options);
    net::Cleanup();
    if (options.printQuery || status != kExitReply) return status;
    return Finish(lookup, output);
}
