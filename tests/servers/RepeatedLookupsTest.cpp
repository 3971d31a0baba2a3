// A thousand lookups in one process, the way vek-cli runs each (options,
// its lookup state, the interruptible run on a worker thread), against a
// scripted server that cycles through good, hostile and broken replies.
// The heap in use and the open descriptors must not grow with the count;
// under AddressSanitizer, LeakSanitizer checks the whole run at exit.
#include <dirent.h>
#include <gtest/gtest.h>
#include <malloc.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "CliLookup.h"
#include "InterruptibleRun.h"
#include "Options.h"
#include "ServerProcess.h"

namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += static_cast<char>(v);
    return out;
}

std::string Framed(const std::string& body) {
    const int length = static_cast<int>(body.size());
    return Bytes({length >> 8, length & 0xFF}) + body;
}

// The header of an answer with one question and `answers` records, and
// the question x.zt, type A, class IN.
std::string AnswerStart(int answers) {
    return Bytes({
        0x00, 0x00,      // ID
        0x85, 0x80,      // flags: answer, authoritative, RD, RA, RCODE 0
        0x00, 0x01,      // QDCOUNT
        0x00, answers,   // ANCOUNT
        0x00, 0x00,      // NSCOUNT
        0x00, 0x00,      // ARCOUNT
        0x01, 'x', 0x02, 'z', 't', 0x00,  // QNAME x.zt
        0x00, 0x01, 0x00, 0x01,           // QTYPE A, QCLASS IN
    });
}

const std::string kAddressRecord = Bytes({
    0xC0, 0x0C,              // owner: pointer to the question's name
    0x00, 0x01, 0x00, 0x01,  // type A, class IN
    0x00, 0x00, 0x00, 0x3C,  // TTL 60
    0x00, 0x04,              // RDLENGTH 4
    0x0A, 0x00, 0x00, 0x01,  // 10.0.0.1
});
const std::string kLoopingRecord = Bytes({
    0xC0, 0x0C,              // owner: pointer to the question's name
    0x00, 0x05, 0x00, 0x01,  // type CNAME, class IN
    0x00, 0x00, 0x00, 0x3C,  // TTL 60
    0x00, 0x04,              // RDLENGTH 4
    0x01, 'a', 0xC0, 0x22,   // label a, then a pointer to itself (offset 34)
});
const std::string kOverlongRecord = Bytes({
    0xC0, 0x0C,              // owner: pointer to the question's name
    0x00, 0x0A, 0x00, 0x01,  // type NULL, class IN
    0x00, 0x00, 0x00, 0x3C,  // TTL 60
    0xFF, 0xFF,              // RDLENGTH 65535, with 2 bytes behind it
    0x01, 0x02,
});

// The replies the server cycles through, each followed by its close.
std::vector<std::string> Replies() {
    return {
        Framed(AnswerStart(1) + kAddressRecord),   // a good answer
        Framed(AnswerStart(1) + kLoopingRecord),   // a name that loops
        Framed(AnswerStart(2) + kOverlongRecord),  // RDLENGTH past the end
        Bytes({0xFF, 0xFF, 0x00, 0x00, 0x85}),     // a header cut short
        "",                                        // nothing at all
    };
}

std::string ServerScript(int rounds) {
    std::string cycle;
    for (const std::string& reply : Replies()) {
        if (!cycle.empty()) cycle += ", ";
        cycle += R"(["accept"], ["read_query"], ["send", ")" + Hex(reply) + R"("], ["close"])";
    }
    return R"([["loop", )" + std::to_string(rounds) + ", [" + cycle + "]]]";
}

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
// The sanitizers' allocator keeps its own count (GCC ships no header for it).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

std::size_t HeapInUse() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

int OpenDescriptors() {
    int count = 0;
    if (DIR* dir = opendir("/proc/self/fd")) {
        while (readdir(dir)) ++count;
        closedir(dir);
    }
    return count;
}

// One lookup as vek-cli runs it, from its command line on.
std::string RunCliLookup(const ServerProcess& server) {
    const std::string port = std::to_string(ServerProcess::port());
    const char* argv[] = {"vek-cli", "-s", server.address().c_str(), "-p", port.c_str(), "x.zt"};
    CliOptions options;
    std::string error;
    if (!ParseOptions(6, argv, options, error)) return error;
    ReportOutput output(options.outputFile);
    CliLookup lookup(options, output);
    lookup.Busy = 1;
    RunInterruptible(lookup);
    return lookup.ReportText;
}

}  // namespace

TEST(RepeatedLookups, AThousandLookupsLeaveNoMemoryOrSocketBehind) {
    const int cycle = static_cast<int>(Replies().size());
    const int lookups = 1000;
    ServerProcess server(160, ServerScript(lookups / cycle));
    ASSERT_TRUE(server.ready());

    std::size_t heapAfterWarmUp = 0;
    int descriptorsAfterWarmUp = 0;
    for (int i = 0; i < lookups; ++i) {
        const std::string report = RunCliLookup(server);
        // Every kind of reply gets its own report; none is lost.
        switch (i % cycle) {
            case 0: ASSERT_NE(report.find("\tx.zt\t60 \tA\t10.0.0.1\n"), std::string::npos) << i; break;
            case 1: case 2: ASSERT_NE(report.find("malformed"), std::string::npos) << i; break;
            case 3: ASSERT_NE(report.find("header is incomplete"), std::string::npos) << i; break;
            default: ASSERT_EQ(report, "Lookup failed: no data recieved") << i;
        }
        if (i == 2 * cycle - 1) {
            heapAfterWarmUp = HeapInUse();
            descriptorsAfterWarmUp = OpenDescriptors();
        }
    }
    EXPECT_EQ(OpenDescriptors(), descriptorsAfterWarmUp);
    // A lookup that kept even 100 bytes would leave some 99,000 behind.
    EXPECT_LT(HeapInUse(), heapAfterWarmUp + 16 * 1024)
        << "before: " << heapAfterWarmUp << " after: " << HeapInUse();
}
