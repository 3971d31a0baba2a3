#!/usr/bin/env python3
"""Writes a zone file of COUNT records of mixed types for the transfer benchmark.

usage: make_zone.py ORIGIN COUNT FILE

The apex holds the SOA and two NS records; the rest cycles through A, NS
(delegations to names outside the zone, so no glue is needed), CNAME, MX,
TXT, PTR and HINFO. Owners sit under a hundred sub-domains so that names
compress well on the wire, as in a real zone.
"""
import sys


def record(i, origin):
    sub = f"s{i % 100}"
    kind = i % 7
    if kind == 0:
        return f"h{i}.{sub}\t3600\tIN\tA\t10.{i >> 16 & 255}.{i >> 8 & 255}.{i & 255}"
    if kind == 1:
        return f"d{i}.{sub}\t3600\tIN\tNS\tns{i % 5}.provider{i % 13}.example.net."
    if kind == 2:
        return f"c{i}.{sub}\t3600\tIN\tCNAME\th{i - 2}.{sub}.{origin}."
    if kind == 3:
        return f"m{i}.{sub}\t3600\tIN\tMX\t{10 * (i % 4)}\tmail{i % 3}.{sub}.{origin}."
    if kind == 4:
        return f"t{i}.{sub}\t3600\tIN\tTXT\t\"v=text record number {i} for the benchmark\""
    if kind == 5:
        return f"p{i}.{sub}\t3600\tIN\tPTR\th{i - 5}.{sub}.{origin}."
    return f"i{i}.{sub}\t3600\tIN\tHINFO\t\"AMD64-{i % 9}\"\t\"Linux\""


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
