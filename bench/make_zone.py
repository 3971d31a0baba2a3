#!/usr/bin/env python3
"""Writes a zone file of COUNT records of mixed types for the transfer benchmark.

usage: make_zone.py ORIGIN COUNT FILE

The apex holds the SOA and two NS records; the rest cycles through A, NS
(delegations to names outside the zone, so no glue is needed), CNAME, MX,
TXT, PTR and HINFO. Owners sit under a hundred sub-domains so that names
compress well on the wire, as in a real zone.
"""
import sys


# Owner prefix, type and data of each kind, taken in turn.
KINDS = [
    ("h", "A", lambda i, sub, origin: f"10.{i >> 16 & 255}.{i >> 8 & 255}.{i & 255}"),
    ("d", "NS", lambda i, sub, origin: f"ns{i % 5}.provider{i % 13}.example.net."),
    ("c", "CNAME", lambda i, sub, origin: f"h{i - 2}.{sub}.{origin}."),
    ("m", "MX", lambda i, sub, origin: f"{10 * (i % 4)}\tmail{i % 3}.{sub}.{origin}."),
    ("t", "TXT", lambda i, sub, origin: f'"v=text record number {i} for the benchmark"'),
    ("p", "PTR", lambda i, sub, origin: f"h{i - 5}.{sub}.{origin}."),
    ("i", "HINFO", lambda i, sub, origin: f'"AMD64-{i % 9}"\t"Linux"'),
]


def record(i, origin):
    sub = f"s{i % 100}"
    prefix, rtype, data = KINDS[i % len(KINDS)]
    return f"{prefix}{i}.{sub}\t3600\tIN\t{rtype}\t{data(i, sub, origin)}"


def main():
    origin, count, path = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    with open(path, "w") as out:
        out.write(f"$ORIGIN {origin}.\n$TTL 3600\n")
        out.write(f"@\tIN\tSOA\tns1.{origin}. hostmaster.{origin}. 2026120701 7200 900 1209600 300\n")
        out.write("@\tIN\tNS\tns1.example.net.\n@\tIN\tNS\tns2.example.net.\n")
        lines = (record(i, origin) for i in range(count - 3))
        out.write("\n".join(lines))
        out.write("\n")


if __name__ == "__main__":
    main()
