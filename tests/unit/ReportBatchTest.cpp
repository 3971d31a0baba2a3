#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ReportBatch.h"

namespace {
std::string WithoutZeros(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    for (std::uint8_t b : bytes)
        if (b) text += static_cast<char>(b);
    return text;
}

// --- Raw bytes --------------------------------------------------------------

TEST(ReportBatchRaw, EveryLengthAndZeroPlaceComesOutWithoutTheZeros) {
    // Lengths around the word sizes, with no zero, one zero at each place,
    // and zeros everywhere.
    for (std::size_t length = 0; length <= 40; ++length) {
        std::vector<std::vector<std::uint8_t>> inputs;
        std::vector<std::uint8_t> plain(length);
        for (std::size_t i = 0; i < length; ++i) plain[i] = static_cast<std::uint8_t>(0x80 + i);
        inputs.push_back(plain);
        for (std::size_t zero = 0; zero < length; ++zero) {
            inputs.push_back(plain);
            inputs.back()[zero] = 0;
        }
        inputs.emplace_back(length, 0);
        for (const auto& input : inputs) {
            std::string report = "head:";
            {
                ReportBatch batch(report);
                batch.PutRaw(input.data(), input.size());
            }
            EXPECT_EQ(report, "head:" + WithoutZeros(input)) << "length " << length;
        }
    }
}

// --- Gathering --------------------------------------------------------------

TEST(ReportBatchGathering, PiecesAcrossManyBuffersArriveInOrder) {
    std::string report, expected;
    {
        ReportBatch batch(report);
        for (int i = 0; i < 3000; ++i) {  // about 20 KB of pieces
            batch.Put('\t');
            batch.Put("piece");
            const std::string number = std::to_string(i);
            batch.Put(number.data(), number.size());
            expected += "\tpiece" + number;
        }
        const std::string longPiece(ReportBatch::kSize + 7, 'L');  // more than a buffer
        batch.Put(longPiece.data(), longPiece.size());
        expected += longPiece;
        EXPECT_EQ(batch.size(), expected.size());
    }
    EXPECT_EQ(report, expected);
}

TEST(ReportBatchGathering, TruncateTakesBackTextWhetherHandedOverOrNot) {
    std::string report = "kept";
    {
        ReportBatch batch(report);
        const std::size_t mark = batch.size();
        const std::string filler(ReportBatch::kSize * 2, 'f');  // handed over in part
        batch.Put(filler.data(), filler.size());
        batch.Put("tail");
        batch.Truncate(mark);
        batch.Put("+more");
        const std::size_t second = batch.size();
        batch.Put("dropped");  // still in the buffer
        batch.Truncate(second);
        EXPECT_EQ(batch.Last(), 'e');
        batch.Put('.');
    }
    EXPECT_EQ(report, "kept+more.");
}
}  // namespace
