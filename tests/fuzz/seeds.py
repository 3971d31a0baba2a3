#!/usr/bin/env python3
"""Writes the fuzzer's seed corpus (tests/fuzz/corpus) from the captured
replies in tests/data and a few hand-made edge cases. The first byte of each
seed picks the fuzzer's entry: 0 ordinary reply, 1 zone-transfer stream,
2 a name (two bytes of start position, then the bytes)."""
import pathlib
import struct

HERE = pathlib.Path(__file__).resolve().parent
DATA = HERE.parent / "data"
CORPUS = HERE / "corpus"

ORDINARY, TRANSFER, NAME = b"\x00", b"\x01", b"\x02"


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
