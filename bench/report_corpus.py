#!/usr/bin/env python3
"""Writes a corpus of received byte streams, well-formed and not, for
checking that two builds of vek-cli write byte-identical reports
(bench/same_reports.sh).

usage: report_corpus.py DIR COUNT [SEED]

Each file is what a TCP lookup could receive: messages behind two-byte
length prefixes, with every record type the report knows and some it does
not, names with zero bytes, high bytes, pointers backwards, forwards and in
loops, record data that runs short, and streams cut anywhere.
"""
import os
import random
import struct
import sys

TYPES = list(range(0, 18)) + [28, 99, 252, 253, 254, 255, 256, 65535]


def label(rng):
    length = rng.choice([0, 1, 2, 3, 5, 8, 63]) if rng.random() < 0.1 else rng.randint(1, 9)
    alphabet = b"abcdefghij0123456789-abcdefghij" + bytes([0, 0x2E, 0x20, 0x80, 0xFF, 0x09])
    return bytes(rng.choice(alphabet) for _ in range(length))


def name(rng, here, starts=None):
    """An encoded name written at message offset here, mostly ending in the
    root or in a pointer to an earlier name (starts), now and then in a
    pointer to anywhere or in a reserved label type."""
    out = b""
    for _ in range(rng.choice([0, 1, 2, 3, 4])):
        text = label(rng)
        if not text:
            break
        out += bytes([len(text)]) + text
    roll = rng.random()
    if starts and roll < 0.5:
        target = rng.choice(starts)
    elif roll < 0.55 and here > 12:
        target = rng.randint(12, here + 20)
    elif roll < 0.57:
        return out + bytes([rng.choice([0x40, 0x80, 0xBF]), rng.randint(0, 255)])
    else:
        target = None
    if starts is not None:
        starts.append(here)
    if target is None:
        return out + b"\0"
    return out + struct.pack(">H", 0xC000 | target)


def rdata(rng, rtype, here, starts):
    if rtype in (2, 3, 4, 5, 7, 8, 9, 12):
        return name(rng, here, starts)
    if rtype == 6:
        first = name(rng, here, starts)
        return (first + name(rng, here + len(first), starts)
                + bytes(rng.randint(0, 255) for _ in range(20)))
    if rtype == 14:
        first = name(rng, here, starts)
        return first + name(rng, here + len(first), starts)
    if rtype == 15:
        return struct.pack(">H", rng.randint(0, 65535)) + name(rng, here + 2, starts)
    if rtype in (13, 16):
        out = b""
        for _ in range(rng.randint(0, 3)):
            text = label(rng)
            out += bytes([len(text)]) + text
        return out
    if rtype == 1 and rng.random() < 0.8:
        return bytes(rng.randint(0, 255) for _ in range(4))
    return bytes(rng.randint(0, 255) for _ in range(rng.choice([0, 1, 4, 15, 16, 17, 32, 40])))


def message(rng):
    body = bytearray()
    flags = rng.randint(0, 0xFFFF) if rng.random() < 0.3 else 0x8480
    counts = [rng.choice([0, 0, 1, 2]), rng.randint(0, 6), rng.randint(0, 3), rng.randint(0, 3)]
    body += struct.pack(">HHHHHH", rng.randint(0, 65535), flags, *counts)
    starts = []
    for _ in range(counts[0]):
        body += name(rng, len(body), starts) + struct.pack(">HH", rng.choice(TYPES), rng.randint(0, 6))
    for _ in range(sum(counts[1:])):
        rtype = rng.choice(TYPES)
        body += name(rng, len(body), starts)
        data = rdata(rng, rtype, len(body) + 10, starts)
        length = len(data) if rng.random() < 0.97 else rng.randint(0, len(data) + 5)
        body += struct.pack(">HHiH", rtype, 1, rng.randint(-2**31, 2**31 - 1), length) + data
    if rng.random() < 0.05:
        body += bytes(rng.randint(0, 255) for _ in range(rng.randint(1, 8)))
    return struct.pack(">H", len(body) & 0xFFFF) + bytes(body)


def main():
    directory, count = sys.argv[1], int(sys.argv[2])
    rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 1)
    os.makedirs(directory, exist_ok=True)
    for i in range(count):
        stream = b"".join(message(rng) for _ in range(rng.choice([1, 1, 2, 3, 8])))
        if rng.random() < 0.1:
            stream = stream[:rng.randint(0, len(stream))]
        with open(os.path.join(directory, f"reply{i:05}.bin"), "wb") as f:
            f.write(stream)


if __name__ == "__main__":
    main()
