#!/usr/bin/env bash
# Builds the libFuzzer target over the report's decoding into build/fuzz and
# runs it for a bounded time from the seed corpus. Fails on any crash, leak,
# undefined behaviour, time-out or broken promise of the report.
#   tests/fuzz/run.sh [SECONDS]      (default 60)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-60}
out=$root/build/fuzz
mkdir -p "$out/corpus" "$out/generated"
# Any version will do for the fuzzer's vek-cli.
sed 's/@PROJECT_VERSION[A-Z_]*@/0/' "$root/src/resources/Version.h.in" > "$out/generated/Version.h"

cxx=clang++-14
flags=(-std=c++17 -O1 -g -fno-omit-frame-pointer
       -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
       -I"$root/src/engine" -I"$root/src/report" -I"$root/src/resources" -I"$root/src/cli"
       -I"$root/src/wire" -I"$root/src/tsig" -I"$root/src/crypto" -I"$out/generated")
# The whole portable core and vek-cli's library, as the native build links
# them, so that a new entry of the target can reach any of it; libFuzzer
# brings its own main().
sources=("$root"/src/engine/*.cpp "$root"/src/engine/sockets/SocketsPosix.cpp
         "$root"/src/report/*.cpp "$root"/src/report/zone/*.cpp "$root"/src/resources/*.cpp
         "$root"/src/cli/*.cpp "$root"/src/tsig/*.cpp "$root"/src/crypto/HmacCommon.cpp
         "$root"/src/crypto/HmacOpenSsl.cpp
         "$root"/tests/fuzz/ReportFuzzer.cpp)
mkdir -p "$out/objects"
rm -f "$out"/objects/*.o
compile() { "$cxx" "${flags[@]}" -c "$1" -o "$out/objects/$(basename "$1" .cpp).o"; }
running=()  # two compilers at a time
for src in "${sources[@]}"; do
  [ "$(basename "$src")" != main.cpp ] || continue
  compile "$src" &
  running+=($!)
  if [ ${#running[@]} -ge 2 ]; then
    wait "${running[0]}"
    running=("${running[@]:1}")
  fi
done
for pid in "${running[@]}"; do wait "$pid"; done
"$cxx" "${flags[@]}" "$out"/objects/*.o -pthread -lcrypto -o "$out/report-fuzzer"

# New inputs go to build/fuzz/corpus; the seeds in the repository stay as they are.
cd "$out"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ./report-fuzzer -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -max_len=16384 -print_final_stats=1 corpus "$root/tests/fuzz/corpus"
echo "fuzzing passed: $seconds s without a finding"
