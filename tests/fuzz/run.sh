#!/usr/bin/env bash
# Builds the libFuzzer target over the report's decoding into build/fuzz and
# runs it for a bounded time from the seed corpus. Fails on any crash, leak,
# undefined behaviour, time-out or broken promise of the report.
#   tests/fuzz/run.sh [SECONDS]      (default 60)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-60}
out=$root/build/fuzz
mkdir -p "$out/corpus"

cxx=clang++-14
flags=(-std=c++17 -O1 -g -fno-omit-frame-pointer
       -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
       -I"$root/src/engine" -I"$root/src/report" -I"$root/src/resources" -I"$root/src/cli")
# The report writers, the numbered texts, the query builder (with the
# address parsing of the socket layer) and vek-cli's option parser.
sources=("$root"/src/report/*.cpp "$root"/src/resources/*.cpp "$root"/src/engine/Query.cpp
         "$root"/src/engine/sockets/SocketsPosix.cpp "$root"/src/cli/Options.cpp
         "$root"/tests/fuzz/ReportFuzzer.cpp)

"$cxx" "${flags[@]}" "${sources[@]}" -o "$out/report-fuzzer"

# New inputs go to build/fuzz/corpus; the seeds in the repository stay as they are.
cd "$out"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ./report-fuzzer -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -max_len=16384 -print_final_stats=1 corpus "$root/tests/fuzz/corpus"
echo "fuzzing passed: $seconds s without a finding"
