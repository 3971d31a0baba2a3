#!/usr/bin/env python3
"""A DNS-over-TCP server that answers one query with only the first part of
its reply and then goes silent, so that the client waits until interrupted.

Usage: stalling_server.py ADDRESS PORT STATE_DIR
Writes STATE_DIR/ready once listening and STATE_DIR/sent once the partial
reply is out. Ends by itself after 30 seconds at the latest.
"""
import os
import socket
import struct
import sys
import time

LIFETIME = 30.0


def partial_reply(query_id):
    # Header of a reply announcing 1 question and 1 answer, followed by the
    # question only; the length prefix claims 200 bytes, far more than sent.
    header = struct.pack(">HHHHHH", query_id, 0x8180, 1, 1, 0, 0)
    question = b"\x02ab\x01c\x00" + struct.pack(">HH", 1, 1)
    message = header + question
    return struct.pack(">H", 200) + message


def touch(directory, name):
    with open(os.path.join(directory, name), "w") as f:
        f.write("1")


def main():
    address, port, state = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    deadline = time.monotonic() + LIFETIME
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind((address, port))
    listener.listen(1)
    listener.settimeout(LIFETIME)
    touch(state, "ready")
    try:
        conn, _ = listener.accept()
    except socket.timeout:
        return
    conn.settimeout(LIFETIME)
    query = conn.recv(1000)
    query_id = struct.unpack(">H", query[2:4])[0] if len(query) >= 4 else 0
    conn.sendall(partial_reply(query_id))
    touch(state, "sent")
    # Stay silent, but notice the client closing the connection.
    while time.monotonic() < deadline:
        conn.settimeout(max(0.1, deadline - time.monotonic()))
        try:
            if not conn.recv(512):
                break
        except (socket.timeout, ConnectionError):
            break
    conn.close()
    listener.close()


if __name__ == "__main__":
    main()
