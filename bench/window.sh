#!/usr/bin/env bash
# Window benchmark: a generated 1,000,000-record zone transfer, served by the
# scripted server from one recorded stream (or, with BENCH_SOURCE=knot, by
# Knot DNS from a generated zone, as a real server sends it), taken in turns by
#   - vek-cli natively (the baseline),
#   - vek-cli.exe under Wine (its wineserver already running),
#   - vek.exe under Wine on Xvfb, from the click on the lookup button to the
#     report shown whole in the output control,
# and one table of medians: wall times, the window's ratio to vek-cli (goal:
# at most 2.5), and vek.exe's peak memory above its idle size against 1.3
# times the wire and report bytes. The "receiving" column is the server's
# view: from the accepted connection to the client's close at the closing SOA.
#
#   bash bench/window.sh          (after "make build")
#
# Environment: VEK_TEST_NET (default 127.0.53; the server takes .4),
# VEK_TEST_DISPLAY (default 99), BENCH_RECORDS (default 1000000),
# BENCH_RUNS (default 3), BENCH_LIMIT (seconds one lookup may take, default 300),
# BENCH_SOURCE ("stream", the default, or "knot").
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
addr=${VEK_TEST_NET:-127.0.53}.4
display=${VEK_TEST_DISPLAY:-99}
records=${BENCH_RECORDS:-1000000}
runs=${BENCH_RUNS:-3}
limit=${BENCH_LIMIT:-300}
source=${BENCH_SOURCE:-stream}
native=$root/build/native
win=$root/build/win
zone=bench1m.test
for tool in "$native/vek-cli" "$native/vek-axfr-stream" "$win/vek.exe" "$win/vek-cli.exe" \
            "$win/vek-window-timing.exe"; do
  [ -x "$tool" ] || { echo "missing $tool: run 'make build' first" >&2; exit 1; }
done
if [ -e "/tmp/.X11-unix/X$display" ]; then
  echo "display :$display is in use: set VEK_TEST_DISPLAY" >&2
  exit 1
fi

