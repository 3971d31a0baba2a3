"""Builds DNS messages for the scripted servers, with the two-byte length
prefix of DNS over TCP. Names are written out in labels, or as a pointer
to the question's name (message offset 12) where a record says so."""
import struct

TYPES = {"A": 1, "NS": 2, "CNAME": 5, "SOA": 6, "MX": 15, "TXT": 16, "AXFR": 252, "ANY": 255}
QUESTION_NAME = b"\xc0\x0c"  # pointer to the first question's name


def name(text):
    out = b""
    for label in text.split("."):
        if label:
            out += bytes([len(label)]) + label.encode()
    return out + b"\x00"


def header(flags, questions=0, answers=0, authority=0, additional=0):
    return struct.pack("!HHHHHH", 0, flags, questions, answers, authority, additional)


def question(text, qtype):
    return name(text) + struct.pack("!HH", TYPES[qtype], 1)


def record(owner, rtype, ttl, rdata):
    owner = owner if isinstance(owner, bytes) else name(owner)
    return owner + struct.pack("!HHiH", TYPES[rtype], 1, ttl, len(rdata)) + rdata


def a(owner, ttl, address):
    return record(owner, "A", ttl, bytes(int(part) for part in address.split(".")))


def soa(owner, ttl, serial):
    rdata = name("ns.zt") + name("admin.zt") + struct.pack("!iiiii", serial, 7200, 900, 86400, 300)
    return record(owner, "SOA", ttl, rdata)


def message(flags, questions=(), answers=(), authority=(), additional=()):
    body = header(flags, len(questions), len(answers), len(authority), len(additional))
    for part in (questions, answers, authority, additional):
        body += b"".join(part)
    return struct.pack("!H", len(body)) + body
