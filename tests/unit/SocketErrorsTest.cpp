// Socket error codes in words: table rows, their ids, and the fall-backs.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "LookupState.h"
#include "SocketErrorTable.h"
#include "Texts.h"

namespace {

class ErrorState : public LookupState {};

std::string ShortOf(int code) {
    ErrorState state;
    std::string text;
    state.DescribeSocketError(&text, nullptr, code);
    return text;
}

std::string LongOf(int code) {
    ErrorState state;
    std::string text;
    state.DescribeSocketError(nullptr, &text, code);
    return text;
}

}  // namespace

TEST(SocketErrors, KnownCodesGiveTheirShortTexts) {
    EXPECT_EQ(ShortOf(11001), "host not found");
    EXPECT_EQ(ShortOf(10061), "connection refused");
    EXPECT_EQ(ShortOf(10060), "connection timed out");
    EXPECT_EQ(ShortOf(10004), "interrupted function call");
    EXPECT_EQ(ShortOf(10092), "WINSOCK.DLL version is out of range");
    EXPECT_EQ(ShortOf(10093), "successful WSAStartup not yet performed");
    EXPECT_EQ(ShortOf(11004), "valid name, no data record of requested type");
}

TEST(SocketErrors, IdsOutOfCodeOrderComeFromTheirRows) {
    EXPECT_EQ(ShortOf(10056), "socket is already connected");
    EXPECT_EQ(LongOf(10056), TextOf(40031));
    EXPECT_EQ(ShortOf(10022), "invalid argument");
    EXPECT_EQ(LongOf(10022), TextOf(40029));
    EXPECT_EQ(ShortOf(10051), "network is unreachable");
    EXPECT_EQ(LongOf(10051), TextOf(40084));
    EXPECT_EQ(ShortOf(10055), "no buffer space is available");
    EXPECT_EQ(LongOf(10055), TextOf(40043));
}

TEST(SocketErrors, EveryRowHasAShortTextAndAParagraph) {
    std::set<int> ids;
    for (const SocketErrorRow& row : kSocketErrorTable) {
        EXPECT_TRUE(ids.insert(row.shortId).second) << row.code;
        EXPECT_TRUE(ids.insert(row.longId).second) << row.code;
        const std::string longText = TextOf(row.longId);
        EXPECT_FALSE(std::string(TextOf(row.shortId)).empty()) << row.code;
        EXPECT_GT(longText.size(), 100u) << row.code;
        EXPECT_EQ(longText.find('%'), std::string::npos) << row.code;
    }
    EXPECT_EQ(sizeof kSocketErrorTable / sizeof kSocketErrorTable[0], 42u);
    EXPECT_EQ(*ids.begin(), 40000);
    EXPECT_EQ(*ids.rbegin(), 40084);
}

TEST(SocketErrors, CodesWithoutARowTakeTheNumberedFallbacks) {
    EXPECT_EQ(ShortOf(10059), "error #10059 (no description)");
    EXPECT_EQ(ShortOf(0), "error #0 (no description)");
    EXPECT_EQ(ShortOf(-5), "error #-5 (no description)");
    for (int code = 10005; code <= 10012; ++code)
        EXPECT_EQ(ShortOf(code), "error #" + std::to_string(code) + " (no description)");
    for (int code : {10062, 10063, 10066}) EXPECT_NE(ShortOf(code).find("no description"), std::string::npos);
    EXPECT_EQ(LongOf(10059).rfind("Error #10059: message description was not found", 0), 0u);
}

TEST(SocketErrors, PlacesNotGivenAreLeftAlone) {
    ErrorState state;
    std::string shortText = "before";
    std::string longText = "kept";
    state.DescribeSocketError(&shortText, nullptr, 10061);
    EXPECT_EQ(shortText, "connection refused");
    EXPECT_EQ(longText, "kept");
    state.DescribeSocketError(nullptr, &longText, 12345);
    EXPECT_EQ(longText.rfind("Error #12345:", 0), 0u);
    state.DescribeSocketError(nullptr, nullptr, 10061);  // nothing to fill, no crash
}
