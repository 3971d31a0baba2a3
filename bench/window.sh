#!/usr/bin/env bash
# Window benchmark: how long vek.exe (under Wine, on Xvfb) takes from the
# last byte of a 1,000,000-record zone transfer to the report shown whole.
# A scripted server sends a generated stream and notes when vek.exe closes
# the connection (it stops at the closing SOA, so that is when the last
# byte was read); a driver in the Wine session starts the lookup and polls
# the output control until the report is in it.
#
#   bash bench/window.sh          (after "make build")
#
# Environment: VEK_TEST_NET (default 127.0.53; the server takes .4),
# VEK_TEST_DISPLAY (default 99), BENCH_RECORDS (default 1000000),
# BENCH_RUNS (default 3), BENCH_LIMIT (seconds one run may take, default 900).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
net=${VEK_TEST_NET:-127.0.53}
addr=$net.4
display=${VEK_TEST_DISPLAY:-99}
records=${BENCH_RECORDS:-1000000}
runs=${BENCH_RUNS:-3}
limit=${BENCH_LIMIT:-900}
win=$root/build/win
for tool in "$win/vek.exe" "$win/vek-window-timing.exe" "$root/build/native/vek-axfr-stream"; do
  [ -x "$tool" ] || { echo "missing $tool: run 'make build' first" >&2; exit 1; }
done

work=$(mktemp -d /tmp/vek-window-bench.XXXXXX)
export WINEPREFIX=${WINEPREFIX:-/tmp/vek-bench-wine-$display}
export WINEDEBUG=-all DISPLAY=:$display
pids=()
stop() {  # stops what this script started, by PID, with a bounded wait
  for pid in "$@"; do kill "$pid" 2>/dev/null || true; done
  for pid in "$@"; do
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
  done
}
cleanup() {
  stop "${pids[@]}"
  WINEPREFIX=$WINEPREFIX wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

"$root/build/native/vek-axfr-stream" "$records" "$work/stream.bin"
Xvfb ":$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
pids=("$xvfb")
sleep 1
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1

# Starts the scripted server for one connection; sets $server.
serve() {
  python3 "$here/stream_server.py" "$addr" 53 "$work/stream.bin" "$limit" > "$work/server.log" &
  server=$!
  for _ in $(seq 100); do grep -q ready "$work/server.log" 2>/dev/null && break; sleep 0.1; done
}

# The report vek-cli writes for the same stream is what the window must show.
serve
pids=("$xvfb" "$server")
"$root/build/native/vek-cli" -s "$addr" -t AXFR bench1m.test > "$work/cli.txt" || true
stop "$server"
chars=$(wc -c < "$work/cli.txt")
echo "report: $chars bytes from vek-cli"

for run in $(seq "$runs"); do
  serve
  wine "$win/vek.exe" >/dev/null 2>&1 &
  app=$!
  pids=("$xvfb" "$server" "$app")
  wine "$win/vek-window-timing.exe" bench1m.test "$addr" $((chars * 99 / 100)) "$limit" > "$work/timing.txt" 2>&1 || true
  sleep 1
  # Peak resident memory of vek.exe (Wine's own share included).
  peak=$(awk '/^VmHWM/ {printf "%.1f", $2 / 1024}' "/proc/$app/status" 2>/dev/null || true)
  stop "$server" "$app"
  pids=("$xvfb")
  closed=$(awk '/^closed/ {print $2}' "$work/server.log")
  shown=$(tr -d '\r' < "$work/timing.txt" | awk '/^shown/ {print $2}')
  started=$(tr -d '\r' < "$work/timing.txt" | awk '/^started/ {print $2}')
  if [ -n "$closed" ] && [ -n "$shown" ]; then
    python3 -c "import sys; s,c,w=map(float,sys.argv[1:]); print(f'run $run: lookup {w-s:.3f} s, last byte to report shown {w-c:.3f} s, vek.exe peak memory ${peak:-?} MB')" \
      "$started" "$closed" "$shown"
  else
    echo "run $run: no figure"; cat "$work/timing.txt" "$work/server.log"
  fi
done
