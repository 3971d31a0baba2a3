#!/usr/bin/env bash
# Builds the libFuzzer target over the report's decoding into build/fuzz and
# runs it for a bounded time from the seed corpus. Fails on any crash, leak,
# undefined behaviour, time-out or broken promise of the report.
#   tests/fuzz/run.sh [SECONDS]      (default 30)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-30}
out=$root/build/fuzz
mkdir -p "$out/corpus"

cxx=clang++-14
# Version.h as CMake writes it, from the version in project().
IFS=. read -r major minor patch < <(sed -n 's/^project(Vek VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
sed -e "s/@PROJECT_VERSION_MAJOR@/$major/; s/@PROJECT_VERSION_MINOR@/$minor/" \
    -e "s/@PROJECT_VERSION_PATCH@/$patch/; s/@PROJECT_VERSION@/$major.$minor.$patch/" \
    "$root/src/resources/Version.h.in" > "$out/Version.h"
flags=(-std=c++17 -O1 -g -fno-omit-frame-pointer
       -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
       -I"$out" -I"$root/src/wire" -I"$root/src/engine" -I"$root/src/report" -I"$root/src/resources"
       -I"$root/src/cli" -I"$root/src/tsig" -I"$root/src/crypto")
# The whole portable core and vek-cli's library, as the native build links
# them, so that a new entry of the target can reach any of it; libFuzzer
# brings its own main().
sources=("$root"/src/engine/*.cpp "$root"/src/engine/sockets/SocketsPosix.cpp
         "$root"/src/report/*.cpp "$root"/src/report/zone/*.cpp "$root"/src/resources/*.cpp
         "$root"/src/cli/*.cpp "$root"/src/tsig/*.cpp "$root"/src/crypto/HmacCommon.cpp
         "$root"/src/crypto/HmacOpenSsl.cpp
         "$root"/tests/fuzz/ReportFuzzer.cpp)
kept=(); for src in "${sources[@]}"; do [[ $src == */cli/main.cpp ]] || kept+=("$src"); done
rm -rf "$out/objects" && mkdir -p "$out/objects" && cd "$out/objects"
half=$(( (${#kept[@]} + 1) / 2 ))  # two compilers at a time
"$cxx" "${flags[@]}" -c "${kept[@]:0:half}" & first=$!
"$cxx" "${flags[@]}" -c "${kept[@]:half}"
wait $first
"$cxx" "${flags[@]}" "$out"/objects/*.o -pthread -lcrypto -o "$out/report-fuzzer"

# New inputs go to build/fuzz/corpus; the seeds in the repository stay as they are.
cd "$out"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ./report-fuzzer -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -max_len=16384 -print_final_stats=1 corpus "$root/tests/fuzz/corpus"
echo "fuzzing passed: $seconds s without a finding"
