#include <gtest/gtest.h>

#include "Texts.h"

TEST(Texts, KnownIdsGiveTheirTextUnknownIdsNothing) {
    EXPECT_STREQ(TextOf(506), "Lookup failed: no data recieved");
    EXPECT_STREQ(TextOf(40085), "error #%d (no description)");
    EXPECT_STREQ(TextOf(102), "");
    EXPECT_EQ(FormatText(TextOf(509), 3, 1200),
              "Recieved 3 records (1200 bytes) in reply to AXFR request.");
}
