#include "Cli.h"

#include <cstdio>
#include <vector>

#include "ArrivedMessages.h"
#include "CliLookup.h"
#include "DecodeFile.h"
#include "InterruptibleRun.h"
#include "KeyLoading.h"
#include "MessageWatch.h"
#include "Options.h"
#include "Output.h"
#include "ReportFile.h"
#include "Texts.h"

namespace {

constexpr const char* kVersion = "0.4.1";
constexpr int kExitReply = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr int kSocketsFailedText = 103;

int PrintQuery(CliLookup& lookup) {
    std::uint8_t buffer[LookupState::kQueryBufferSize];
    if (!lookup.PrepareQuery(buffer)) {
        PrintReport(lookup.ReportText);
        return kExitFailure;
    }
    const int count = ((buffer[0] << 8) | buffer[1]) + 2;
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
    ArrivedMessages().Feed(lookup, bytes.data(), static_cast<std::int32_t>(bytes.size()));
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

// Prints the report, or with --zone the zone-file text, (what was not
// printed yet), saves it where -o asks, and gives the exit status. With
// --zone a failure report goes to standard error, away from the zone, and
// a zone whose reply failed verification is neither printed nor saved.
int Finish(CliLookup& lookup, const CliOptions& options) {
    MessageWatch& watch = lookup.Watch;
    const bool zone = options.zoneFile && !lookup.LookupFailed;
    if (zone && !watch.Verify())
        return watch.Conclude(kExitFailure, options.stats, lookup.Server, lookup.ServerPort);
    const std::string& text = zone ? watch.zoneText() : lookup.ReportText;
    if (zone) PrintReportPart(text, lookup.Printed);
    else if (options.zoneFile) std::fprintf(stderr, "%s", lookup.ReportText.c_str());
    else PrintReport(text, lookup.Printed);
    std::fflush(stdout);
    int status = lookup.LookupFailed ? kExitFailure : kExitReply;
    if (!options.outputFile.empty() && !WriteReportFile(options.outputFile, text)) {
        std::fprintf(stderr, "vek-cli: cannot write the report to '%s'\n",
                     options.outputFile.c_str());
        status = kExitFailure;
    }
    return watch.Conclude(status, options.stats, lookup.Server, lookup.ServerPort);
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
        std::printf("vek-cli %s\n", kVersion);
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
        std::fprintf(stderr, "%s\n", TextOf(kSocketsFailedText));
        return kExitFailure;
    }
    CliLookup lookup(options, keyGiven ? &key : nullptr);
    const int status = options.printQuery ? PrintQuery(lookup) : Lookup(lookup, options);
    net::Cleanup();
    if (options.printQuery || status != kExitReply) return status;
    return Finish(lookup, options);
}
