#pragma once
// What the lookup window remembers between runs, in the current user's
// registry: four options of the dialog under software\Corvane\Vek\Options,
// and the window's outer rectangle under Software\Corvane\Ombrix\Ovek\.
// Every call opens the keys it needs and closes them again; a registry
// failure is never shown: reads fall back to their defaults (or leave the
// incoming value alone), writes are lost.
#include <windows.h>

#include <string>

namespace SettingsStore {

// The "Options" values. An integer counts only when it is stored as a
// 4-byte REG_DWORD, a text only when it is stored as a string; anything
// else reads as missing.
int ReadOptionInt(const char* name, int fallback);
std::string ReadOptionText(const char* name, const std::string& fallback);
void WriteOptionInt(const char* name, int value);
void WriteOptionText(const char* name, const std::string& value);

// On entry the window's current rectangle, on return the stored one. The
// first run (or an unreadable value over 40 bytes) stores the current
// rectangle; a value under 16 bytes replaces only the fields it covers,
// one of 17 to 40 bytes nothing. A stored place that would put the window
// wholly outside the work area of every screen is not restored.
void LoadWindowRect(RECT& rect);
void SaveWindowRect(const RECT& rect);

// The rectangle to remember for a window: its outer rectangle in screen
// coordinates, or, while it is minimised or maximised, the rectangle it
// returns to when restored.
RECT RestoredWindowRect(HWND window);

}  // namespace SettingsStore
