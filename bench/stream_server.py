#!/usr/bin/env python3
"""Serves one recorded zone-transfer stream to one TCP client, then reports
when the client let go of the connection.

usage: stream_server.py ADDR PORT STREAM_FILE [LIMIT_SECONDS]

Reads the client's query (length prefix and message), sends the whole
stream file, and waits for the client to close its end: a client that
stops at the closing SOA closes as soon as it has read the last byte, so
that moment is when the last byte was received. Prints "ready" once
listening, then "sent T" and "closed T" (Unix time, seconds). Every wait
is bounded by LIMIT_SECONDS (default 120).
"""
import socket
import sys
import time


def read_exact(conn, count):
    data = b""
    while len(data) < count:
        chunk = conn.recv(count - len(data))
        if not chunk:
            break
        data += chunk
    return data


def main():
    addr, port, path = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    limit = float(sys.argv[4]) if len(sys.argv) > 4 else 120.0
    with open(path, "rb") as f:
        stream = f.read()
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind((addr, port))
    listener.listen(1)
    listener.settimeout(limit)
    print("ready", flush=True)
    conn, _ = listener.accept()
    conn.settimeout(limit)
    prefix = read_exact(conn, 2)
    if len(prefix) == 2:
        read_exact(conn, prefix[0] << 8 | prefix[1])
    conn.sendall(stream)
    print(f"sent {time.time():.6f}", flush=True)
    try:
        while conn.recv(4096):
            pass
    except OSError:
        pass
    print(f"closed {time.time():.6f}", flush=True)
    conn.close()
    listener.close()


if __name__ == "__main__":
    main()
