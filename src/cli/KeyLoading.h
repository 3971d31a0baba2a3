#pragma once
// The TSIG key that -y or -k names, if any.
#include <string>

#include "Options.h"
#include "TsigKey.h"

// False, with one line in `error` that names the option and what is wrong
// (never the secret), when the key cannot be taken. `found` tells whether
// a key was asked for.
bool LoadKey(const CliOptions& options, TsigKey& key, bool& found, std::string& error);
