#!/usr/bin/env python3
"""vek-cli against a real name server that the test starts itself:

    real_servers.py --cli VEK-CLI bind|knot

Every query type of the list is asked of types.zt: the counts of the reply
agree with kdig's for the same query, and the records come out with the
owner names, TTLs and data of the zone file. AXFR of types.zt and of the
10,000-record big.zt gives kdig's record count and every record, and ends
within a second of the last message, not at the server's idle timeout."""
import argparse
import collections
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

import zones
from name_servers import NameServer, kdig

NET = os.environ.get("VEK_TEST_NET", "127.0.53")
HOSTS = {"bind": 60, "knot": 61}
RECORD_START = re.compile(r"\t[^\t\n]*\t-?\d+ \t")


def vek(cli, address, qtype, name):
    start = time.monotonic()
    result = subprocess.run([cli, "-s", address, "-t", qtype, name],
                            stdout=subprocess.PIPE, timeout=60)
    return result.stdout.decode("latin-1"), time.monotonic() - start


def kdig_counts(output):
    match = re.search(r"status: (\w+).*?QUERY: (\d+); ANSWER: (\d+); AUTHORITY: (\d+); "
                      r"ADDITIONAL: (\d+)", output, re.S)
    return match and (match.group(1),) + tuple(int(n) for n in match.groups()[1:])


def vek_counts(report):
    match = re.search(r"result: ([^\n]*)\nContains (\d+) question entries, (\d+) answer "
                      r"entries, (\d+) nameserver records and (\d+) additional records", report)
    return match and (match.group(1),) + tuple(int(n) for n in match.groups()[1:])


RESULTS = {"NOERROR": "succesful.", "FORMERR": "format error.", "SERVFAIL": "server failure.",
           "NXDOMAIN": "name is not found.", "NOTIMP": "not implemented.", "NOTIMPL": "not implemented.",
           "REFUSED": "refused due to policy reasons."}


def records_of(report):
    """The report's record entries, each from its line to the next record."""
    entries = []
    for line in report.splitlines(keepends=True):
        if RECORD_START.match(line):
            entries.append(line)
        elif entries and line.startswith("\t\t"):
            entries[-1] += line
    return entries


class Failures:
    def __init__(self):
        self.items = []

    def check(self, condition, what):
        if not condition:
            self.items.append(what)


def check_query_types(cli, address, records, failures):
    for qtype, name in zones.QUERY_NAMES.items():
        if qtype == "AXFR":
            continue
        report, _ = vek(cli, address, qtype, name)
        theirs = kdig_counts(kdig(address, name, qtype))
        ours = vek_counts(report)
        failures.check(theirs and ours and RESULTS.get(theirs[0]) == ours[0]
                       and theirs[1:] == ours[1:],
                       "%s %s: vek-cli %s, kdig %s" % (qtype, name, ours, theirs))
        found = collections.Counter(records_of(report))
        for owner, ttl, rtype, _, rendering in records:
            if owner == name and rtype == qtype:
                line = zones.report_line(owner, ttl, rendering)
                failures.check(found[line] == 1, "%s %s: no record %r in\n%s" % (qtype, name, line, report))


def check_transfer(cli, address, zone, records, failures):
    report, seconds = vek(cli, address, "AXFR", zone)
    started = time.monotonic()
    theirs = kdig(address, zone, "AXFR")
    kdig_seconds = time.monotonic() - started
    summary = re.search(r"Recieved (\d+) records \((\d+) bytes\) in reply to AXFR request\.", report)
    counted = re.search(r";; Received (\d+) B \((\d+) messages, (\d+) records\)", theirs)
    if not (summary and counted):
        return failures.check(False, "AXFR %s: no summary in\n%s\nkdig:\n%s" % (zone, report[-500:], theirs[-500:]))
    count, total = int(summary.group(1)), int(summary.group(2))
    kdig_bytes, messages, kdig_records = (int(n) for n in counted.groups())
    failures.check(count == kdig_records == len(records) + 1,
                   "AXFR %s: %d records, kdig %d, zone %d + 1" % (zone, count, kdig_records, len(records)))
    failures.check(total == kdig_bytes + 2 * messages,
                   "AXFR %s: %d bytes, kdig %d B in %d messages" % (zone, total, kdig_bytes, messages))
    expected = collections.Counter(zones.report_line(r[0], r[1], r[4]) for r in records)
    expected[zones.report_line(records[0][0], records[0][1], records[0][4])] += 1  # closing SOA
    got = collections.Counter(records_of(report))
    failures.check(got == expected, "AXFR %s: records differ; missing %s, unexpected %s" % (
        zone, list((expected - got).elements())[:5], list((got - expected).elements())[:5]))
    # The server holds the connection for seconds after the last message.
    failures.check(seconds < kdig_seconds + 1, "AXFR %s: %.2f s, kdig %.2f s" % (zone, seconds, kdig_seconds))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("kind", choices=sorted(HOSTS))
    args = parser.parse_args()
    if os.geteuid() != 0:
        print("skipped: a name server on port 53 needs root")
        return 77
    address = "%s.%d" % (NET, HOSTS[args.kind])
    directory = tempfile.mkdtemp(prefix="vek-%s-" % args.kind)
    failures = Failures()
    try:
        with NameServer(args.kind, address, directory):
            types = [r[:5] for r in zones.types_records(args.kind == "knot")]
            check_query_types(args.cli, address, types, failures)
            check_transfer(args.cli, address, zones.TYPES_ZONE, types, failures)
            check_transfer(args.cli, address, zones.BIG_ZONE, zones.big_records(), failures)
    finally:
        shutil.rmtree(directory, ignore_errors=True)
    for failure in failures.items:
        print("FAIL", failure)
    print("%s: %s" % (args.kind, "failed" if failures.items else "ok"))
    return 1 if failures.items else 0


if __name__ == "__main__":
    sys.exit(main())
