#!/usr/bin/env bash
# Zone-transfer benchmark: vek-cli beside dig, kdig (and drill) on zones of
# 10,000, 100,000 and 1,000,000 records served by Knot DNS and BIND 9 on
# loopback addresses. Prints figures only; it judges nothing.
#
#   bash bench/axfr.sh            (after "make build"; "make bench" does both)
#
# Environment:
#   VEK_TEST_NET   loopback prefix, default 127.0.53 (Knot at .2, BIND at .3)
#   BENCH_SIZES    zone sizes, default "10000 100000 1000000"
#   BENCH_RUNS     runs of each client per zone, default 5 (the median of
#                  fewer runs leaves the wall-time ratio to chance)
#   BENCH_CLIENTS  default "vek raw dig kdig drill" (raw: the raw reader,
#                  which only receives the stream: the server's floor)
#   BENCH_SERVERS  default "knot bind"
#   BENCH_MEMORY_SIZE  a larger zone, served by Knot DNS, on which vek-cli's
#                  peak memory is checked against the 1,000,000-record one
#                  (it must not grow with the zone), default 5000000; 0: none
#   BENCH_DIR      work directory (zones, server state, outputs), default a
#                  fresh temporary directory, removed at the end
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
net=${VEK_TEST_NET:-127.0.53}
sizes=${BENCH_SIZES:-"10000 100000 1000000"}
clients=${BENCH_CLIENTS:-"vek raw dig kdig drill"}
memory_size=${BENCH_MEMORY_SIZE:-5000000}
servers=${BENCH_SERVERS:-"knot bind"}
knot_addr=$net.2
bind_addr=$net.3

bash "$root/scripts/install-deps.sh"
export VEK_CLI=${VEK_CLI:-$root/build/native/vek-cli}
if [ ! -x "$VEK_CLI" ]; then
  echo "vek-cli not found at $VEK_CLI: run 'make build' (or 'make native') first" >&2
  exit 1
fi
sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo

work=${BENCH_DIR:-}
keep_work=1
if [ -z "$work" ]; then work=$(mktemp -d /tmp/vek-bench.XXXXXX); keep_work=0; fi
mkdir -p "$work/knot" "$work/bind" "$work/out"
export BENCH_SUMMARY=$work/summary
: > "$BENCH_SUMMARY"

# Servers this script started, stopped by their PIDs (bounded wait, then KILL).
pids=()
stop_servers() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
  done
  pids=()
}
cleanup() {
  stop_servers
  if [ "$keep_work" = 0 ]; then rm -rf "$work"; fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

zone_name() {  # 10000 -> bench10k.test, 1000000 -> bench1m.test
  case $1 in
    *000000) echo "bench${1%000000}m.test" ;;
    *000) echo "bench${1%000}k.test" ;;
    *) echo "bench$1.test" ;;
  esac
}

zones=$sizes
[ "$memory_size" = 0 ] || zones="$sizes $memory_size"
echo "generating zones in $work"
for n in $zones; do
  z=$(zone_name "$n")
  [ -s "$work/$z.zone" ] || python3 "$here/make_zone.py" "$z" "$n" "$work/$z.zone"
done

# The servers' configurations come from the tests' one writer of them.
# Knot also serves the memory check's zone; BIND only the timed sizes.
start_server() {  # start_server KIND ADDRESS SIZE...
  local kind=$1 addr=$2 args=() n
  shift 2
  for n in "$@"; do args+=("$(zone_name "$n")=$work/$(zone_name "$n").zone"); done
  mkdir -p "$work/$kind/db"
  # shellcheck disable=SC2046
  $(/usr/bin/python3 "$root/tests/e2e/name_servers.py" "$kind" "$work/$kind" "$addr" "${args[@]}") \
    > "$work/$kind/server.log" 2>&1 &
  pids+=($!)
}

# Waits (bounded) until the server answers for every zone given.
wait_ready() {
  local addr=$1
  shift
  for n in "$@"; do
    z=$(zone_name "$n")
    local ok=0
    for _ in $(seq 600); do
      if dig +tcp +time=1 +tries=1 @"$addr" "$z" SOA 2>/dev/null | grep -q "status: NOERROR"; then
        ok=1; break
      fi
      sleep 0.25
    done
    [ "$ok" = 1 ] || { echo "server at $addr did not load $z in time" >&2; return 1; }
  done
}

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'),"\
     "$(free -m | awk '/Mem:/ {print $2}') MB; load average $(cut -d' ' -f1-3 /proc/loadavg)"
for server in $servers; do
  case $server in
    knot) addr=$knot_addr; start_server knot "$addr" $zones ;;
    bind) addr=$bind_addr; $sudo ip addr add "$addr/8" dev lo 2>/dev/null || true
          start_server bind "$addr" $sizes ;;
    *) echo "unknown server $server" >&2; exit 2 ;;
  esac
  if [ "$server" = knot ]; then wait_ready "$addr" $zones; else wait_ready "$addr" $sizes; fi
  for n in $sizes; do
    runs=${BENCH_RUNS:-5}
    # shellcheck disable=SC2086
    python3 "$here/compare.py" "$(zone_name "$n")" "$server" "$addr" "$runs" "$work/out" $clients
  done
  if [ "$server" = knot ] && [ "$memory_size" != 0 ]; then
    python3 "$here/compare.py" "$(zone_name "$memory_size")" "$server" "$addr" 1 "$work/out" vek raw
  fi
  stop_servers
done
# vek-cli's peak memory must not grow with the zone.
if [ "$memory_size" != 0 ]; then
  awk -v big="$(zone_name "$memory_size")" -v small="$(zone_name 1000000)" '
    $2 == "vek" && $1 == big { b = $5 } $2 == "vek" && $1 == small && !s { s = $5 }
    END { if (b && s) printf "\nmemory check: vek-cli peak %.1f MB for %s, %.1f MB for %s: ratio %.2f\n",
                             b / 1024, big, s / 1024, small, b / s }' "$work/summary"
fi
