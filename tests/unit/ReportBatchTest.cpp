// The report's one output path: raw bytes without their zero bytes, pieces
// across many buffers in order, and text taken back wherever it stands.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ReportBatch.h"

TEST(ReportBatch, RawBytesOfEveryLengthLoseOnlyTheirZeros) {
    for (std::size_t length = 0; length <= 40; ++length) {  // around the word sizes
        std::vector<std::uint8_t> plain(length);
        for (std::size_t i = 0; i < length; ++i) plain[i] = static_cast<std::uint8_t>(0x80 + i);
        for (std::size_t zero = 0; zero <= length + 1; ++zero) {  // no zero, one at each place, all zero
            std::vector<std::uint8_t> input = zero > length ? std::vector<std::uint8_t>(length, 0) : plain;
            if (zero < length) input[zero] = 0;
            std::string report = "head:", expected = "head:";
            for (std::uint8_t b : input)
                if (b) expected += static_cast<char>(b);
            {
                ReportBatch batch(report);
                batch.PutRaw(input.data(), input.size());
            }
            EXPECT_EQ(report, expected) << "length " << length << ", zero at " << zero;
        }
    }
}

TEST(ReportBatch, PiecesArriveInOrderAndTruncateTakesBackAnyText) {
    std::string report = "kept", expected = "kept";
    {
        ReportBatch batch(report);
        for (int i = 0; i < 3000; ++i) {  // about 20 KB of pieces
            const std::string number = std::to_string(i);
            batch.Put('\t');
            batch.Put("piece");
            batch.Put(number.data(), number.size());
            expected += "\tpiece" + number;
        }
        const std::string longPiece(ReportBatch::kSize + 7, 'L');  // more than a buffer
        batch.Put(longPiece.data(), longPiece.size());
        expected += longPiece;
        EXPECT_EQ(batch.size(), expected.size());
        const std::size_t mark = batch.size();
        const std::string filler(ReportBatch::kSize * 2, 'f');  // handed over in part
        batch.Put(filler.data(), filler.size());
        batch.Truncate(mark);
        batch.Put("+more");
        const std::size_t second = batch.size();
        batch.Put("dropped");  // still in the buffer
        batch.Truncate(second);
        EXPECT_EQ(batch.Last(), 'e');
    }
    EXPECT_EQ(report, expected + "+more");
}
