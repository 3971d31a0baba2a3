#pragma once
// Driver commands for the bad-input window tests: what the clipboard holds
// for "Target >", and whether the window still answers messages.
#include <string>

// "empty": a clipboard with nothing on it; "bitmap": one that holds a
// picture and no text; "text <escaped text>"; "huge <count>": that many
// characters of text. Answers "ok" or "error ...".
std::string SetClipboard(const std::string& argument);
// Sends the window a message that it must answer within `ms` milliseconds
// (SendMessageTimeout); answers "ok" or "error not responding".
std::string CheckResponsive(long ms);
