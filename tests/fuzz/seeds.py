#!/usr/bin/env python3
"""Writes the fuzzer's seed corpus (tests/fuzz/corpus) from the captured
replies in tests/data and a few hand-made edge cases. The first byte of each
seed picks the fuzzer's entry: 0 ordinary reply, 1 zone-transfer stream,
2 a name (two bytes of start position, then the bytes), 3 a query (type
index, check boxes, target), 4 vek-cli's arguments (separated by zero
bytes)."""
import pathlib
import struct

HERE = pathlib.Path(__file__).resolve().parent
DATA = HERE.parent / "data"
CORPUS = HERE / "corpus"

ORDINARY, TRANSFER, NAME, QUERY, ARGUMENTS = b"\x00", b"\x01", b"\x02", b"\x03", b"\x04"


def framed(message):
    return struct.pack(">H", len(message)) + message


HEADER = bytes.fromhex("5645 8400 0001 0001 0000 0000")
EDGE_CASES = {
    "short-header": ORDINARY + bytes.fromhex("000b 5645 8180 0001 0001 0000 00"),
    "pointer-loop": ORDINARY + framed(HEADER + bytes.fromhex("c00c 0001 0001")),
    "forward-pointer": ORDINARY + framed(HEADER + bytes.fromhex("c00e 0001 0001 00")),
    "rdlength-beyond": ORDINARY + framed(HEADER + bytes.fromhex("00 0001 0001")
                                          + bytes.fromhex("00 0001 0001 ffffffff ff00 01020304")),
    "counts-beyond": ORDINARY + framed(bytes.fromhex("5645 8400 ffff ffff ffff ffff")),
    "empty-message-in-stream": TRANSFER + framed(HEADER[:5] + b"\x00" + HEADER[6:]) + b"\x00\x00",
    "name-chain": NAME + bytes.fromhex("0009 0000 00c0 00c0 02c0 04c0 06"),
    "name-labels": NAME + bytes.fromhex("0000 0261 6202 6364 0265 6600"),
    "query-name": QUERY + b"\x01\x01" + b"www.example.com.",
    "query-address": QUERY + b"\x0c\x03" + b"10.20.30.40",
    "query-empty-label": QUERY + b"\xff\x00" + b"a..b",
    "query-long-label": QUERY + b"\x11\x01" + b"x" * 300,
    "arguments-lookup": ARGUMENTS + b"-s\x00127.0.0.1\x00-tAXFR\x00-p\x0053\x00zt",
    "arguments-decode": ARGUMENTS + b"--decode\x00file\x00-t\x00mx\x00-d\x00--\x00-x",
}


def main():
    CORPUS.mkdir(exist_ok=True)
    for old in CORPUS.iterdir():
        old.unlink()
    for captured in sorted(DATA.glob("*.bin")):
        entry = TRANSFER if "axfr" in captured.stem else ORDINARY
        (CORPUS / captured.stem).write_bytes(entry + captured.read_bytes())
    for name, seed in EDGE_CASES.items():
        (CORPUS / name).write_bytes(seed)


if __name__ == "__main__":
    main()
