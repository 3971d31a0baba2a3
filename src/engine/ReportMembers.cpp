// The report operations of a lookup: thin members over the report library.
#include "LookupState.h"
#include "RecordData.h"
#include "Report.h"
#include "ReportBatch.h"

ReportContext LookupState::Report() {
    return {ReportText, RecordCount, QueryTypeIndex == kAxfrIndex, Server};
}

int LookupState::DecodeName(std::string& name, ReplyReader& reply, int position) const {
    return ::DecodeName(name, reply, position);
}

bool LookupState::ReportHeader(const std::uint8_t* buffer, int count) {
    ReportContext report = Report();
    return ::ReportHeader(report, buffer, count);
}

void LookupState::ReportSections(const std::uint8_t* buffer, int count) {
    ReportContext report = Report();
    ::ReportSections(report, buffer, count);
}

void LookupState::ReportRecordData(ReplyReader& reply, int position) {
    ReportBatch out(ReportText);
    TimeToLiveText ttl;
    ::ReportRecordData(out, reply, position, ttl);
}
