#pragma once
// The query-type list as a table (query_types.def): what each line of the
// window's list and each name of vek-cli's -t stands for.
#include <cstdint>

#include "Texts.h"

struct QueryType {
    const char* mnemonic;
    std::uint16_t qtype;
    TextId text;  // how a question of this type is reported
    const char* line;
};

constexpr QueryType kQueryTypes[] = {
#define Q(index, mnemonic, qtype, text, line) {mnemonic, qtype, text, line},
#include "query_types.def"
#undef Q
};
constexpr int kQueryTypeCount = sizeof kQueryTypes / sizeof kQueryTypes[0];

// The line that switches on zone-transfer handling.
constexpr std::int32_t kAxfrIndex = 17;
static_assert(kAxfrIndex < kQueryTypeCount && kQueryTypes[kAxfrIndex].qtype == 252,
              "the AXFR line");

// The QTYPE sent for a line of the list; an index outside it (-1 when no
// line is selected) is sent as its own value cut to 16 bits.
constexpr std::uint16_t QueryTypeCode(std::int32_t index) {
    return index >= 0 && index < kQueryTypeCount ? kQueryTypes[index].qtype
                                                 : static_cast<std::uint16_t>(index);
}

// The row of the list that sends `qtype`, or nullptr.
const QueryType* FindQueryType(unsigned qtype);
