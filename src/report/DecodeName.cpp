#include "LookupState.h"
#include "ReplyReader.h"

int LookupState::DecodeName(std::string& name, ReplyReader&, int position) const {
    name.clear();
    return position;
}
