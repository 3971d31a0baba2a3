#include "LookupState.h"

void LookupState::DescribeSocketError(std::string*, std::string*, std::int32_t) const {}
