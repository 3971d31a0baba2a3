// The TCP exchange on a worker thread, interrupted from another thread,
// against the scripted servers of CMakeLists.txt (hosts 40 to 42); run
// under ThreadSanitizer as well.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "LookupState.h"
#include "ScriptedServer.h"

namespace {
using namespace std::chrono_literals;

class TestLookup : public LookupState {
public:
    explicit TestLookup(int host, std::int32_t typeIndex = 1) {
        Server = TestAddress(host);
        ServerPort = ScriptedServerPort();
        Target = "zt";
        QueryTypeIndex = typeIndex;
        Busy = 1;
    }
    int idles = 0;  // written by the lookup's own thread
    std::atomic<pid_t> thread{0};  // the lookup's own thread, once it runs

protected:
    void SetBusy(int busy) override {
        LookupState::SetBusy(busy);
        if (!busy) ++idles;
    }
};

// Polls `ready` every 10 ms, at most `count` times.
template <typename Ready>
bool Poll(Ready ready, int count = 1000) {
    for (int i = 0; i < count && !ready(); ++i) std::this_thread::sleep_for(10ms);
    return ready();
}

// Runs the lookup on a thread of its own; `during` runs meanwhile on this
// one. Waits a bounded time for the end, interrupting if it overruns.
template <typename During>
void RunLookup(TestLookup& lookup, During during) {
    std::atomic<bool> done{false};
    std::thread worker([&] {
        lookup.thread = gettid();
        lookup.TcpLookup();
        done = true;
    });
    during();
    EXPECT_TRUE(Poll([&] { return done.load(); }, 1500)) << "the lookup did not end";
    if (!done) lookup.Interrupt();
    worker.join();
}

const char kNoData[] = "Lookup failed: no data recieved";

// Whether the lookup's thread waits in a receive call.
bool InReceive(const TestLookup& lookup) {
    std::ifstream call("/proc/self/task/" + std::to_string(lookup.thread) + "/syscall");
    long number = -1;
    return lookup.thread && call >> number && number == SYS_recvfrom;
}
}  // namespace

TEST(ExchangeThread, InterruptWakesABlockedReadAndTheSocketIsClosedOnce) {
    TestLookup lookup(40);
    int reused = -1;
    RunLookup(lookup, [&] {
        ASSERT_TRUE(Poll([&] { return InReceive(lookup); }));
        lookup.Interrupt();
        // The number just freed is handed out again; a second close by the
        // exchange would take this socket down.
        reused = socket(AF_INET, SOCK_STREAM, 0);
    });
    EXPECT_EQ(lookup.ReportText, kNoData);
    EXPECT_TRUE(lookup.LookupFailed);
    EXPECT_EQ(lookup.LookupSocket, net::kNoSocket);
    EXPECT_EQ(lookup.idles, 1);
    EXPECT_EQ(lookup.Busy, 0);
    EXPECT_EQ(lookup.InterruptRequested, 0);
    ASSERT_GE(reused, 0);
    EXPECT_NE(fcntl(reused, F_GETFD), -1) << "a socket was closed twice";
    close(reused);
}

TEST(ExchangeThread, InterruptBeforeTheConnectionEndsTheLookupAtOnce) {
    TestLookup lookup(41);
    lookup.Interrupt();  // nothing to close yet
    const auto start = std::chrono::steady_clock::now();
    RunLookup(lookup, [] {});
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
    EXPECT_EQ(lookup.ReportText, kNoData);
    EXPECT_EQ(lookup.InterruptRequested, 0);
}

TEST(ExchangeThread, InterruptAtAnyMomentOfATransferEndsItCleanly) {
    const int rounds = 6;  // as many as the scenario serves
    for (int round = 0; round < rounds; ++round) {
        TestLookup lookup(42, LookupState::kAxfrIndex);
        RunLookup(lookup, [&] {
            if (round % 2) {
                ASSERT_TRUE(Poll([&] { return lookup.LookupSocket != net::kNoSocket; }));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(round * 40));
            lookup.Interrupt();
        });
        const bool noData = lookup.ReportText == kNoData;
        const std::string end = " bytes) in reply to AXFR request.";
        EXPECT_TRUE(noData || lookup.ReportText.rfind(end) == lookup.ReportText.size() - end.size())
            << lookup.ReportText;
        EXPECT_EQ(lookup.LookupFailed, noData);
        EXPECT_EQ(lookup.LookupSocket, net::kNoSocket);
        EXPECT_EQ(lookup.idles, 1);
    }
}
