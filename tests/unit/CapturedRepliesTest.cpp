#include <gtest/gtest.h>

#include "ReportTestSupport.h"

// Replies captured from BIND 9 and Knot DNS (tests/data/capture.sh) and the
// hand-made edge cases, each beside the report checked by hand: NAME.bin and
// NAME.report.
TEST(CapturedReplies, EveryReplyDecodesToItsExpectedReport) {
    const std::vector<std::string> names = CapturedNames(true);
    EXPECT_GE(names.size(), 55u);  // 22 questions to each server, MD and MF to Knot, 9 edges
    for (const std::string& name : names) {
        ReportState state(CapturedType(name));
        EXPECT_EQ(state.Received(CapturedReply(name)), ReadDataFile(name + ".report")) << name;
    }
}
