#pragma once
// The escaping of texts in the driver's commands and answers.
#include <string>

// \n, \r, \t and \\ as two characters; every other byte as it is.
std::string Escape(const std::string& text);
std::string Unescape(const std::string& text);
// UTF-16 of another process's window to the program's 8-bit text.
std::string Narrow(const std::wstring& text);
std::wstring Widen(const std::string& text);
// "ok <escaped text>" of a string resource of an executable file.
std::string LoadStringOf(const std::string& module, int id);
