#include "LookupState.h"

void LookupState::ReportReceived(const std::uint8_t*, int) {}
