#include <gtest/gtest.h>

#include <filesystem>

#include "ReportTestSupport.h"

namespace {
namespace fs = std::filesystem;

// Replies captured from BIND 9 and Knot DNS (tests/data/capture.sh), each
// beside the report checked by hand: NAME.bin and NAME.report. Files whose
// name holds "axfr" are zone-transfer streams.
TEST(CapturedReplies, EveryReplyDecodesToItsExpectedReport) {
    int checked = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(VEK_TEST_DATA_DIR)) {
        const fs::path bin = entry.path();
        if (bin.extension() != ".bin") continue;
        const std::string name = bin.stem().string();
        ASSERT_TRUE(fs::exists(fs::path(bin).replace_extension(".report"))) << name;
        ReportState state(name.find("axfr") != std::string::npos ? kAxfrIndex : 1);
        EXPECT_EQ(state.Received(CapturedReply(name)), ReadDataFile(name + ".report")) << name;
        ++checked;
    }
    EXPECT_GE(checked, 46);  // 22 questions to each server, MD and MF to Knot
}
}  // namespace
