#pragma once
// The lookup state of vek-cli: no controls to refresh, and being busy means
// nothing beyond the base's flags, so the closing hooks stay as they are. A
// zone transfer's report is printed as it grows, while the stream arrives.
#include <cstddef>

#include "LookupState.h"
#include "Options.h"
#include "Output.h"

class CliLookup final : public LookupState {
public:
    explicit CliLookup(const CliOptions& options) {
        Target = options.target;
        Server = options.server;
        ServerPort = options.port;
        QueryTypeIndex = options.queryTypeIndex;
        Recursive = options.recursive;
        ReverseQuery = options.inverse;
        DetailedErrors = options.detailedErrors;
        LookupTarget = Target;
    }

    // Report bytes printed while the lookup ran.
    std::size_t Printed = 0;

protected:
    void ReportGrew() override { Printed = PrintReportPart(ReportText, Printed); }
};
