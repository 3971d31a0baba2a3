#pragma once
// The lookup state of vek-cli: no controls to refresh, and being busy means
// nothing beyond the base's flags, so the closing hooks stay as they are. A
// zone transfer's report (or, with --zone, its zone-file text) is printed as
// it grows, while the stream arrives; each message also goes through the
// watch (TSIG, statistics, the transfer's end).
#include <cstddef>

#include "LookupState.h"
#include "MessageWatch.h"
#include "Options.h"
#include "Output.h"
#include "Texts.h"

class CliLookup final : public LookupState {
public:
    // `key`, when given, must outlive the lookup.
    explicit CliLookup(const CliOptions& options, const TsigKey* key = nullptr)
        : Watch(key, options.zoneFile, options.queryTypeIndex == kAxfrIndex),
          zoneFile_(options.zoneFile) {
        Target = options.target;
        Server = options.server;
        ServerPort = options.port;
        QueryTypeIndex = options.queryTypeIndex;
        Recursive = options.recursive;
        ReverseQuery = options.inverse;
        DetailedErrors = options.detailedErrors;
        LookupTarget = Target;
        AnyAddressFamily = true;
    }

    MessageWatch Watch;
    // Report (or zone-file) bytes printed while the lookup ran.
    std::size_t Printed = 0;

    bool QueryReady(std::uint8_t* query, int capacity) override {
        std::string error;
        if (Watch.SignQuery(query, capacity, error)) return true;
        ReportText = "vek-cli: " + error + "\n";
        LookupFailed = true;
        return false;
    }
    void MessageArrived(const std::uint8_t* framed, int size) override {
        Watch.Arrived(framed, size);
        if (zoneFile_ && !Watch.verifying()) Printed = PrintReportPart(Watch.zoneText(), Printed);
    }

protected:
    void ReportGrew() override {
        if (!zoneFile_) Printed = PrintReportPart(ReportText, Printed);
    }

private:
    const bool zoneFile_;
};
