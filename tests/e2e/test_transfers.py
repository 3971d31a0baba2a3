"""Zone transfers of 10,000 records from BIND 9 and Knot DNS, started here:
vek-cli reports every record of the zone, counts what kdig counts, and ends
at the closing SOA, long before the server lets the connection go (Knot
after 10 s, BIND after 30 s)."""
import collections
import os
import re
import time

import pytest

from conftest import OK, address
from name_servers import NameServer, kdig

ZONE = "big.zt"
SOA = ("ns1.big.zt. hostmaster.big.zt. 2024010101 7200 900 1209600 300",
       "SOA\tns1.big.zt\n\t\t\temail:\thostmaster.big.zt\n\t\t\tserial:\t2024010101\n\t\t\t"
       "refresh:\t7200\n\t\t\tretry:\t900\n\t\t\texpire\t1209600\n\t\t\tminimum\t300\n")
RECORD_START = re.compile(r"\t[^\t\n]*\t-?\d+ \t")


def records():
    """(owner, TTL, type, zone-file data, the report's text after the TTL)."""
    yield ZONE, 3600, "SOA", SOA[0], SOA[1]
    yield ZONE, 3600, "NS", "ns1.other.zt.", "NS\tns1.other.zt\n"
    for i in range(9998):
        owner, ttl = "h%d.big.zt" % i, 60 + (i % 7) * 100
        if i % 5 == 4:
            text = "record %d of the big zone" % i
            yield owner, ttl, "TXT", '"%s"' % text, "TXT\t%s\n" % text
        else:
            dotted = "10.%d.%d.%d" % (i >> 16, (i >> 8) & 255, i & 255)
            yield owner, ttl, "A", dotted, "A\t%s\n" % dotted


def entries(report):
    """The report's records, each from its line to the next record's."""
    found = []
    for line in report.splitlines(keepends=True):
        if RECORD_START.match(line):
            found.append(line)
        elif found and line.startswith("\t\t"):
            found[-1] += line
    return collections.Counter(found)


@pytest.fixture(scope="module", params=[("bind", 60), ("knot", 61)], ids=lambda p: p[0])
def server(request, tmp_path_factory):
    if os.geteuid() != 0:
        pytest.skip("a name server on port 53 needs root")
    kind, host = request.param
    directory = tmp_path_factory.mktemp(kind)
    (directory / "db").mkdir()
    zone = directory / "big.zone"
    zone.write_text("".join("%s. %d IN %s %s\n" % r[:4] for r in records()))
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
    expected = collections.Counter("\t%s\t%d \t%s" % (r[0], r[1], r[4]) for r in records())
    expected["\t%s\t3600 \t%s" % (ZONE, SOA[1])] += 1  # the closing SOA
    assert entries(report) == expected
