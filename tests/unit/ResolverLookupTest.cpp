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

class ResolverLookupTest : public NetTest {
protected:
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

}  // namespace

// Names and addresses every machine knows, and failures. A name without an
// answer gives "host not found" where the resolver can ask a name server,
// "non-authoritative host not found" where none answers.
TEST_F(ResolverLookupTest, ReportsTheAnswerOrTheReason) {
    const std::string unknown = TestAddress(250);
    const std::string failed = " failed due to following reason:\n\t";
    const struct {
        std::string target;
        std::string head;  // the report starts with it
        bool fails;
    } rows[] = {
        {"127.0.0.1", "Default lookup result:\n\t127.0.0.1 (127.0.0.1) resolved as localhost", false},
        {"127.1", "Default lookup result:\n\t127.1 (127.0.0.1) resolved as localhost", false},
        {"no-such-host.invalid", "Default lookup of <no-such-host.invalid>" + failed, true},
        {unknown, "Default lookup of " + unknown + " (" + unknown + ")" + failed, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.target);
        Run(row.target);
        EXPECT_EQ(state.ReportText.rfind(row.head, 0), 0u) << state.ReportText;
        EXPECT_EQ(state.LookupFailed, row.fails);
        if (row.fails) {
            const std::string reason = state.ReportText.substr(row.head.size());
            EXPECT_TRUE(reason == "host not found" || reason == "non-authoritative host not found") << reason;
        }
        state.closing.clear();
        state.LookupFailed = false;
    }
    Run("no-such-host.invalid", 1);  // detailed errors append the paragraph
    const std::string::size_type at = state.ReportText.find("\n\nDetailed explanation:\n\t");
    ASSERT_NE(at, std::string::npos);
    const std::string paragraph = state.ReportText.substr(at + 25);
    EXPECT_TRUE(paragraph == TextOf(40069) || paragraph == TextOf(40079)) << paragraph;
}
