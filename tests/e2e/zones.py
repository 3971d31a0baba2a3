"""The zones the real name servers serve, with the report line that each
record must give.

types.zt holds records of all 16 named types (MD and MF only for servers
whose zone parser takes them); big.zt holds 10,000 records."""

TYPES_ZONE = "types.zt"
BIG_ZONE = "big.zt"
SOA_DATA = "ns1.types.zt. hostmaster.types.zt. 2024010101 7200 900 1209600 300"
SOA_LINE = ("\tSOA\tns1.types.zt\n\t\t\temail:\thostmaster.types.zt\n\t\t\tserial:\t2024010101\n"
            "\t\t\trefresh:\t7200\n\t\t\tretry:\t900\n\t\t\texpire\t1209600\n\t\t\tminimum\t300\n")

# A name in wire form, for the generic syntax of types that a zone parser
# does not know (Knot DNS: MB, MG, MR; BIND takes the generic form of these).
def wire_name(text):
    out = b""
    for label in text.strip(".").split("."):
        out += bytes([len(label)]) + label.encode()
    return out + b"\x00"


def generic(code, data):
    return "TYPE%d \\# %d %s" % (code, len(data), data.hex())


# (owner, TTL, type, zone-file data, the report's rendering after the TTL),
# and whether every server takes it.
TYPES_RECORDS = [
    ("types.zt", 3600, "SOA", SOA_DATA, SOA_LINE, True),
    ("types.zt", 3600, "NS", "ns1.types.zt.", "\tNS\tns1.types.zt\n", True),
    ("ns1.types.zt", 3600, "A", "192.0.2.1", "\tA\t192.0.2.1\n", True),
    ("host.types.zt", 60, "A", "192.0.2.10", "\tA\t192.0.2.10\n", True),
    ("host.types.zt", 60, "A", "192.0.2.11", "\tA\t192.0.2.11\n", True),
    ("md.types.zt", 3600, "MD", generic(3, wire_name("mail.types.zt")), "\tMD\tmail.types.zt\n", False),
    ("mf.types.zt", 3600, "MF", generic(4, wire_name("mail.types.zt")), "\tMF\tmail.types.zt\n", False),
    ("alias.types.zt", 7200, "CNAME", "host.types.zt.", "\tCNAME\thost.types.zt\n", True),
    ("box.types.zt", 3600, "MB", generic(7, wire_name("mail.types.zt")), "\tMB\tmail.types.zt\n", True),
    ("grp.types.zt", 3600, "MG", generic(8, wire_name("user.types.zt")), "\tMG\tuser.types.zt\n", True),
    ("ren.types.zt", 3600, "MR", generic(9, wire_name("box.types.zt")), "\tMR\tbox.types.zt\n", True),
    ("nul.types.zt", 3600, "NULL", generic(10, bytes.fromhex("deadbeef")),
     "\tNULL\n\t\tde ad be ef \n", True),
    # 192.0.2.10, TCP, ports 25 and 80 in the bitmap
    ("svc.types.zt", 3600, "WKS", generic(11, bytes.fromhex("c000020a06") + bytes(3) + b"\x40" + bytes(6) + b"\x80"),
     "\tWKS\t unparsed\n", True),
    ("ptr.types.zt", 3600, "PTR", "host.types.zt.", "\tPTR\thost.types.zt\n", True),
    ("host.types.zt", 86400, "HINFO", '"PC-Intel-700mhz" "NetBSD 1.4"',
     "\tHINFO\tCPU:PC-Intel-700mhz  OS:NetBSD 1.4\n", True),
    ("list.types.zt", 3600, "MINFO", "owner.types.zt. errors.types.zt.",
     "\tMINFO\tRMAILBX: owner.types.zt EMAILBX: errors.types.zt\n", True),
    ("types.zt", 3600, "MX", "10 mail.types.zt.", "\tMX  10\tmail.types.zt\n", True),
    ("mail.types.zt", 3600, "A", "192.0.2.25", "\tA\t192.0.2.25\n", True),
    ("types.zt", 300, "TXT", '"hello world" "second string"', "\tTXT\thello world\n", True),
]

# The name that each query type asks within types.zt.
QUERY_NAMES = {
    "ANY": "host.types.zt", "A": "host.types.zt", "NS": "types.zt", "MD": "md.types.zt",
    "MF": "mf.types.zt", "CNAME": "alias.types.zt", "SOA": "types.zt", "MB": "box.types.zt",
    "MG": "grp.types.zt", "MR": "ren.types.zt", "NULL": "nul.types.zt", "WKS": "svc.types.zt",
    "PTR": "ptr.types.zt", "HINFO": "host.types.zt", "MINFO": "list.types.zt", "MX": "types.zt",
    "TXT": "types.zt", "AXFR": "types.zt", "MAILB": "box.types.zt", "MAILA": "types.zt",
}
# Type codes, for kdig's generic type syntax.
TYPE_CODES = {"ANY": 255, "A": 1, "NS": 2, "MD": 3, "MF": 4, "CNAME": 5, "SOA": 6, "MB": 7,
              "MG": 8, "MR": 9, "NULL": 10, "WKS": 11, "PTR": 12, "HINFO": 13, "MINFO": 14,
              "MX": 15, "TXT": 16, "AXFR": 252, "MAILB": 253, "MAILA": 254}


def types_records(all_types):
    return [r for r in TYPES_RECORDS if all_types or r[5]]


def report_line(owner, ttl, rendering):
    return "\t%s\t%d %s" % (owner, ttl, rendering)


def big_records():
    """The 10,000 records of big.zt: SOA, NS and 9,998 addresses and texts."""
    records = [("big.zt", 3600, "SOA", SOA_DATA, SOA_LINE),
               ("big.zt", 3600, "NS", "ns1.types.zt.", "\tNS\tns1.types.zt\n")]
    for i in range(9998):
        owner = "h%d.big.zt" % i
        ttl = 60 + (i % 7) * 100
        if i % 5 == 4:
            text = "record %d of the big zone" % i
            records.append((owner, ttl, "TXT", '"%s"' % text, "\tTXT\t%s\n" % text))
        else:
            address = "10.%d.%d.%d" % (i >> 16, (i >> 8) & 255, i & 255)
            records.append((owner, ttl, "A", address, "\tA\t%s\n" % address))
    return records


def zone_file(records):
    """Records in generic syntax carry their type in the data."""
    return "".join("%s. %d IN %s\n" % (r[0], r[1], r[3] if r[3].startswith("TYPE")
                                        else "%s %s" % (r[2], r[3])) for r in records)
