#include <gtest/gtest.h>

#include "ReplyBuffer.h"

// Pieces of any size keep every byte, in order, while the storage grows, and
// letting the front go keeps the rest in order.
TEST(ReplyBuffer, KeepsEveryByteInOrder) {
    ReplyBuffer reply;
    EXPECT_NE(reply.data(), nullptr);  // an empty buffer can still be handed on
    std::vector<std::uint8_t> piece(70000);
    std::size_t first = 0;  // the number of the byte at the front
    for (int pieces = 0; pieces < 40; ++pieces) {
        const std::size_t n = 1 + static_cast<std::size_t>(pieces * 7919) % piece.size();
        for (std::size_t i = 0; i < n; ++i) piece[i] = std::uint8_t((first + reply.size() + i) % 251);
        ASSERT_TRUE(reply.Append(piece.data(), n));
        if (pieces % 3 == 2) {
            const std::size_t gone = reply.size() / 2;
            reply.Discard(gone);
            first += gone;
        }
    }
    int wrong = 0;
    for (std::size_t i = 0; i < reply.size(); ++i) wrong += reply.data()[i] != (first + i) % 251;
    EXPECT_EQ(wrong, 0);
}
