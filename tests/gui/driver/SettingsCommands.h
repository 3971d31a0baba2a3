#pragma once
// The driver's commands for the settings, menu and saving tests: moving,
// sizing, minimising and maximising the lookup window, check states, the
// root-server menu, the save dialog and its overwrite question, and holding
// a file locked (see Driver.cpp for the list).
#include <windows.h>

#include <string>

bool IsSettingsCommand(const std::string& verb);
// Runs one on the lookup window `dialog`; answers "ok ..." or "error ...".
std::string RunSettingsCommand(HWND dialog, const std::string& verb,
                                const std::string& arguments);
