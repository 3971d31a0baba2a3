#!/usr/bin/env bash
# Captures real replies for the report tests: starts BIND 9 and Knot DNS on
# loopback with tests/data/vek.test.zone, asks each server over TCP for every
# record kind and for the zone transfer, and stores the replies exactly as
# they arrive, length prefixes included, as tests/data/{bind,knot}-LABEL.bin.
# A developer runs it by hand and commits the files; the tests only read
# them. Knot also serves MD and MF records, which BIND refuses to load.
#   tests/data/capture.sh          (as root; uses ${VEK_TEST_NET:-127.0.53}.70 and .71)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
net=${VEK_TEST_NET:-127.0.53}
work=$(mktemp -d /tmp/vek-capture.XXXXXX)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/bind" "$work/knot/db"
cp "$here/vek.test.zone" "$work/bind/zone"
cp "$here/vek.test.zone" "$work/knot/zone"
cat >> "$work/knot/zone" <<'ZONE'
; mail.vek.test. in wire form
md       IN TYPE3 \# 15 046d61696c0376656b047465737400
mf       IN TYPE4 \# 15 046d61696c0376656b047465737400
ZONE

# label name type (Knot only: md and mf)
queries="
soa vek.test SOA
ns vek.test NS
mx vek.test MX
txt vek.test TXT
any vek.test ANY
a www.vek.test A
aaaa www.vek.test AAAA
cname alias.vek.test CNAME
cname-chain alias.vek.test A
hinfo host.vek.test HINFO
mb box.vek.test MB
mg group.vek.test MG
mr rename.vek.test MR
minfo list.vek.test MINFO
null null.vek.test NULL
wks wks.vek.test WKS
ptr ptr.vek.test PTR
txt-empty short.vek.test TXT
unknown unknown.vek.test TYPE65280
nxdomain nope.vek.test A
axfr vek.test AXFR
axfr-refused other.test AXFR
md md.vek.test MD
mf mf.vek.test MF
"
for kind in bind knot; do
  address=$net.70; [ $kind = knot ] && address=$net.71
  /usr/bin/python3 - "$kind" "$work/$kind" "$address" "$here" "$queries" <<'PY' &
import os, socket, struct, sys, time
kind, directory, address, out, queries = sys.argv[1:]
sys.path[:0] = [os.path.join(out, "..", "e2e"), os.path.join(out, "..", "servers")]
from messages import query
from name_servers import NameServer

def ask(name, qtype):
    """The reply bytes as they arrive; a transfer until the server has been
    quiet for a second (servers hold the connection after it)."""
    with socket.create_connection((address, 53), timeout=10) as conn:
        conn.sendall(query(name, qtype, qid=0x5645))
        data, end = b"", time.monotonic() + 10
        while time.monotonic() < end:
            conn.settimeout(1.0 if qtype == "AXFR" else end - time.monotonic())
            try:
                chunk = conn.recv(65536)
            except socket.timeout:
                break
            data += chunk
            if not chunk or qtype != "AXFR" and len(data) >= 2 + struct.unpack("!H", data[:2])[0]:
                break
    return data

server = NameServer(kind, address, directory, {"vek.test": os.path.join(directory, "zone")})
try:
    for line in queries.split("\n"):
        label, name, qtype = (line.split() or [None] * 3)
        if label and (kind == "knot" or label not in ("md", "mf")):
            with open(os.path.join(out, "%s-%s.bin" % (kind, label)), "wb") as f:
                f.write(ask(name, qtype))
finally:
    server.stop()
PY
  pids+=($!)
done
for pid in "${pids[@]}"; do wait "$pid"; done
pids=()
