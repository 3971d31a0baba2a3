// The TCP exchange on a worker thread, interrupted from another thread,
// against scripted servers; run under ThreadSanitizer as well.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <initializer_list>
#include <string>
#include <thread>

#include "LookupState.h"
#include "ServerProcess.h"

namespace {
using namespace std::chrono_literals;

class TestLookup : public LookupState {
public:
    explicit TestLookup(const ServerProcess& server, std::int32_t typeIndex = 1) {
        Server = server.address();
        ServerPort = static_cast<std::uint16_t>(ServerProcess::port());
        Target = "zt";
        QueryTypeIndex = typeIndex;
        Busy = 1;
    }
    int idles = 0;  // written by the lookup's own thread

protected:
    void SetBusy(int busy) override {
        LookupState::SetBusy(busy);
        if (!busy) ++idles;
    }
};

// Runs the lookup on a thread of its own; `during` runs meanwhile on this
// one. Waits a bounded time for the end, interrupting if it overruns.
template <typename During>
void RunLookup(TestLookup& lookup, During during) {
    std::atomic<bool> done{false};
    std::thread worker([&] {
        lookup.TcpLookup();
        done = true;
    });
    during();
    for (int i = 0; i < 1500 && !done; ++i) std::this_thread::sleep_for(10ms);
    EXPECT_TRUE(done) << "the lookup did not end";
    if (!done) lookup.Interrupt();
    worker.join();
}

bool WaitForSocket(const LookupState& lookup) {
    for (int i = 0; i < 1000; ++i) {
        if (lookup.LookupSocket != net::kNoSocket) return true;
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += static_cast<char>(v);
    return out;
}

// A transfer message holding `count` records, with its length prefix.
std::string Message(const std::string& records, int count) {
    const std::string body = Bytes({
        0x00, 0x00,   // ID
        0x84, 0x00,   // flags: answer, authoritative, RCODE 0
        0x00, 0x00,   // QDCOUNT
        0x00, count,  // ANCOUNT
        0x00, 0x00,   // NSCOUNT
        0x00, 0x00,   // ARCOUNT
    }) + records;
    const int length = static_cast<int>(body.size());
    return Bytes({length >> 8, length & 0xFF}) + body;
}

const std::string kSoa = Bytes({
    0x02, 'z', 't', 0x00,    // owner zt
    0x00, 0x06, 0x00, 0x01,  // type SOA, class IN
    0x00, 0x00, 0x0E, 0x10,  // TTL 3600
    0x00, 0x16,              // RDLENGTH 22
    0x00, 0x00,              // primary server and mailbox: the root
    0x00, 0x00, 0x00, 0x01,  // serial
    0x00, 0x00, 0x1C, 0x20,  // refresh
    0x00, 0x00, 0x03, 0x84,  // retry
    0x00, 0x01, 0x51, 0x80,  // expire
    0x00, 0x00, 0x01, 0x2C,  // minimum
});
const std::string kA = Bytes({
    0x01, 'a', 0x02, 'z', 't', 0x00,  // owner a.zt
    0x00, 0x01, 0x00, 0x01,           // type A, class IN
    0x00, 0x00, 0x00, 0x3C,           // TTL 60
    0x00, 0x04, 0x0A, 0x00, 0x00, 0x01,  // RDLENGTH 4, 10.0.0.1
});

const char kNoData[] = "Lookup failed: no data recieved";
const std::string kServe = R"(["accept"], ["read_query"])";

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}
}  // namespace

TEST(ExchangeThread, InterruptWakesABlockedReadAndTheSocketIsClosedOnce) {
    ServerProcess server(40, "[" + kServe + R"(, ["hold", 20]])");
    ASSERT_TRUE(server.ready());
    TestLookup lookup(server);
    int reused = -1;
    RunLookup(lookup, [&] {
        ASSERT_TRUE(WaitForSocket(lookup));
        std::this_thread::sleep_for(100ms);  // into the blocked read
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
    ServerProcess server(41, "[" + kServe + R"(, ["hold", 20]])");
    ASSERT_TRUE(server.ready());
    TestLookup lookup(server);
    lookup.Interrupt();  // nothing to close yet
    const auto start = std::chrono::steady_clock::now();
    RunLookup(lookup, [] {});
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
    EXPECT_EQ(lookup.ReportText, kNoData);
    EXPECT_EQ(lookup.InterruptRequested, 0);
}

TEST(ExchangeThread, InterruptAtAnyMomentOfATransferEndsItCleanly) {
    const int rounds = 6;
    std::string trickle = "[\"send\", \"" + Hex(Message(kSoa + kA, 2)) + "\"]";
    for (int i = 0; i < 40; ++i)
        trickle += R"(, ["pause", 0.01], ["send", ")" + Hex(Message(kA, 1)) + "\"]";
    std::string script;
    for (int round = 0; round < rounds; ++round)
        script += (round ? ", " : "") + kServe + ", " + trickle + R"(, ["hold", 5])";
    ServerProcess server(42, "[" + script + "]");
    ASSERT_TRUE(server.ready());
    for (int round = 0; round < rounds; ++round) {
        TestLookup lookup(server, LookupState::kAxfrIndex);
        RunLookup(lookup, [&] {
            if (round % 2) {
                ASSERT_TRUE(WaitForSocket(lookup));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(round * 40));
            lookup.Interrupt();
        });
        const bool noData = lookup.ReportText == kNoData;
        EXPECT_TRUE(noData || EndsWith(lookup.ReportText, " bytes) in reply to AXFR request."))
            << lookup.ReportText;
        EXPECT_EQ(lookup.LookupFailed, noData);
        EXPECT_EQ(lookup.LookupSocket, net::kNoSocket);
        EXPECT_EQ(lookup.idles, 1);
    }
}

TEST(ExchangeThread, AStreamThatNeverEndsIsCutAtTheSizeBound) {
    ServerProcess server(43, "[" + kServe + R"(, ["send", ")" + Hex(Message(kSoa, 1)) +
                                 R"("], ["repeat", ")" + Hex(Message(kA, 1)) + R"(", 200000]])");
    ASSERT_TRUE(server.ready());
    TestLookup lookup(server, LookupState::kAxfrIndex);
    lookup.MaxReceived = 4096;
    RunLookup(lookup, [] {});
    EXPECT_FALSE(lookup.LookupFailed);
    EXPECT_TRUE(EndsWith(lookup.ReportText,
                         " bytes) in reply to AXFR request.\n"
                         "Reading stopped at 4096 bytes: a lookup receives no more than that."))
        << lookup.ReportText.substr(lookup.ReportText.size() - 200);
    // 4096 bytes: the SOA message (50 bytes) and 119 messages of 34.
    EXPECT_NE(lookup.ReportText.find("Recieved 120 records (4096 bytes)"), std::string::npos);
}
