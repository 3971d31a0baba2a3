#pragma once
// The lookup state of vek-cli: no controls to refresh, and being busy means
// nothing beyond the base's flags. A zone transfer's report is written out
// as it grows, while the stream arrives, and let go: vek-cli holds neither
// the stream nor the report, so it needs no bound on what it receives.
#include "LookupState.h"
#include "Options.h"
#include "Output.h"

class CliLookup final : public LookupState {
public:
    CliLookup(const CliOptions& options, ReportOutput& output) : output_(output) {
        Target = options.target;
        Server = options.server;
        ServerPort = options.port;
        QueryTypeIndex = options.queryTypeIndex;
        Recursive = options.recursive;
        ReverseQuery = options.inverse;
        DetailedErrors = options.detailedErrors;
        LookupTarget = Target;
        MaxReceived = kNoReceiveLimit;
    }

    // Writes out what the report holds and lets it go.
    void FlushReport() {
        output_.Write(ReportText);
        ReportText.clear();
    }

protected:
    void ReportGrew() override { FlushReport(); }

private:
    ReportOutput& output_;
};
