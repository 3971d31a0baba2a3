#pragma once
// Loopback addresses for tests: the prefix comes from VEK_TEST_NET so that
// parallel runs stay apart.
#include <cstdlib>
#include <string>

inline std::string TestAddress(int host) {
    const char* net = std::getenv("VEK_TEST_NET");
    return std::string(net && *net ? net : "127.0.53") + "." + std::to_string(host);
}
