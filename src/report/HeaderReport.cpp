#include "LookupState.h"

bool LookupState::ReportHeader(const std::uint8_t*, int) { return false; }
