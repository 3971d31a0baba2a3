#include "LookupState.h"

std::string LookupState::ChooseQueryName() const { return Target; }
void LookupState::BuildQuery(std::uint8_t*, const char*) const {}
bool LookupState::PrepareQuery(std::uint8_t*) { return false; }
