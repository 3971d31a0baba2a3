// The report writer alone on an in-memory zone transfer of 1,000,000
// records, beside the floor: copying the same number of report bytes into a
// fresh string. Run: build/native/vek-decode-bench
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <ostream>
#include <string>

#include "AxfrStream.h"
#include "LookupState.h"

namespace {

constexpr std::size_t kRecords = 1000000;

const AxfrStream& Stream() {
    static const AxfrStream stream = BuildAxfrStream(kRecords);
    return stream;
}

// The report of the stream, written once, for the floor's byte count.
const std::string& Report() {
    static const std::string report = [] {
        LookupState state;
        state.Server = "127.0.0.1";
        state.QueryTypeIndex = kAxfrIndex;
        state.ReportReceived(Stream().bytes.data(), static_cast<int>(Stream().bytes.size()));
        return state.ReportText;
    }();
    return report;
}

void SetRates(benchmark::State& state) {
    using benchmark::Counter;
    state.counters["records/s"] =
        Counter(static_cast<double>(Stream().records), Counter::kIsIterationInvariantRate);
    state.counters["wire MB/s"] =
        Counter(static_cast<double>(Stream().bytes.size()) / 1e6, Counter::kIsIterationInvariantRate);
    state.counters["report MB/s"] =
        Counter(static_cast<double>(Report().size()) / 1e6, Counter::kIsIterationInvariantRate);
}

// A fresh lookup each time, so that the report lands in fresh memory, as in
// a real lookup and as the floor's copy does.
void ReportWriter(benchmark::State& state) {
    const AxfrStream& stream = Stream();
    for (auto _ : state) {
        LookupState lookup;
        lookup.Server = "127.0.0.1";
        lookup.QueryTypeIndex = kAxfrIndex;
        lookup.ReportReceived(stream.bytes.data(), static_cast<int>(stream.bytes.size()));
        benchmark::DoNotOptimize(lookup.ReportText.data());
    }
    SetRates(state);
}

void CopyFloor(benchmark::State& state) {
    const std::string& report = Report();
    for (auto _ : state) {
        std::string copy(report);
        benchmark::DoNotOptimize(copy.data());
    }
    SetRates(state);
}

// Rates and the ratio below use CPU time (user and system, page faults
// included), which a machine shared with other work disturbs less than
// wall time; the table shows both. Of the repetitions, the ratio takes each
// side's fastest, the one least disturbed by other work.
BENCHMARK(ReportWriter)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Repetitions(5);
BENCHMARK(CopyFloor)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Repetitions(5);

// The console table, and after it the report writer's CPU time as a
// multiple of the floor's.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration) continue;
            const double cpu = run.GetAdjustedCPUTime();
            auto known = seconds_.find(run.run_name.function_name);
            if (known == seconds_.end()) seconds_[run.run_name.function_name] = cpu;
            else if (cpu < known->second) known->second = cpu;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const AxfrStream& stream = Stream();
        char line[200];
        std::snprintf(line, sizeof line,
                      "\nstream: %zu records in %zu messages, %.1f MB on the wire; report %.1f MB\n",
                      stream.records, stream.messages, stream.bytes.size() / 1e6,
                      Report().size() / 1e6);
        GetOutputStream() << line;
        if (seconds_.count("ReportWriter") && seconds_.count("CopyFloor") &&
            seconds_["CopyFloor"] > 0) {
            std::snprintf(line, sizeof line, "report writer / copy floor (fastest CPU times, ms: %.1f / %.1f) = %.2f\n",
                          seconds_["ReportWriter"], seconds_["CopyFloor"],
                          seconds_["ReportWriter"] / seconds_["CopyFloor"]);
            GetOutputStream() << line;
        }
    }

private:
    std::map<std::string, double> seconds_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
