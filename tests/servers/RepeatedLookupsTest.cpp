// A thousand lookups in one process, the way vek-cli runs each (options,
// its lookup state, the interruptible run on a worker thread), against a
// scripted server that cycles through good, hostile and broken replies.
// The heap in use and the open descriptors must not grow with the count;
// under AddressSanitizer, LeakSanitizer checks the whole run at exit.
#include <dirent.h>
#include <gtest/gtest.h>
#include <malloc.h>

#include <string>

#include "CliLookup.h"
#include "InterruptibleRun.h"
#include "Options.h"
#include "ScriptedServer.h"

namespace {

// What the report of each reply of the scenario "thousand_lookups" holds,
// in its order: a good answer, a looping name, a RDLENGTH past the end, a
// cut header, and nothing (the whole report).
const char* const kHolds[] = {"\tx.zt\t60 \tA\t10.0.0.1\n", "malformed", "malformed",
                              "header is incomplete", "Lookup failed: no data recieved"};

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
std::string RunCliLookup() {
    const std::string server = TestAddress(160), port = std::to_string(ScriptedServerPort());
    const char* argv[] = {"vek-cli", "-s", server.c_str(), "-p", port.c_str(), "x.zt"};
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
    const int cycle = sizeof kHolds / sizeof kHolds[0], lookups = 1000;
    std::size_t heapAfterWarmUp = 0;
    int descriptorsAfterWarmUp = 0;
    for (int i = 0; i < lookups; ++i) {
        const std::string report = RunCliLookup();
        // Every kind of reply gets its own report; none is lost.
        const std::string holds = kHolds[i % cycle];
        ASSERT_TRUE(i % cycle == cycle - 1 ? report == holds : report.find(holds) != std::string::npos)
            << i << ": " << report;
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
