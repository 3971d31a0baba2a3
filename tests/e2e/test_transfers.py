"""Zone transfers of 10,000 records from BIND 9 and Knot DNS, started here:
vek-cli reports as many records as kdig counts, one line each, and ends at
the closing SOA, long before the server lets the connection go (Knot after
10 s, BIND after 30 s). How each record reads is the captured replies'
business."""
import os
import re
import time

import pytest

from conftest import OK, address
from name_servers import NameServer, kdig

ZONE = "big.zt"
SOA = "ns1.big.zt. hostmaster.big.zt. 2024010101 7200 900 1209600 300"
RECORD_LINE = re.compile(r"^\t[^\t\n]*\t-?\d+ \t", re.M)


def records():
    """(owner, TTL, type, zone-file data): TXT and A records of many lengths."""
    yield ZONE, 3600, "SOA", SOA
    yield ZONE, 3600, "NS", "ns1.other.zt."
    for i in range(9998):
        owner, ttl = "h%d.big.zt" % i, 60 + (i % 7) * 100
        if i % 5 == 4:
            yield owner, ttl, "TXT", '"record %d of the big zone"' % i
        else:
            yield owner, ttl, "A", "10.%d.%d.%d" % (i >> 16, (i >> 8) & 255, i & 255)


@pytest.fixture(scope="module", params=[("bind", 60), ("knot", 61)], ids=lambda p: p[0])
def server(request, tmp_path_factory):
    if os.geteuid() != 0:
        pytest.skip("a name server on port 53 needs root")
    kind, host = request.param
    directory = tmp_path_factory.mktemp(kind)
    (directory / "db").mkdir()
    zone = directory / "big.zone"
    zone.write_text("".join("%s. %d IN %s %s\n" % r for r in records()))
    with NameServer(kind, address(host), str(directory), {ZONE: str(zone)}) as started:
        yield started


def test_transfer_is_whole_and_ends_at_the_closing_soa(cli, server):
    start = time.monotonic()
    status, report, _ = cli.run(["-s", server.address, "-t", "AXFR", ZONE])
    seconds = time.monotonic() - start
    assert status == OK and seconds < 5
    theirs = re.search(r";; Received (\d+) B \((\d+) messages, (\d+) records\)",
                       kdig(server.address, ZONE, "AXFR"))
    size, messages, count = (int(n) for n in theirs.groups())
    summary = "Recieved %d records (%d bytes) in reply" % (count, size + 2 * messages)
    assert summary in report and count == 10001
    assert len(RECORD_LINE.findall(report)) == count
