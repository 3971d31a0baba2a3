#!/usr/bin/env python3
"""Asks a name server one question over TCP and stores the reply bytes exactly
as they arrive (length prefixes included).

    tcp_query.py SERVER NAME TYPE OUTFILE

TYPE is a number. For AXFR (252) the stream is read until the server has been
quiet for a second, since servers keep the connection open after a transfer;
every other reply is read until its announced length is in. Every wait is
bounded (10 s in all)."""
import socket
import struct
import sys
import time

QUERY_ID = 0x5645
DEADLINE_SECONDS = 10
QUIET_SECONDS = 1.0


def encode_name(name):
    out = b""
    for label in name.rstrip(".").split("."):
        if label:
            out += bytes([len(label)]) + label.encode("ascii")
    return out + b"\x00"


def build_query(name, qtype):
    # id, flags (no recursion), one question, no other records
    header = struct.pack(">HHHHHH", QUERY_ID, 0x0000, 1, 0, 0, 0)
    message = header + encode_name(name) + struct.pack(">HH", qtype, 1)
    return struct.pack(">H", len(message)) + message


def receive(sock, transfer):
    data = b""
    deadline = time.monotonic() + DEADLINE_SECONDS
    while time.monotonic() < deadline:
        sock.settimeout(QUIET_SECONDS if transfer else max(0.1, deadline - time.monotonic()))
        try:
            chunk = sock.recv(65536)
        except socket.timeout:
            break
        if not chunk:
            break
        data += chunk
        if not transfer and len(data) >= 2 and len(data) >= struct.unpack(">H", data[:2])[0] + 2:
            break
    return data


def main():
    server, name, qtype, outfile = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]
    with socket.create_connection((server, 53), timeout=DEADLINE_SECONDS) as sock:
        sock.sendall(build_query(name, qtype))
        data = receive(sock, qtype == 252)
    with open(outfile, "wb") as f:
        f.write(data)
    print(f"{outfile}: {len(data)} bytes")


if __name__ == "__main__":
    main()
