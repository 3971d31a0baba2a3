#pragma once
// Loopback addresses for tests: the prefix comes from VEK_TEST_NET so that
// parallel runs stay apart. The engine's tests use hosts 201 to 204 (the
// unit tests 201 and 202, the vek-cli test 203 and 204) and 250 (bound by
// nobody, never given a name).
#include <cstdlib>
#include <string>

inline std::string TestAddress(int host) {
    const char* net = std::getenv("VEK_TEST_NET");
    return std::string(net && *net ? net : "127.0.53") + "." + std::to_string(host);
}
