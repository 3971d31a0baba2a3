// Socket error codes without a row of their own take the numbered fall-backs.
#include <gtest/gtest.h>

#include <string>

#include "LookupState.h"

TEST(SocketErrors, CodesWithoutARowTakeTheNumberedFallbacks) {
    for (int code : {0, -5, 10005, 10059, 10062}) {
        SCOPED_TRACE(code);
        LookupState state;
        std::string shortText = "untouched", longText = "untouched", other = "untouched";
        state.DescribeSocketError(&shortText, nullptr, code);
        state.DescribeSocketError(&other, &longText, code);
        EXPECT_EQ(shortText, "error #" + std::to_string(code) + " (no description)");
        EXPECT_EQ(longText.rfind("Error #" + std::to_string(code) + ": message", 0), 0u);
    }
    LookupState state;
    state.DescribeSocketError(nullptr, nullptr, 10061);  // nothing to fill, no crash
}
