#pragma once
// The numbered texts of the program (strings.def), by name, loaded just
// before use.
#include <string>

enum TextId : int {
#define S(name, id, text) name = id,
#include "strings.def"
#undef S
};

// The text of an id; an id that has no text yields the empty text.
const char* TextOf(int id);
inline void LoadText(std::string& out, int id) { out = TextOf(id); }

// printf-style formatting of a numbered text or a fixed fragment.
std::string FormatText(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
