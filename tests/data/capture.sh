#!/usr/bin/env bash
# Captures real replies for the report tests: starts BIND 9 and Knot DNS on
# loopback with tests/data/vek.test.zone, asks each server over TCP for every
# record kind and for the zone transfer, and stores the replies as
# tests/data/{bind,knot}-LABEL.bin. A developer runs it by hand and commits
# the files; the tests only read them. Knot also serves MD and MF records,
# which BIND refuses to load.
#   tests/data/capture.sh          (as root; uses ${VEK_TEST_NET:-127.0.53}.70 and .71)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
net=${VEK_TEST_NET:-127.0.53}
bind_addr=$net.70
knot_addr=$net.71
work=$(mktemp -d /tmp/vek-capture.XXXXXX)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

ip addr add "$bind_addr/8" dev lo 2>/dev/null || true

cp "$here/vek.test.zone" "$work/bind.zone"
cp "$here/vek.test.zone" "$work/knot.zone"
cat >> "$work/knot.zone" <<'ZONE'
; mail.vek.test. in wire form
md       IN TYPE3 \# 15 046d61696c0376656b047465737400
mf       IN TYPE4 \# 15 046d61696c0376656b047465737400
ZONE

cat > "$work/named.conf" <<CONF
options {
  directory "$work";
  pid-file "$work/named.pid";
  listen-on port 53 { $bind_addr; };
  listen-on-v6 { none; };
  recursion no;
  allow-transfer { any; };
  dnssec-validation no;
};
controls { };
zone "vek.test" { type primary; file "$work/bind.zone"; };
CONF

cat > "$work/knot.conf" <<CONF
server:
  rundir: "$work"
  listen: $knot_addr@53
log:
  - target: stderr
    any: warning
acl:
  - id: transfer
    address: 127.0.0.0/8
    action: transfer
template:
  - id: default
    storage: "$work"
zone:
  - domain: vek.test
    file: "$work/knot.zone"
    acl: transfer
CONF

named -g -4 -c "$work/named.conf" >"$work/named.log" 2>&1 &
pids+=($!)
knotd -c "$work/knot.conf" >"$work/knot.log" 2>&1 &
pids+=($!)

# Wait (bounded) until both have loaded the zone: the SOA query succeeds
# with an answer.
loaded() {
  python3 "$here/tcp_query.py" "$1" vek.test 6 "$work/probe" >/dev/null 2>&1 &&
    python3 -c 'import sys; d = open(sys.argv[1], "rb").read()
sys.exit(0 if len(d) >= 14 and d[5] & 15 == 0 and d[8:10] != b"\0\0" else 1)' "$work/probe"
}
for server in "$bind_addr" "$knot_addr"; do
  for attempt in $(seq 1 50); do
    loaded "$server" && break
    [ "$attempt" -lt 50 ] || { echo "$server did not load the zone" >&2; cat "$work"/*.log >&2; exit 1; }
    sleep 0.2
  done
done

# label name type
queries="
soa vek.test 6
ns vek.test 2
mx vek.test 15
txt vek.test 16
any vek.test 255
a www.vek.test 1
aaaa www.vek.test 28
cname alias.vek.test 5
cname-chain alias.vek.test 1
hinfo host.vek.test 13
mb box.vek.test 7
mg group.vek.test 8
mr rename.vek.test 9
minfo list.vek.test 14
null null.vek.test 10
wks wks.vek.test 11
ptr ptr.vek.test 12
txt-empty short.vek.test 16
unknown unknown.vek.test 65280
nxdomain nope.vek.test 1
axfr vek.test 252
axfr-refused other.test 252
"
while read -r label name type; do
  [ -n "$label" ] || continue
  python3 "$here/tcp_query.py" "$bind_addr" "$name" "$type" "$here/bind-$label.bin"
  python3 "$here/tcp_query.py" "$knot_addr" "$name" "$type" "$here/knot-$label.bin"
done <<<"$queries"
for label in md mf; do
  type=3; [ $label = mf ] && type=4
  python3 "$here/tcp_query.py" "$knot_addr" "$label.vek.test" "$type" "$here/knot-$label.bin"
done
