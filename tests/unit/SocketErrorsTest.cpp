// Socket error codes in words: every row reaches texts of its own, and codes
// without a row take the numbered fall-backs.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "LookupState.h"
#include "SocketErrorTable.h"
#include "Texts.h"

namespace {
std::string Describe(int code, bool longText) {
    LookupState state;
    std::string text = "untouched", other = "untouched";
    if (longText)
        state.DescribeSocketError(&other, &text, code);
    else
        state.DescribeSocketError(&text, nullptr, code);
    return text;
}
}  // namespace

TEST(SocketErrors, EveryRowHasAShortTextAndAParagraphOfItsOwn) {
    std::set<int> ids;
    for (const SocketErrorRow& row : kSocketErrorTable) {
        SCOPED_TRACE(row.code);
        EXPECT_TRUE(ids.insert(row.shortId).second);
        EXPECT_TRUE(ids.insert(row.longId).second);
        EXPECT_EQ(Describe(row.code, false), TextOf(row.shortId));
        EXPECT_FALSE(Describe(row.code, false).empty());
        EXPECT_GT(Describe(row.code, true).size(), 100u);
        EXPECT_EQ(Describe(row.code, true).find('%'), std::string::npos);
    }
    EXPECT_EQ(ids.size(), 84u);
}

TEST(SocketErrors, CodesWithoutARowTakeTheNumberedFallbacks) {
    for (int code : {0, -5, 10005, 10059, 10062}) {
        SCOPED_TRACE(code);
        EXPECT_EQ(Describe(code, false), "error #" + std::to_string(code) + " (no description)");
        EXPECT_EQ(Describe(code, true).rfind("Error #" + std::to_string(code) + ": message", 0), 0u);
    }
    LookupState state;
    state.DescribeSocketError(nullptr, nullptr, 10061);  // nothing to fill, no crash
}
