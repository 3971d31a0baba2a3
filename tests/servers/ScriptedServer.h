#pragma once
// Where the scripted servers that scenarios.py starts for a test program
// listen: VEK_TEST_NET.HOST, port 53 as root and 10053 otherwise.
#include <unistd.h>

#include <cstdint>

#include "TestNet.h"

inline std::uint16_t ScriptedServerPort() { return geteuid() == 0 ? 53 : 10053; }
