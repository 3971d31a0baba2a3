#include <gtest/gtest.h>

#include "ReplyBuffer.h"

// Pieces of any size keep every byte, in order, while the storage grows, up
// to the limit and not beyond.
TEST(ReplyBuffer, KeepsEveryByteUpToTheLimit) {
    const int limit = 1 << 20;
    ReplyBuffer reply(limit);
    EXPECT_NE(reply.data(), nullptr);  // an empty buffer can still be handed on
    std::vector<std::uint8_t> piece(70000);
    for (int pieces = 0; pieces < 40 && !reply.Full(); ++pieces) {
        const std::size_t n = 1 + static_cast<std::size_t>(pieces * 7919) % piece.size();
        for (std::size_t i = 0; i < n; ++i) piece[i] = std::uint8_t((reply.size() + i) % 251);
        ASSERT_TRUE(reply.Append(piece.data(), n));
    }
    ASSERT_TRUE(reply.Full());
    ASSERT_EQ(reply.size(), limit);
    int wrong = 0;
    for (int i = 0; i < reply.size(); ++i) wrong += reply.data()[i] != i % 251;
    EXPECT_EQ(wrong, 0);
}
