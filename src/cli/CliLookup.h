#pragma once
// The lookup state of vek-cli: no controls to refresh, and being busy means
// nothing beyond the base's flags. A zone transfer's report (or, with
// --zone, its zone-file text) is written out as it grows, while the stream
// arrives, and let go: vek-cli holds neither the stream nor the report, so
// it needs no bound on what it receives. Each message also goes through the
// watch (TSIG, statistics, the transfer's end). With --zone and a key the
// zone-file text is held back until the whole reply has verified.
#include <cstdint>
#include <string>

#include "LookupState.h"
#include "MessageWatch.h"
#include "Options.h"
#include "Output.h"

class CliLookup final : public LookupState {
public:
    // `key`, when given, must outlive the lookup.
    CliLookup(const CliOptions& options, ReportOutput& output, const TsigKey* key = nullptr)
        : Watch(key, options.zoneFile, options.queryTypeIndex == kAxfrIndex),
          output_(output), zoneFile_(options.zoneFile) {
        Target = options.target;
        Server = options.server;
        ServerPort = options.port;
        QueryTypeIndex = options.queryTypeIndex;
        Recursive = options.recursive;
        ReverseQuery = options.inverse;
        DetailedErrors = options.detailedErrors;
        LookupTarget = Target;
        MaxReceived = kNoReceiveLimit;
        AnyAddressFamily = true;
    }

    MessageWatch Watch;

    // Writes out what the report holds and lets it go. With --zone the
    // report is not the output: it is let go unwritten.
    void FlushReport() {
        if (!zoneFile_) output_.Write(ReportText);
        ReportText.clear();
    }
    // Writes out the zone-file text written so far and lets it go.
    void FlushZone() {
        output_.Write(Watch.ZoneText());
        Watch.ForgetZoneText();
    }

    bool QueryReady(std::uint8_t* query, int capacity) override {
        std::string error;
        if (Watch.SignQuery(query, capacity, error)) return true;
        ReportText = "vek-cli: " + error + "\n";
        LookupFailed = true;
        return false;
    }
    void MessageArrived(const std::uint8_t* framed, int size) override {
        Watch.Arrived(framed, size);
        if (zoneFile_ && !Watch.Verifying()) FlushZone();
    }

protected:
    void ReportGrew() override { FlushReport(); }

private:
    ReportOutput& output_;
    const bool zoneFile_;
};
