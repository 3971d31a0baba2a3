#pragma once
// Loopback addresses for tests: the prefix comes from VEK_TEST_NET so that
// parallel runs stay apart. The unit tests use host 250: bound by nobody,
// never given a name.
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "sockets/Sockets.h"

inline std::string TestAddress(int host) {
    const char* net = std::getenv("VEK_TEST_NET");
    return std::string(net && *net ? net : "127.0.53") + "." + std::to_string(host);
}

// Tests that use the socket layer start it first (version 1.1) and end it.
class NetTest : public ::testing::Test {
protected:
    void SetUp() override {
        int major = 0, minor = 0;
        ASSERT_TRUE(net::Startup(major, minor));
        EXPECT_EQ(major * 10 + minor, 11);
    }
    void TearDown() override { net::Cleanup(); }
};
