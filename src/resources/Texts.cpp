#include "Texts.h"

#include "QueryTypes.h"

#include <cstdarg>
#include <cstdio>

namespace {
struct Entry {
    int id;
    const char* text;
};

const Entry kTexts[] = {
#define S(name, id, text) {id, text},
#include "strings.def"
#undef S
};
}  // namespace

const char* TextOf(int id) {
    for (const Entry& e : kTexts)
        if (e.id == id) return e.text;
    return "";
}

std::string FormatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string out;
    if (length > 0) {
        out.resize(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(&out[0], out.size(), format, again);
        out.resize(static_cast<std::size_t>(length));
    }
    va_end(again);
    return out;
}

const QueryType* FindQueryType(unsigned qtype) {
    for (const QueryType& row : kQueryTypes)
        if (row.qtype == qtype) return &row;
    return nullptr;
}
