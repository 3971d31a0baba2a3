// Address parsing as Windows Sockets does it, on every platform.
#include <gtest/gtest.h>

#include <cstring>
#include <utility>

#include "TestNet.h"

namespace {

std::uint32_t Address(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d) {
    const std::uint8_t bytes[4] = {a, b, c, d};
    std::uint32_t value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

}  // namespace

TEST_F(NetTest, InetAddrTakesWhatWindowsSocketsTakes) {
    const std::pair<const char*, std::uint32_t> rows[] = {
        {"10.20.30.40", Address(10, 20, 30, 40)}, {"10.1", Address(10, 0, 0, 1)},
        {"1.2.3", Address(1, 2, 0, 3)},           {"1.2.65535", Address(1, 2, 255, 255)},
        {"1.16777215", Address(1, 255, 255, 255)}, {"0X7F.1", Address(127, 0, 0, 1)},
        {"010.1.1.1", Address(8, 1, 1, 1)},       {"4294967294", Address(255, 255, 255, 254)},
        {"1.2.3.4 and more", Address(1, 2, 3, 4)}, {"1.2.3.4\t", Address(1, 2, 3, 4)},
    };
    for (const auto& [text, address] : rows) EXPECT_EQ(net::InetAddr(text), address) << text;
    for (const char* text : {"255.255.255.255", "4294967295", "", " 1.2.3.4", "1.2.3.256",
                             "1.2.3.4.", "1..2.3", "1.2.3.4x", "08.1.1.1", "0x", "a.b",
                             "1.16777216", "4294967296", "+1.2.3.4", "1.2.3.-4", "localhost"})
        EXPECT_EQ(net::InetAddr(text), net::kAddrNone) << "[" << text << "]";
}
