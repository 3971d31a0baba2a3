// The resolver lookup through the system's own host table: names and
// addresses that every machine has (localhost, 127.0.0.1), and failures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LookupState.h"
#include "Texts.h"
#include "TestNet.h"

namespace {

// Records the closing hooks, in the order they come.
class ResolverState : public LookupState {
public:
    std::vector<std::string> closing;

protected:
    void RefreshControls() override { closing.push_back("refresh"); }
    void SetBusy(int busy) override {
        closing.push_back("busy " + std::to_string(busy));
        LookupState::SetBusy(busy);
    }
};

class ResolverLookupTest : public ::testing::Test {
protected:
    void SetUp() override {
        int major = 0, minor = 0;
        ASSERT_TRUE(net::Startup(major, minor));
    }
    void TearDown() override { net::Cleanup(); }

    void Run(const std::string& target, int detailed = 0) {
        state.Target = target;
        state.DetailedErrors = detailed;
        state.Busy = 1;
        state.InterruptRequested = 1;
        state.ResolverLookup();
        EXPECT_EQ(state.closing, (std::vector<std::string>{"refresh", "busy 0"}));
        EXPECT_EQ(state.Busy, 0);
        EXPECT_EQ(state.InterruptRequested, 0);
    }

    ResolverState state;
};

// A name without an answer: "host not found" where the resolver can ask a
// name server, "non-authoritative host not found" where none answers.
bool IsNotFound(const std::string& report, const std::string& head) {
    return report == head + "host not found" || report == head + "non-authoritative host not found";
}

}  // namespace

TEST_F(ResolverLookupTest, NameResolvesToItsFirstAddress) {
    Run("localhost");
    EXPECT_EQ(state.ReportText, "Default lookup result:\n\tlocalhost resolved as 127.0.0.1");
    EXPECT_FALSE(state.LookupFailed);
}

TEST_F(ResolverLookupTest, AddressResolvesToItsName) {
    Run("127.0.0.1");
    EXPECT_EQ(state.ReportText.rfind("Default lookup result:\n\t127.0.0.1 (127.0.0.1) resolved as localhost", 0), 0u)
        << state.ReportText;
    EXPECT_FALSE(state.LookupFailed);
}

TEST_F(ResolverLookupTest, ShortenedAddressShowsTypedAndFullForm) {
    Run("127.1");
    EXPECT_EQ(state.ReportText.rfind("Default lookup result:\n\t127.1 (127.0.0.1) resolved as localhost", 0), 0u)
        << state.ReportText;
}

TEST_F(ResolverLookupTest, UnknownNameFailsWithTheShortTextOnly) {
    Run("no-such-host.invalid");
    EXPECT_TRUE(IsNotFound(state.ReportText,
                           "Default lookup of <no-such-host.invalid> failed due to following reason:\n\t"))
        << state.ReportText;
    EXPECT_TRUE(state.LookupFailed);
}

TEST_F(ResolverLookupTest, DetailedErrorsAppendTheParagraph) {
    Run("no-such-host.invalid", 1);
    const std::string::size_type at = state.ReportText.find("\n\nDetailed explanation:\n\t");
    ASSERT_NE(at, std::string::npos);
    const std::string paragraph = state.ReportText.substr(at + 25);
    EXPECT_TRUE(paragraph == TextOf(40069) || paragraph == TextOf(40079)) << paragraph;
    EXPECT_TRUE(state.LookupFailed);
}

TEST_F(ResolverLookupTest, UnknownAddressNamesTypedAndParsedForms) {
    const std::string address = TestAddress(250);
    Run(address);
    EXPECT_TRUE(IsNotFound(state.ReportText, "Default lookup of " + address + " (" + address +
                                                 ") failed due to following reason:\n\t"))
        << state.ReportText;
    EXPECT_TRUE(state.LookupFailed);
}

TEST_F(ResolverLookupTest, AllOnesAddressIsAskedAsAName) {
    Run("255.255.255.255");
    // Whatever the resolver says, the target went the name way.
    EXPECT_EQ(state.ReportText.find("(255.255.255.255)"), std::string::npos) << state.ReportText;
}
