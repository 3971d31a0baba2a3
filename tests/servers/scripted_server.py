#!/usr/bin/env python3
"""A scripted name server on TCP for the exchange tests.

It listens on one loopback address and port and carries out a script, a JSON
list of actions, one connection after another:

  ["accept"]              wait for the next connection (at most 60 s)
  ["read_query"]          read one length-prefixed message (at most 30 s)
  ["send", "HEX"]         send these bytes
  ["repeat", "HEX", N]    send these bytes N times
  ["trickle", "HEX", S]  send these bytes one at a time, S seconds apart,
                          logging "trickled N" after the Nth
  ["loop", N, [ACTIONS]]  carry out the nested list of actions N times
  ["pause", S]            sleep S seconds
  ["hold", S]             keep the connection open, reading and dropping
                          whatever comes, until the client closes it or S
                          seconds pass
  ["close"]               close the connection (FIN)
  ["reset"]               close it with a reset (RST)

Once it listens it writes its PID into the ready file; it logs what it saw,
one event a line, to the log file, and ends when the script is done or after
--lifetime seconds, whichever comes first. Standard library only.
"""
import argparse
import json
import os
import socket
import struct
import sys
import time


class Script:
    def __init__(self, listener, log):
        self.listener = listener
        self.log = log
        self.conn = None
        self.start = time.monotonic()
        self.deadline = self.start

    def event(self, text):
        self.log.write("%.3f %s\n" % (time.monotonic() - self.start, text))
        self.log.flush()

    def run(self, actions, deadline):
        self.deadline = deadline
        for action in actions:
            if time.monotonic() > deadline:
                self.event("lifetime over")
                return
            getattr(self, "do_" + action[0])(*action[1:])
        self.event("script done")

    def do_accept(self):
        self.listener.settimeout(60)  # a client under Wine may be slow to start
        self.conn, _ = self.listener.accept()
        self.event("accepted")

    def read_exactly(self, count):
        data = b""
        while len(data) < count:
            chunk = self.conn.recv(count - len(data))
            if not chunk:
                break
            data += chunk
        return data

    def do_read_query(self):
        """A client that resets the connection is logged; the script goes
        on, so that the next connection is still served."""
        self.conn.settimeout(30)
        try:
            prefix = self.read_exactly(2)
            length = struct.unpack("!H", prefix)[0] if len(prefix) == 2 else 0
            body = self.read_exactly(length)
        except OSError as error:
            self.event("query not read: %s" % error)
            return
        self.event("query %s" % (prefix + body).hex())

    def do_send(self, data):
        self.send_all(bytes.fromhex(data))

    def do_repeat(self, data, count):
        block = bytes.fromhex(data)
        for _ in range(count):
            if not self.send_all(block):
                break

    def send_all(self, data):
        try:
            self.conn.sendall(data)
            return True
        except OSError as error:
            self.event("send failed: %s" % error.strerror)
            return False

    def do_trickle(self, data, seconds):
        for count, byte in enumerate(bytes.fromhex(data), 1):
            if not self.send_all(bytes([byte])):
                return
            self.event("trickled %d" % count)
            time.sleep(seconds)

    def do_loop(self, count, actions):
        for _ in range(count):
            if time.monotonic() > self.deadline:
                return
            for action in actions:
                getattr(self, "do_" + action[0])(*action[1:])

    def do_pause(self, seconds):
        time.sleep(seconds)

    def do_hold(self, seconds):
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            self.conn.settimeout(max(0.01, end - time.monotonic()))
            try:
                if not self.conn.recv(4096):
                    self.event("closed by client")
                    return
            except socket.timeout:
                break
            except OSError as error:
                self.event("closed by client: %s" % error.strerror)
                return
        self.event("hold over")

    def do_close(self):
        self.conn.close()
        self.event("closed")

    def do_reset(self):
        self.conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
        self.conn.close()
        self.event("reset")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--address", required=True)
    parser.add_argument("--port", type=int, default=53)
    source = parser.add_mutually_exclusive_group(required=True)
    source.add_argument("--script", help="JSON list of actions")
    source.add_argument("--script-file", help="file holding the JSON list of actions")
    parser.add_argument("--ready", required=True, help="file that receives the PID")
    parser.add_argument("--log", required=True)
    parser.add_argument("--lifetime", type=float, default=30)
    args = parser.parse_args()

    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind((args.address, args.port))
    listener.listen(4)
    with open(args.log, "w") as log:
        temporary = args.ready + ".tmp"
        with open(temporary, "w") as ready:
            ready.write("%d\n" % os.getpid())
        os.rename(temporary, args.ready)
        script = Script(listener, log)
        try:
            if args.script_file:
                with open(args.script_file) as text:
                    args.script = text.read()
            script.run(json.loads(args.script), time.monotonic() + args.lifetime)
        except OSError as error:
            script.event("error: %s" % error)
    return 0


if __name__ == "__main__":
    sys.exit(main())
