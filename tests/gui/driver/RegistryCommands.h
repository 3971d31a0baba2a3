#pragma once
// The driver's registry commands, on HKEY_CURRENT_USER of the Wine prefix the
// program runs in (see Driver.cpp for the list). Values travel as their type
// number and their bytes in hexadecimal.
#include <string>

// Whether `verb` is one of these commands.
bool IsRegistryCommand(const std::string& verb);
// Runs one; answers "ok ..." or "error ...".
std::string RunRegistryCommand(const std::string& verb, const std::string& arguments);
