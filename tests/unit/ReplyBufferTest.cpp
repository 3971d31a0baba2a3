#include <gtest/gtest.h>

#include "ReplyBuffer.h"

namespace {
// Fills the buffer with reads of `room` bytes, each byte its own offset
// modulo 251, until MakeRoom stops; returns MakeRoom's last answer.
int FillToTheEnd(ReplyBuffer& reply) {
    for (int reads = 0; reads < 100000; ++reads) {
        const int room = reply.MakeRoom();
        if (room <= 0) return room;
        EXPECT_LE(room, ReplyBuffer::kChunk);
        for (int i = 0; i < room; ++i)
            reply.ReadSpace()[i] = std::uint8_t((reply.size() + i) % 251);
        reply.Add(room);
    }
    return -2;
}
}  // namespace

TEST(ReplyBuffer, ReadsAreAtMost512BytesAndStopAtTheLimit) {
    ReplyBuffer reply(1300);
    EXPECT_EQ(reply.size(), 0);
    EXPECT_NE(reply.data(), nullptr);  // an empty buffer can still be handed on
    EXPECT_EQ(reply.MakeRoom(), 512);
    reply.Add(100);
    EXPECT_EQ(reply.MakeRoom(), 512);
    reply.Add(512);
    EXPECT_EQ(reply.MakeRoom(), 512);
    reply.Add(512);
    EXPECT_EQ(reply.MakeRoom(), 176);  // trimmed to the limit
    reply.Add(176);
    EXPECT_EQ(reply.MakeRoom(), 0);
    EXPECT_EQ(reply.size(), 1300);
}

TEST(ReplyBuffer, KeepsEveryByteWhileItGrows) {
    ReplyBuffer reply(1 << 20);
    EXPECT_EQ(FillToTheEnd(reply), 0);
    ASSERT_EQ(reply.size(), 1 << 20);
    int wrong = 0;
    for (int i = 0; i < reply.size(); ++i) wrong += reply.data()[i] != i % 251;
    EXPECT_EQ(wrong, 0);
}

TEST(ReplyBuffer, NoLimitLeftMeansNoRead) {
    ReplyBuffer none(0);
    EXPECT_EQ(none.MakeRoom(), 0);
    ReplyBuffer odd(1);
    EXPECT_EQ(odd.MakeRoom(), 1);
}
