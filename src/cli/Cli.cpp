#include "Cli.h"

#include <cstdio>
#include <vector>

#include "Arrival.h"
#include "CliLookup.h"
#include "DecodeFile.h"
#include "InterruptibleRun.h"
#include "KeyLoading.h"
#include "MessageWatch.h"
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
        output.Write(lookup.ReportText);
        output.Finish();
        return kExitFailure;
    }
    const int count = static_cast<int>(wire::AnnouncedSize(buffer, wire::kPrefixSize, 0));
    const std::string dump = QueryDump(buffer, count);
    std::fwrite(dump.data(), 1, dump.size(), stdout);
    return kExitReply;
}

// Reports the bytes of a saved exchange as if they had just arrived, all in
// one piece.
int Decode(CliLookup& lookup, const std::string& path) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ReadReplyFile(path, bytes, error)) {
        PrintUsageError(error);
        return kExitUsage;
    }
    Arrival arrival(lookup);
    const bool stopped = arrival.OnBytes(bytes.data(), bytes.size());
    arrival.Report(stopped ? arrival.End() : ReceiveEnd::Closed);
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

// Writes the rest of the report, or with --zone of the zone-file text,
// closes the -o file, and gives the exit status. With --zone a failure
// report goes to standard error, away from the zone, and a zone whose reply
// failed verification is neither printed nor saved.
int Finish(CliLookup& lookup, const CliOptions& options, ReportOutput& output) {
    int status = lookup.LookupFailed ? kExitFailure : kExitReply;
    if (options.zoneFile && lookup.LookupFailed) {
        std::fprintf(stderr, "%s", lookup.ReportText.c_str());
    } else if (!options.zoneFile || lookup.Watch.Verify()) {
        if (options.zoneFile) lookup.FlushZone();
        else lookup.FlushReport();
        if (!output.Finish()) status = kExitFailure;
    }
    return lookup.Watch.Conclude(status, options.stats, lookup.Server, lookup.ServerPort);
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
    TsigKey key;
    bool keyGiven = false;
    if (!LoadKey(options, key, keyGiven, error)) {
        PrintUsageError(error);
        return kExitUsage;
    }
    int major = 0, minor = 0;
    if (!net::Startup(major, minor)) {
        std::fprintf(stderr, "%s\n", TextOf(kSocketsInitFailed));
        return kExitFailure;
    }
    ReportOutput output(options.outputFile);
    CliLookup lookup(options, output, keyGiven ? &key : nullptr);
    const int status = options.printQuery ? PrintQuery(lookup, output) : Lookup(lookup, options);
    net::Cleanup();
    if (options.printQuery || status != kExitReply) return status;
    return Finish(lookup, options, output);
}
