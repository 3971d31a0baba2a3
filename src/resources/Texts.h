#pragma once
#include <string>

// The numbered texts of the program (strings.def), loaded by number just
// before use. An id that has no text yields the empty text.
const char* TextOf(int id);
inline void LoadText(std::string& out, int id) { out = TextOf(id); }

// printf-style formatting of a numbered text or a fixed fragment.
std::string FormatText(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