work=$(mktemp -d /tmp/vek-window-bench.XXXXXX)
export WINEPREFIX=${WINEPREFIX:-$root/build/wineprefix} WINEDEBUG=-all DISPLAY=:$display
pids=()
stop() {  # stops what this script started, by PID, with a bounded wait
  for pid in "$@"; do kill "$pid" 2>/dev/null || true; done
  for pid in "$@"; do
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
  done
}
cleanup() {  # the display goes last: Wine's programs still use it
  stop "${pids[@]:1}"
  [ -f "$work/wineserver.pid" ] && bash "$root/tests/servers/wineserver.sh" down "$work/wineserver.pid"
  stop "${pids[@]:0:1}"
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Polls `condition` (a command) every 10 ms until it holds; false after
# `seconds`.
wait_for() {
  local seconds=$1
  shift
  local end=$((SECONDS + seconds))
  until "$@"; do
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.01
  done
}
gone() { ! kill -0 "$1" 2>/dev/null; }
has_line() { tr -d '\r' 2>/dev/null < "$2" | grep -q "^$1"; }
kib() { awk -v key="$2:" '$1 == key {print $2}' "/proc/$1/status"; }
now() { echo "$EPOCHREALTIME"; }

Xvfb ":$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
pids+=($!)
wait_for 20 xdpyinfo -display ":$display" >/dev/null 2>&1 || { echo "Xvfb did not start" >&2; exit 1; }
bash "$root/tests/servers/wineserver.sh" up "$work/wineserver.pid"

# One server for every lookup: a warm-up by vek-cli, then three a run.
connections=$((1 + 3 * runs))
: > "$work/server.log"
if [ "$source" = knot ]; then
  mkdir -p "$work/knot/db"
  /usr/bin/python3 "$here/make_zone.py" "$zone" "$records" "$work/$zone.zone"
  $(/usr/bin/python3 "$root/tests/e2e/name_servers.py" knot "$work/knot" "$addr" "$zone=$work/$zone.zone") \
    > "$work/knot/server.log" 2>&1 &
  server=$!
  pids+=("$server")
  soa() { dig +tcp +time=1 +tries=1 @"$addr" "$zone" SOA 2>/dev/null | grep -q "status: NOERROR"; }
  wait_for 300 soa || { echo "Knot DNS did not load $zone" >&2; exit 1; }
else
  "$native/vek-axfr-stream" "$records" "$work/stream.bin"
  printf '[["loop", %d, [["accept"], ["read_query"], ["send_file", "%s"], ["hold", %d]]]]' \
    "$connections" "$work/stream.bin" "$limit" > "$work/script"
  /usr/bin/python3 "$root/tests/servers/scripted_server.py" --address "$addr" --port 53 \
    --script-file "$work/script" --ready "$work/ready" --log "$work/server.log" \
    --lifetime $((limit * connections)) &
  server=$!
  pids+=("$server")
  wait_for 10 test -e "$work/ready" || { echo "the scripted server did not start" >&2; exit 1; }
fi

# The native report is what the others must show; this first transfer also
# brings the stream into the page cache.
"$native/vek-cli" -s "$addr" -t AXFR "$zone" > "$work/native.txt"
chars=$(stat -c %s "$work/native.txt")
# The summary's byte count is the stream's, length prefixes included.
wire=$(sed -n 's/^Recieved [0-9]* records (\([0-9]*\) bytes).*/\1/p' "$work/native.txt")
lines=$(wc -l < "$work/native.txt")
echo "$records records: $wire bytes on the wire, $chars bytes of report; $runs runs"

results=$work/results
: > "$results"
for run in $(seq "$runs"); do
  start=$(now)
  "$native/vek-cli" -s "$addr" -t AXFR "$zone" > "$work/out.txt"
  echo "cli $(now) $start" >> "$results"
  cmp -s "$work/native.txt" "$work/out.txt" || echo "run $run: vek-cli wrote another report" >&2

  start=$(now)
  wine "$win/vek-cli.exe" -s "$addr" -t AXFR "$zone" > "$work/out.txt"
  echo "wine-cli $(now) $start" >> "$results"
  tr -d '\r' < "$work/out.txt" | cmp -s "$work/native.txt" - ||
    echo "run $run: vek-cli.exe wrote another report" >&2

  rm -f "$work/go" "$work/timing.txt"
  wine "$win/vek.exe" >/dev/null 2>&1 &
  app=$!
  wine "$win/vek-window-timing.exe" "$zone" "$addr" "$lines" "Z:$work/go" "$limit" \
    > "$work/timing.txt" 2>&1 &
  driver=$!
  pids+=("$app" "$driver")
  wait_for 60 has_line idle "$work/timing.txt" || { cat "$work/timing.txt" >&2; exit 1; }
  idle=$(kib "$app" VmRSS)
  touch "$work/go"
  wait_for "$limit" gone "$driver" || true
  peak=$(kib "$app" VmHWM)
  stop "$driver" "$app"
  pids=("${pids[@]:0:2}")
  started=$(tr -d '\r' < "$work/timing.txt" | awk '/^started/ {print $2}')
  shown=$(tr -d '\r' < "$work/timing.txt" | awk '/^shown/ {print $2}')
  if [ -z "$shown" ]; then
    echo "run $run: the window showed no report" >&2
    cat "$work/timing.txt" >&2
    exit 1
  fi
  echo "window $shown $started $((peak - idle))" >> "$results"
done

[ "$source" = knot ] || wait_for 10 grep -q "script done" "$work/server.log" || true
/usr/bin/python3 - "$results" "$work/server.log" "$wire" "$chars" <<'EOF'
import statistics
import sys

results, log, wire, report = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
rows = {}
for line in open(results):
    name, end, start, *memory = line.split()
    rows.setdefault(name, []).append((float(end) - float(start), memory))
# The server's log: each connection from "accepted" to the client's close.
spans, opened = [], None
for line in open(log):
    at, event = line.split(" ", 1)
    if event.startswith("accepted"):
        opened = float(at)
    elif event.startswith("closed by client") and opened is not None:
        spans.append(float(at) - opened)
spans = spans[1:]  # the warm-up
order = ["cli", "wine-cli", "window"]
receiving = {name: statistics.median(spans[i::3]) for i, name in enumerate(order)
             if len(spans) == 3 * len(rows["cli"])}
walls = {name: statistics.median(w for w, _ in rows[name]) for name in order}
base = walls["cli"]
labels = {"cli": "vek-cli (native)", "wine-cli": "vek-cli.exe (Wine)",
          "window": "vek.exe (Wine): click to report shown"}
print("| client | wall s | receiving s | ratio to vek-cli |")
print("|---|---|---|---|")
for name in order:
    got = receiving.get(name)
    print(f"| {labels[name]} | {walls[name]:.3f} | {'%.3f' % got if got else '?'} "
          f"| {walls[name] / base:.2f} |")
ratio = walls["window"] / base
mib = 1e6
peak = statistics.median(int(m[0]) for _, m in rows["window"]) * 1024
allowed = 1.3 * (wire + report)
print()
print(f"- window time: {ratio:.2f} times vek-cli's (goal: at most 2.5): "
      f"{'met' if ratio <= 2.5 else 'not met'}")
print(f"- vek.exe peak memory above idle: {peak / mib:.1f} MB against 1.3 x "
      f"({wire / mib:.1f} MB wire + {report / mib:.1f} MB report) = {allowed / mib:.1f} MB: "
      f"{'met' if peak <= allowed else 'not met'}")
EOF
