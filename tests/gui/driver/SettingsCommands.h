#pragma once
// The driver's commands for the settings, menu and saving tests: the lookup
// window's rectangle on the screen, moving, sizing, minimising and
// maximising it, check states and list selection, the root-server menu, the
// save dialog and its overwrite question, and holding a file locked (see
// Driver.cpp for the list).
#include <windows.h>

#include <string>

bool IsSettingsCommand(const std::string& verb);
// Runs one on the lookup window `dialog`; answers "ok ..." or "error ...".
std::string RunSettingsCommand(HWND dialog, const std::string& verb,
                                const std::string& arguments);
