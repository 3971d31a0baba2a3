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
#   BENCH_RUNS     runs of each client per zone, default 5 (3 for 1,000,000)
#   BENCH_CLIENTS  default "vek dig kdig drill"
#   BENCH_SERVERS  default "knot bind"
#   BENCH_DIR      work directory (zones, server state, outputs), default a
#                  fresh temporary directory, removed at the end
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
net=${VEK_TEST_NET:-127.0.53}
sizes=${BENCH_SIZES:-"10000 100000 1000000"}
clients=${BENCH_CLIENTS:-"vek dig kdig drill"}
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

echo "generating zones in $work"
for n in $sizes; do
  z=$(zone_name "$n")
  [ -s "$work/$z.zone" ] || python3 "$here/make_zone.py" "$z" "$n" "$work/$z.zone"
done

# The servers' configurations come from the tests' one writer of them.
start_server() {  # start_server KIND ADDRESS
  local zones=() n
  for n in $sizes; do zones+=("$(zone_name "$n")=$work/$(zone_name "$n").zone"); done
  mkdir -p "$work/$1/db"
  # shellcheck disable=SC2046
  $(/usr/bin/python3 "$root/tests/e2e/name_servers.py" "$1" "$work/$1" "$2" "${zones[@]}") \
    > "$work/$1/server.log" 2>&1 &
  pids+=($!)
}

# Waits (bounded) until the server answers for every zone.
wait_ready() {
  local addr=$1
  for n in $sizes; do
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
    knot) addr=$knot_addr; start_server knot "$addr" ;;
    bind) addr=$bind_addr; $sudo ip addr add "$addr/8" dev lo 2>/dev/null || true
          start_server bind "$addr" ;;
    *) echo "unknown server $server" >&2; exit 2 ;;
  esac
  wait_ready "$addr"
  for n in $sizes; do
    runs=${BENCH_RUNS:-$([ "$n" -ge 1000000 ] && echo 3 || echo 5)}
    # shellcheck disable=SC2086
    python3 "$here/compare.py" "$(zone_name "$n")" "$server" "$addr" "$runs" "$work/out" $clients
  done
  stop_servers
done
