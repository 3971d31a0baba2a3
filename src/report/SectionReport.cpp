#include "LookupState.h"
#include "ReplyReader.h"

void LookupState::ReportSections(const std::uint8_t*, int) {}
void LookupState::ReportRecordData(ReplyReader&, int) {}
